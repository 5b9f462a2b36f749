#pragma once

#include <cstdint>

// The timing of a recording, in whole numbers so that no length drifts. The animation steps
// on a tick of exactly 16 ms (62.5 ticks a second), and a recording takes one frame every
// N ticks, so its frame rate is exactly 125 / (2N) a second.
inline constexpr int tickMilliseconds = 16;
// The longest frame period: one frame an hour. It keeps the sums below well inside 64 bits.
inline constexpr int maximumTicksPerFrame = 225000;

// N for a frame rate: the whole number of ticks nearest to its period, from 1 to the most.
int ticksPerFrame(double framesPerSecond);
// The number of frames that lasts that long, to within one frame, and at least one.
int frameCount(double seconds, int ticksPerFrame);

// For formats that time their frames in whole units (unitsPerSecond: 100 for GIF, 1000 for
// WebP): when frame k (from 0) starts, rounded down from the exact time, so that the running
// total never strays a whole unit from it.
std::int64_t frameStart(int frame, int ticksPerFrame, int unitsPerSecond);
// How long frame k is shown: the next frame's start less its own.
int frameDuration(int frame, int ticksPerFrame, int unitsPerSecond);
