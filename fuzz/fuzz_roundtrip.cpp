// Whatever the reader accepts, the writer must write and the reader read back as the same
// scene. Points shared between pairs are recoloured in reading order, so for those only the
// pairs and positions must survive; otherwise colours and the written bytes must be stable too.
#include "model/KeyedArchiver.h"
#include "model/KeyedUnarchiver.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace {

bool same(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool samePoint(const GLPointWithColor& a, const GLPointWithColor& b, bool colours) {
    if (!same(a.x(), b.x()) || !same(a.y(), b.y()) || !same(a.z(), b.z()))
        return false;
    if (!colours)
        return true;
    return same(a.red(), b.red()) && same(a.green(), b.green()) && same(a.blue(), b.blue()) &&
           same(a.alpha(), b.alpha()) && a.color() == b.color();
}

bool sharesPoints(const PointPairs& pairs) {
    std::set<const GLPointPair*> seenPairs;
    std::set<const GLPointWithColor*> seenPoints;
    for (const auto& pair : pairs) {
        if (!seenPairs.insert(pair.get()).second)
            continue;
        if (!seenPoints.insert(pair->point1().get()).second ||
            !seenPoints.insert(pair->point2().get()).second)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Result<PointPairArray> read = KeyedUnarchiver::unarchiveObjectWithData(bytes);
    if (!read)
        return 0;
    const PointPairs& first = **read;
    const QByteArray written = KeyedArchiver::archivedDataWithRootObject(first);
    const Result<PointPairArray> readAgain = KeyedUnarchiver::unarchiveObjectWithData(written);
    if (!readAgain || (*readAgain)->size() != first.size())
        std::abort();
    const PointPairs& second = **readAgain;
    const bool colours = !sharesPoints(first);
    for (std::size_t i = 0; i < first.size(); ++i) {
        const GLPointPair& a = *first[i];
        const GLPointPair& b = *second[i];
        if (!samePoint(*a.point1(), *b.point1(), colours) ||
            !samePoint(*a.point2(), *b.point2(), colours))
            std::abort();
    }
    if (colours && KeyedArchiver::archivedDataWithRootObject(second) != written)
        std::abort();
    return 0;
}
