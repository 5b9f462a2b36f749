// Feeds arbitrary bytes to the scene-file reader. Every input must come back as exactly one of
// a scene or a reason, without crashing, hanging or growing memory out of proportion.
#include "model/KeyedUnarchiver.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const UnarchiveResult result = KeyedUnarchiver::unarchiveObjectWithData(bytes);
    if (!result.rootObject == result.error.isEmpty())
        std::abort();
    if (result.rootObject) {
        for (const auto& pair : *result.rootObject) {
            if (!pair || !pair->point1() || !pair->point2())
                std::abort();
        }
    }
    return 0;
}
