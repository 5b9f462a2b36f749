// Feeds arbitrary bytes to the scene-file reader. Every input must come back as exactly one of
// a scene or a reason, without crashing, hanging or growing memory out of proportion.
#include "model/KeyedUnarchiver.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Result<PointPairArray> result = KeyedUnarchiver::unarchiveObjectWithData(bytes);
    if (result ? !*result : result.reason().isEmpty())
        std::abort();
    if (result) {
        for (const auto& pair : **result) {
            if (!pair || !pair->point1() || !pair->point2())
                std::abort();
        }
    }
    return 0;
}
