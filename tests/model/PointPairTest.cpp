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
    const auto red = pointOf(1, 0, 0);
    const auto kept = pointOf(0.2, 0.4, 0.6, 0.8);
    GLPointPair pair(red, kept);
    expectComponents(*red, 1, 0, 0, 1);
    // The very object the caller kept was recoloured to cyan.
    expectComponents(*kept, 0, 1, 1, 1);
    EXPECT_EQ(pair.point2(), kept);
}

TEST(PointPair, ComplementOfHueOneHalfIsRed) {
    GLPointPair pair(pointOf(0, 1, 1), pointOf(0, 0, 0));
    expectComponents(*pair.point2(), 1, 0, 0, 1);
}

TEST(PointPair, GreysAndBlackAreTheirOwnComplement) {
    GLPointPair grey(pointOf(0.5, 0.5, 0.5), pointOf(1, 0, 0));
    expectComponents(*grey.point2(), 0.5, 0.5, 0.5, 1);
    GLPointPair black(pointOf(0, 0, 0), pointOf(1, 1, 1));
    expectComponents(*black.point2(), 0, 0, 0, 1);
}

TEST(PointPair, ComplementCarriesAlphaAsAFloat) {
    GLPointPair pair(pointOf(1, 0, 0, 0.3), pointOf(0, 0, 0));
    EXPECT_EQ(pair.point2()->alpha(), 0.30000001192092896);
    EXPECT_EQ(pair.point1()->alpha(), 0.3);
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
    // Sixteen distinct raw values; draw i is (i + 1) * step.
    const long step = kRandomMax / 17;
    std::vector<long> script;
    for (long i = 1; i <= 16; ++i)
        script.push_back(i * step);
    ScriptedRandom source(script);
    auto unit = [&](int draw) { return (draw * step) / 2147483647.0; };
    auto between = [&](int draw, double lower, double upper) {
        return lower + (upper - lower) * unit(draw);
    };

    const auto pair = GLPointPair::randomPointPair();
    EXPECT_EQ(ScriptedRandom::draws(), 16u);

    const GLPointWithColor& first = *pair->point1();
    EXPECT_EQ(first.alpha(), unit(1));
    EXPECT_EQ(first.blue(), unit(2));
    EXPECT_EQ(first.green(), unit(3));
    EXPECT_EQ(first.red(), unit(4));
    EXPECT_EQ(first.z(), between(5, -800, 800));
    EXPECT_EQ(first.y(), between(6, -800, 800));
    EXPECT_EQ(first.x(), between(7, -800, 800));
    double dx, dy, dz;
    first.getDx(&dx, &dy, &dz);
    EXPECT_EQ(dz, between(8, -1, 1));
    EXPECT_EQ(dy, between(9, -1, 1));
    EXPECT_EQ(dx, between(10, -1, 1));

    const GLPointWithColor& second = *pair->point2();
    EXPECT_EQ(second.z(), between(11, -800, 800));
    EXPECT_EQ(second.y(), between(12, -800, 800));
    EXPECT_EQ(second.x(), between(13, -800, 800));
    second.getDx(&dx, &dy, &dz);
    EXPECT_EQ(dz, between(14, -1, 1));
    EXPECT_EQ(dy, between(15, -1, 1));
    EXPECT_EQ(dx, between(16, -1, 1));

    // The second end is the complement of the first, held as floats.
    const Color complement = GLPointPair::complementaryColorForColor(first.color());
    EXPECT_EQ(second.color(), complement);
    EXPECT_EQ(second.alpha(), static_cast<double>(static_cast<float>(unit(1))));
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
