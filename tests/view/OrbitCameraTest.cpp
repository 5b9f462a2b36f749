#include "view/OrbitCamera.h"
#include "support/ScriptedRandom.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double eps = 1e-12;

// A camera as creation leaves it but with every angle, offset and step chosen by the test.
OrbitCamera stillCamera() {
    OrbitCamera c;
    c.pi = std::acos(-1.0);
    c.pi2 = c.pi + c.pi;
    c.basedist = 20;
    c.maxrt = 4;
    c.maxup = 3;
    return c;
}

void expectVector(double x, double y, double z, double ex, double ey, double ez) {
    EXPECT_NEAR(x, ex, eps);
    EXPECT_NEAR(y, ey, eps);
    EXPECT_NEAR(z, ez, eps);
}

} // namespace

TEST(OrbitCameraCreation, TakesThirteenDrawsInOrderAndSetsTheFixedValues) {
    // Angles pi, pi/2, 2pi; dup then drt at both ends of their range; coins: negate dup (just
    // above one half), keep drt (just below one half); steps 0.007, 0.012, and
    // the middle; coins: keep x, negate y, negate z.
    const long half = kRandomMax / 2 + 1;
    ScriptedRandom random({half - 1, kRandomMax / 4, kRandomMax, 0, kRandomMax, half,
                           kRandomMax / 2, 0, kRandomMax, half - 1, 0, kRandomMax, half});
    const OrbitCamera c = OrbitCamera::randomCamera();
    EXPECT_EQ(ScriptedRandom::draws(), 13u);

    EXPECT_EQ(c.pi, std::acos(-1.0));
    EXPECT_EQ(c.pi2, std::acos(-1.0) + std::acos(-1.0));
    EXPECT_NEAR(c.xangle, c.pi, 1e-8);
    EXPECT_NEAR(c.yangle, c.pi / 2, 1e-8);
    EXPECT_EQ(c.zangle, c.pi2);
    EXPECT_DOUBLE_EQ(c.dup, -0.015);
    EXPECT_DOUBLE_EQ(c.drt, 0.03);
    EXPECT_DOUBLE_EQ(c.dxang, 0.007);
    EXPECT_DOUBLE_EQ(c.dyang, -0.012);
    EXPECT_NEAR(c.dzang, -0.0095, 1e-9);
    EXPECT_EQ(c.basedist, 20);
    EXPECT_EQ(c.maxrt, 4);
    EXPECT_EQ(c.maxup, 3);
    // Nothing else is set before the first tick.
    for (double v : {c.rtoff, c.upoff, c.px, c.py, c.pz, c.fx, c.fy, c.fz, c.ux, c.uy, c.uz, c.rx,
                     c.ry, c.rz, c.offx, c.offy})
        EXPECT_EQ(v, 0.0);
}

TEST(OrbitCameraCreation, RandomCamerasStayInTheirRanges) {
    seedRandom(77);
    const OrbitCamera a1 = OrbitCamera::randomCamera();
    const OrbitCamera a2 = OrbitCamera::randomCamera();
    EXPECT_NE(a1.xangle, a2.xangle);
    for (const OrbitCamera& c : {a1, a2}) {
        for (double angle : {c.xangle, c.yangle, c.zangle}) {
            EXPECT_GE(angle, 0);
            EXPECT_LE(angle, c.pi2);
        }
        for (double step : {c.dxang, c.dyang, c.dzang}) {
            EXPECT_GE(std::abs(step), 0.007);
            EXPECT_LE(std::abs(step), 0.012);
        }
        for (double step : {c.drt, c.dup}) {
            EXPECT_GE(std::abs(step), 0.015);
            EXPECT_LE(std::abs(step), 0.03);
        }
    }
}

TEST(OrbitCameraPosition, AllAnglesZeroLooksDownTheXAxisFromBehindTheOffsetCentre) {
    OrbitCamera c = stillCamera();
    c.rtoff = 1.0;
    c.drt = 0.25;
    c.upoff = -2.0;
    c.dup = -0.5;
    calculateCameraPosition(c);
    expectVector(c.fx, c.fy, c.fz, -1, 0, 0);
    expectVector(c.ux, c.uy, c.uz, 0, 0, 1);
    expectVector(c.rx, c.ry, c.rz, 0, 1, 0);
    // The eye uses the offsets after this tick's step.
    expectVector(c.px, c.py, c.pz, 20, 1.25, -2.5);
}

