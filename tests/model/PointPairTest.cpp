#include "model/GLPointPair.h"
#include "support/ScriptedRandom.h"

#include <gtest/gtest.h>

namespace {

void expectComponents(const GLPointWithColor& point, double red, double green, double blue,
                      double alpha) {
    EXPECT_EQ(point.red(), red);
    EXPECT_EQ(point.green(), green);
    EXPECT_EQ(point.blue(), blue);
    EXPECT_EQ(point.alpha(), alpha);
}

// Hue arithmetic in floats lands within a few float steps of the exact wheel position.
void expectNearComponents(const GLPointWithColor& point, double red, double green, double blue) {
    EXPECT_NEAR(point.red(), red, 1e-6);
    EXPECT_NEAR(point.green(), green, 1e-6);
    EXPECT_NEAR(point.blue(), blue, 1e-6);
}

std::shared_ptr<GLPointWithColor> pointOf(double red, double green, double blue, double alpha = 1) {
    return GLPointWithColor::pointWithX(0, 0, 0, red, green, blue, alpha);
}

} // namespace

TEST(PointPair, SecondEndTakesTheComplementOfTheFirst) {
    // Complements worked out in the hexcone model: turning the hue half way round maps each of
    // red, green and blue to max + min - itself, and a grey (saturation 0) to itself. The first
    // end keeps its colour; the second end's own colour is discarded; alpha passes as a float.
    struct Case {
        const char* name;
        double first[4];
        double second[4];
        double tolerance; // hue arithmetic in floats lands within a few float steps
    } cases[] = {
        {"red gives cyan", {1, 0, 0, 1}, {0, 1, 1, 1}, 0},
        {"hue one half gives hue one, red", {0, 1, 1, 1}, {1, 0, 0, 1}, 0},
        {"grey is its own complement", {0.5, 0.5, 0.5, 1}, {0.5, 0.5, 0.5, 1}, 0},
        {"black is its own complement", {0, 0, 0, 1}, {0, 0, 0, 1}, 0},
        {"alpha is held as a float", {1, 0, 0, 0.3}, {0, 1, 1, double(0.3f)}, 0},
        {"any other hue", {0.2, 0.4, 0.6, 0.8}, {0.6, 0.4, 0.2, double(0.8f)}, 1e-6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto first = pointOf(c.first[0], c.first[1], c.first[2], c.first[3]);
        const auto kept = pointOf(0.9, 0.1, 0.5, 0.25);
        GLPointPair pair(first, kept);
        expectComponents(*first, c.first[0], c.first[1], c.first[2], c.first[3]);
        // The very object the caller kept is recoloured.
        EXPECT_EQ(pair.point2(), kept);
        EXPECT_NEAR(kept->red(), c.second[0], c.tolerance);
        EXPECT_NEAR(kept->green(), c.second[1], c.tolerance);
        EXPECT_NEAR(kept->blue(), c.second[2], c.tolerance);
        EXPECT_EQ(kept->alpha(), c.second[3]);
    }
}

TEST(PointPair, TheEndSetLastKeepsItsColour) {
    GLPointPair pair(pointOf(1, 0, 0), pointOf(0, 0, 0));

    const auto blue = pointOf(0, 0, 1);
    pair.setPoint2(blue);
    expectComponents(*blue, 0, 0, 1, 1);
    expectNearComponents(*pair.point1(), 1, 1, 0); // yellow

    const auto green = pointOf(0, 1, 0);
    pair.setPoint1(green);
    expectComponents(*green, 0, 1, 0, 1);
    expectNearComponents(*blue, 1, 0, 1); // magenta, the same object as before

    // Setting the point already held is safe.
    pair.setPoint1(pair.point1());
    expectComponents(*pair.point1(), 0, 1, 0, 1);
}

TEST(PointPair, HalfBuiltPairRecoloursNothing) {
    GLPointPair pair;
    const auto lone = pointOf(0.1, 0.2, 0.3);
    pair.setPoint2(lone);
    expectComponents(*lone, 0.1, 0.2, 0.3, 1);
    pair.setPoint1(nullptr);
    expectComponents(*lone, 0.1, 0.2, 0.3, 1);
    pair.render();
    pair.animate();
}

TEST(PointPair, RandomPairPutsEachDrawInItsPlace) {
    // Draw i (counted from 1) yields i * 126322567, so that every draw lands on a value of its
    // own: i * 126322567 / 2147483647 in the unit range, and lower + (upper - lower) times that
    // in another. The expected values are worked out beforehand.
    std::vector<long> script;
    for (long i = 1; i <= 16; ++i)
        script.push_back(i * 126322567);
    ScriptedRandom source(script);
    const auto pair = GLPointPair::randomPointPair();
    EXPECT_EQ(ScriptedRandom::draws(), 16u);

    const GLPointWithColor& first = *pair->point1();
    const GLPointWithColor& second = *pair->point2();
    double firstVelocity[3], secondVelocity[3];
    first.getDx(&firstVelocity[0], &firstVelocity[1], &firstVelocity[2]);
    second.getDx(&secondVelocity[0], &secondVelocity[1], &secondVelocity[2]);
    const struct {
        const char* draw;
        double value;
        double expected;
    } draws[] = {
        {"1, first alpha", first.alpha(), 0.05882352919262998},
        {"2, first blue", first.blue(), 0.11764705838525996},
        {"3, first green", first.green(), 0.17647058757788994},
        {"4, first red", first.red(), 0.23529411677051992},
        {"5, first z", first.z(), -329.41176645896013},
        {"6, first y", first.y(), -235.2941197507522},
        {"7, first x", first.x(), -141.17647304254422},
        {"8, first dz", firstVelocity[2], -0.05882353291792031},
        {"9, first dy", firstVelocity[1], 0.05882352546733971},
        {"10, first dx", firstVelocity[0], 0.17647058385259973},
        {"11, second z", second.z(), 235.2941137902876},
        {"12, second y", second.y(), 329.4117604984956},
        {"13, second x", second.x(), 423.5294072067036},
        {"14, second dz", secondVelocity[2], 0.6470588173936396},
        {"15, second dy", secondVelocity[1], 0.7647058757788994},
        {"16, second dx", secondVelocity[0], 0.8823529341641594},
    };
    for (const auto& d : draws)
        EXPECT_EQ(d.value, d.expected) << "draw " << d.draw;

    // The second end is the complement of the first: red and blue trade places around green.
    EXPECT_NEAR(second.red(), 0.11764705838525996, 1e-6);
    EXPECT_NEAR(second.green(), 0.17647058757788994, 1e-6);
    EXPECT_NEAR(second.blue(), 0.23529411677051992, 1e-6);
    EXPECT_EQ(second.alpha(), double(float(0.05882352919262998)));
}

TEST(PointPair, RandomPairsStayInsideTheCube) {
    seedRandom(7);
    for (int i = 0; i < 2000; ++i) {
        const auto pair = GLPointPair::randomPointPair();
        for (const auto& point : {pair->point1(), pair->point2()}) {
            for (double c : {point->x(), point->y(), point->z()}) {
                EXPECT_GE(c, -800.0);
                EXPECT_LE(c, 800.0);
            }
            for (double c : {point->red(), point->green(), point->blue(), point->alpha()}) {
                EXPECT_GE(c, 0.0);
                EXPECT_LE(c, 1.0);
            }
            double v[3];
            point->getDx(&v[0], &v[1], &v[2]);
            for (double c : v) {
                EXPECT_GE(c, -1.0);
                EXPECT_LE(c, 1.0);
            }
        }
    }
}
