#include "support/ScriptedRandom.h"

#include <gtest/gtest.h>

#include <map>

TEST(Random, EndsOfTheUnitRangeAreExact) {
    ScriptedRandom source({0, kRandomMax, 1073741823});
    EXPECT_EQ(randomDoubleBetweenZeroOne(), 0.0);
    EXPECT_EQ(randomDoubleBetweenZeroOne(), 1.0);
    EXPECT_EQ(randomDoubleBetweenZeroOne(), 1073741823 / 2147483647.0);
    EXPECT_EQ(ScriptedRandom::draws(), 3u);
}

TEST(Random, RangeEndsAreExactInEitherOrder) {
    ScriptedRandom source({0, kRandomMax, 0, kRandomMax});
    EXPECT_EQ(randomDoubleBetween(-800.0, 800.0), -800.0);
    EXPECT_EQ(randomDoubleBetween(-800.0, 800.0), 800.0);
    // Reversed ends: the result still lies between them.
    EXPECT_EQ(randomDoubleBetween(1.0, -1.0), 1.0);
    EXPECT_EQ(randomDoubleBetween(1.0, -1.0), -1.0);
}

TEST(Random, EqualEndsStillTakeOneDraw) {
    ScriptedRandom source({12345, 67890});
    EXPECT_EQ(randomDoubleBetween(7.5, 7.5), 7.5);
    EXPECT_EQ(ScriptedRandom::draws(), 1u);
}

TEST(Random, IntegersTruncateTowardZero) {
    // 10..50: the upper end only for the largest draw.
    {
        ScriptedRandom source({0, kRandomMax - 1, kRandomMax});
        EXPECT_EQ(randomIntBetweeen(10, 50), 10);
        EXPECT_EQ(randomIntBetweeen(10, 50), 49);
        EXPECT_EQ(randomIntBetweeen(10, 50), 50);
    }
    // -3..3 crosses zero: everything strictly between -1 and 1 becomes 0.
    auto drawFor = [](double fraction) { return static_cast<long>(fraction * 2147483647.0); };
    {
        ScriptedRandom source(
            {0, drawFor(0.2), drawFor(0.45), drawFor(0.55), drawFor(0.8), kRandomMax});
        EXPECT_EQ(randomIntBetweeen(-3, 3), -3);
        EXPECT_EQ(randomIntBetweeen(-3, 3), -1); // -1.8
        EXPECT_EQ(randomIntBetweeen(-3, 3), 0);  // -0.3, not floored to -1
        EXPECT_EQ(randomIntBetweeen(-3, 3), 0);  // 0.3
        EXPECT_EQ(randomIntBetweeen(-3, 3), 1);  // 1.8, not rounded to 2
        EXPECT_EQ(randomIntBetweeen(-3, 3), 3);
    }
}

TEST(Random, ZeroIsTwiceAsLikelyAsItsNeighboursAcrossZero) {
    std::map<int, int> counts;
    const int steps = 60000;
    for (int i = 0; i < steps; ++i) {
        ScriptedRandom source(
            {static_cast<long>((static_cast<double>(i) + 0.5) / steps * 2147483647.0)});
        ++counts[randomIntBetweeen(-3, 3)];
    }
    EXPECT_EQ(counts[-3], 0);
    EXPECT_EQ(counts[3], 0);
    EXPECT_NEAR(counts[0], 2 * counts[1], steps / 1000);
    EXPECT_NEAR(counts[1], counts[-1], steps / 1000);
    EXPECT_NEAR(counts[2], counts[-2], steps / 1000);
}

TEST(Random, SeedFixesTheSequence) {
    seedRandom(42);
    const double a = randomDoubleBetweenZeroOne();
    const int b = randomIntBetweeen(10, 50);
    seedRandom(42);
    EXPECT_EQ(randomDoubleBetweenZeroOne(), a);
    EXPECT_EQ(randomIntBetweeen(10, 50), b);
}
