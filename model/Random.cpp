#include "Random.h"

#include <cstdlib>

namespace {

constexpr double randomDivisor = 2147483647.0;

long libraryRandom() {
    return ::random();
}

RandomSource currentSource = &libraryRandom;

} // namespace

double randomDoubleBetweenZeroOne() {
    return static_cast<double>(currentSource()) / randomDivisor;
}

double randomDoubleBetween(double lower, double upper) {
    const double u = static_cast<double>(currentSource()) / randomDivisor;
    const double difference = upper - lower;
    const double scaled = difference * u;
    return lower + scaled;
}

int32_t randomIntBetweeen(int32_t lower, int32_t upper) {
    return static_cast<int32_t>(
        randomDoubleBetween(static_cast<double>(lower), static_cast<double>(upper)));
}

void seedRandom(uint32_t seed) {
    ::srandom(seed);
}

RandomSource setRandomSource(RandomSource source) {
    const RandomSource previous = currentSource;
    currentSource = source ? source : &libraryRandom;
    return previous;
}