TEST(OrbitCameraPosition, RotationsAboutXThenY) {
    OrbitCamera c = stillCamera();
    c.xangle = c.pi / 2;
    calculateCameraPosition(c);
    expectVector(c.fx, c.fy, c.fz, -1, 0, 0);
    expectVector(c.ux, c.uy, c.uz, 0, -1, 0);
    expectVector(c.rx, c.ry, c.rz, 0, 0, 1);

    c = stillCamera();
    c.yangle = c.pi / 2;
    calculateCameraPosition(c);
    expectVector(c.fx, c.fy, c.fz, 0, 0, 1);
    expectVector(c.ux, c.uy, c.uz, 1, 0, 0);
    expectVector(c.px, c.py, c.pz, 0, 0, -20);
}

TEST(OrbitCameraPosition, VectorsStayOrthonormalAndTheEyeOrbitsAtBasedist) {
    OrbitCamera c = stillCamera();
    c.xangle = 0.3;
    c.yangle = 2.1;
    c.zangle = -4.0;
    calculateCameraPosition(c);
    auto dot = [](double a, double b, double cc, double d, double e, double f) {
        return a * d + b * e + cc * f;
    };
    EXPECT_NEAR(dot(c.fx, c.fy, c.fz, c.fx, c.fy, c.fz), 1, eps);
    EXPECT_NEAR(dot(c.ux, c.uy, c.uz, c.ux, c.uy, c.uz), 1, eps);
    EXPECT_NEAR(dot(c.rx, c.ry, c.rz, c.rx, c.ry, c.rz), 1, eps);
    EXPECT_NEAR(dot(c.fx, c.fy, c.fz, c.ux, c.uy, c.uz), 0, eps);
    EXPECT_NEAR(dot(c.fx, c.fy, c.fz, c.rx, c.ry, c.rz), 0, eps);
    // No offsets: the eye is basedist behind the origin along the forward vector.
    expectVector(c.px, c.py, c.pz, -20 * c.fx, -20 * c.fy, -20 * c.fz);
}

TEST(OrbitCameraOffsets, OvershootIsUsedThenTurnsBack) {
    OrbitCamera c = stillCamera();
    c.rtoff = 3.99;
    c.drt = 0.02;
    calculateCameraPosition(c);
    EXPECT_NEAR(c.rtoff, 4.01, 1e-12);
    EXPECT_EQ(c.drt, -0.02);
    EXPECT_NEAR(c.py, 4.01, 1e-12); // right is +y at these angles
    calculateCameraPosition(c);
    EXPECT_NEAR(c.rtoff, 3.99, 1e-12);
    EXPECT_EQ(c.drt, -0.02);

    // The same at the lower bound, and for the vertical offset.
    c = stillCamera();
    c.upoff = -2.99;
    c.dup = -0.02;
    calculateCameraPosition(c);
    EXPECT_NEAR(c.upoff, -3.01, 1e-12);
    EXPECT_EQ(c.dup, 0.02);
    EXPECT_NEAR(c.pz, -3.01, 1e-12);
}

TEST(OrbitCameraOffsets, LandingExactlyOnTheBoundKeepsTheStepOneMoreTick) {
    OrbitCamera c = stillCamera();
    c.rtoff = 3.98;
    c.drt = 0.02;
    calculateCameraPosition(c);
    EXPECT_EQ(c.rtoff, 4.0);
    EXPECT_EQ(c.drt, 0.02);
    calculateCameraPosition(c);
    EXPECT_NEAR(c.rtoff, 4.02, 1e-12);
    EXPECT_EQ(c.drt, -0.02);

    // A step pointing back inside never flips, wherever the offset is.
    c = stillCamera();
    c.upoff = 10;
    c.dup = -0.5;
    calculateCameraPosition(c);
    EXPECT_EQ(c.dup, -0.5);
}

TEST(OrbitCameraAngles, OnlyARisingAngleWrapsAndOnlyAbove2Pi) {
    OrbitCamera c = stillCamera();
    c.xangle = c.pi2 - 0.001;
    c.dxang = 0.01;
    c.yangle = 0.005;
    c.dyang = -0.01;
    c.zangle = c.pi2 - 0.25; // lands exactly on 2pi
    c.dzang = 0.25;
    advanceAngles(c);
    EXPECT_NEAR(c.xangle, 0.009, 1e-12);
    EXPECT_NEAR(c.yangle, -0.005, 1e-15);
    EXPECT_EQ(c.zangle, c.pi2);
    advanceAngles(c);
    EXPECT_NEAR(c.yangle, -0.015, 1e-15);
    EXPECT_NEAR(c.zangle, 0.25, 1e-12);
}
