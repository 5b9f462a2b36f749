#include "animation/AnimationTiming.h"

#include <gtest/gtest.h>

TEST(AnimationTiming, TicksPerFrameIsTheNearestPeriod) {
    struct Case {
        double framesPerSecond;
        int ticks;
    } cases[] = {
        {62.5, 1}, {100, 1}, {31.25, 2},
        {30, 2},   {25, 3},  {24, 3},
        {12, 5},   {1, 63},  {0, maximumTicksPerFrame},
        {-5, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ticksPerFrame(c.framesPerSecond), c.ticks) << c.framesPerSecond;
}

TEST(AnimationTiming, FrameCountLastsTheLength) {
    struct Case {
        double seconds;
        int ticks;
        int frames;
    } cases[] = {
        {10, 2, 313}, {10, 1, 625}, {1, 3, 21}, {60, 2, 1875}, {0, 2, 1}, {0.001, 5, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(frameCount(c.seconds, c.ticks), c.frames) << c.seconds << " s, N=" << c.ticks;
}

TEST(AnimationTiming, WholeUnitsNeverDriftFromTheExactTime) {
    struct Case {
        int frame;
        int ticks;
        int unitsPerSecond;
        std::int64_t start;
        int duration;
    } cases[] = {
        // GIF's hundredths at N=2: 3.2 a frame.
        {0, 2, 100, 0, 3},
        {3, 2, 100, 9, 3},
        {4, 2, 100, 12, 4},
        {9, 2, 100, 28, 4},
        // At N=1 (1.6 a frame) the shorter frames alternate.
        {0, 1, 100, 0, 1},
        {1, 1, 100, 1, 2},
        {4, 1, 100, 6, 2},
        // WebP's milliseconds are exact.
        {7, 3, 1000, 336, 48},
        // Far into a long clip, still exact.
        {1000000, 2, 100, 3200000, 3},
        {2147483646, maximumTicksPerFrame, 1000, 7730941125600000, 3600000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frameStart(c.frame, c.ticks, c.unitsPerSecond), c.start) << c.frame;
        EXPECT_EQ(frameDuration(c.frame, c.ticks, c.unitsPerSecond), c.duration) << c.frame;
    }
}
