#include "animation/AnimationTiming.h"

#include <cmath>
#include <limits>

namespace {

std::int64_t startOf(std::int64_t frame, int ticksPerFrame, int unitsPerSecond) {
    // A tick is 2/125 of a second.
    return frame * ticksPerFrame * 2 * unitsPerSecond / 125;
}

// The nearest whole number, from `least` to `most`; NaN counts as `least`.
int roundedWithin(double value, int least, int most) {
    const double rounded = std::round(value);
    if (!(rounded > least))
        return least;
    return rounded < most ? static_cast<int>(rounded) : most;
}

} // namespace

int ticksPerFrame(double framesPerSecond) {
    return roundedWithin(62.5 / framesPerSecond, 1, maximumTicksPerFrame);
}

int frameCount(double seconds, int ticksPerFrame) {
    return roundedWithin(seconds * 125.0 / (2.0 * ticksPerFrame), 1,
                         std::numeric_limits<int>::max());
}

std::int64_t frameStart(int frame, int ticksPerFrame, int unitsPerSecond) {
    return startOf(frame, ticksPerFrame, unitsPerSecond);
}

int frameDuration(int frame, int ticksPerFrame, int unitsPerSecond) {
    return static_cast<int>(startOf(std::int64_t{frame} + 1, ticksPerFrame, unitsPerSecond) -
                            startOf(frame, ticksPerFrame, unitsPerSecond));
}
