#include "model/GLPointWithColor.h"

#include <gtest/gtest.h>

namespace {

void expectColor(const Color& color, float red, float green, float blue, float alpha) {
    float r, g, b, a;
    color.getRed(&r, &g, &b, &a);
    EXPECT_EQ(r, red);
    EXPECT_EQ(g, green);
    EXPECT_EQ(b, blue);
    EXPECT_EQ(a, alpha);
}

void expectNoVelocity(const GLPointWithColor& point) {
    double dx = -1, dy = -1, dz = -1;
    point.getDx(&dx, &dy, &dz);
    EXPECT_EQ(dx, 0.0);
    EXPECT_EQ(dy, 0.0);
    EXPECT_EQ(dz, 0.0);
}

} // namespace

TEST(Point, EveryInitialiserStartsAtRest) {
    const auto black = GLPointWithColor::pointWithX(1, 2, 3);
    EXPECT_EQ(black->x(), 1.0);
    EXPECT_EQ(black->y(), 2.0);
    EXPECT_EQ(black->z(), 3.0);
    EXPECT_EQ(black->red(), 0.0);
    EXPECT_EQ(black->green(), 0.0);
    EXPECT_EQ(black->blue(), 0.0);
    EXPECT_EQ(black->alpha(), 1.0);
    expectColor(black->color(), 0, 0, 0, 1);

    expectNoVelocity(*black);
    expectNoVelocity(*GLPointWithColor::pointWithX(0, 0, 0, 0.5, 0.5, 0.5, 0.5));
    expectNoVelocity(*GLPointWithColor::pointWithX(0, 0, 0, Color()));
}

TEST(Point, ComponentsStayDoubleWhileTheColourHoldsFloats) {
    const auto point = GLPointWithColor::pointWithX(0, 0, 0, 0.1, 0.2, 0.3, 0.3);
    EXPECT_EQ(point->red(), 0.1);
    EXPECT_EQ(point->alpha(), 0.3);
    expectColor(point->color(), 0.1f, 0.2f, 0.3f, 0.3f);

    // Setting that same colour brings the floats back into the doubles.
    point->setColor(point->color());
    EXPECT_EQ(point->red(), double(0.1f));
    EXPECT_EQ(point->alpha(), double(0.3f));
    expectColor(point->color(), 0.1f, 0.2f, 0.3f, 0.3f);
}

TEST(Point, ColourInitialiserWidensTheFloats) {
    const auto point =
        GLPointWithColor::pointWithX(4, 5, 6, Color::colorWithCalibratedRed(0.1f, 1, 0, 0.3f));
    EXPECT_EQ(point->red(), double(0.1f));
    EXPECT_EQ(point->green(), 1.0);
    EXPECT_EQ(point->alpha(), double(0.3f));
    EXPECT_EQ(point->z(), 6.0);
}

TEST(Point, SingleComponentSettersLeaveTheColourObject) {
    const auto point = GLPointWithColor::pointWithX(0, 0, 0, 0.5, 0.5, 0.5, 1);
    point->setRed(0.25);
    point->setGreen(0.75);
    point->setBlue(1);
    point->setAlpha(0);
    EXPECT_EQ(point->red(), 0.25);
    EXPECT_EQ(point->green(), 0.75);
    EXPECT_EQ(point->blue(), 1.0);
    EXPECT_EQ(point->alpha(), 0.0);
    expectColor(point->color(), 0.5f, 0.5f, 0.5f, 1.0f);
}

TEST(Point, VelocityIsStoredAndNeverApplied) {
    const auto point = GLPointWithColor::pointWithX(1, 2, 3, 0.1, 0.2, 0.3, 0.4);
    point->setDx(0.5, -0.25, 1e-300);
    point->animate();
    point->animate();
    double dx, dy, dz;
    point->getDx(&dx, &dy, &dz);
    EXPECT_EQ(dx, 0.5);
    EXPECT_EQ(dy, -0.25);
    EXPECT_EQ(dz, 1e-300);
    EXPECT_EQ(point->x(), 1.0);
    EXPECT_EQ(point->y(), 2.0);
    EXPECT_EQ(point->z(), 3.0);
    EXPECT_EQ(point->red(), 0.1);
    expectColor(point->color(), 0.1f, 0.2f, 0.3f, 0.4f);
}
