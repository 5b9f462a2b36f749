#include "model/Color.h"

#include <gtest/gtest.h>

namespace {

struct Rgba {
    float red, green, blue, alpha;
};
struct Hsba {
    float hue, saturation, brightness, alpha;
};

Rgba rgbOf(const Color& color) {
    Rgba c{};
    color.getRed(&c.red, &c.green, &c.blue, &c.alpha);
    return c;
}

Hsba hsbOf(const Color& color) {
    Hsba c{};
    color.getHue(&c.hue, &c.saturation, &c.brightness, &c.alpha);
    return c;
}

} // namespace

TEST(Color, HoldsComponentsAsFloats) {
    const Rgba c = rgbOf(Color::colorWithCalibratedRed(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_EQ(c.red, 0.1f);
    EXPECT_EQ(c.green, 0.2f);
    EXPECT_EQ(c.blue, 0.3f);
    EXPECT_EQ(c.alpha, 0.4f);
    const Rgba black = rgbOf(Color());
    EXPECT_EQ(black.red + black.green + black.blue, 0.0f);
    EXPECT_EQ(black.alpha, 1.0f);
}

TEST(Color, HueOfThePrimariesAndSecondaries) {
    struct Case {
        Rgba rgb;
        float hue;
    } cases[] = {
        {{1, 0, 0, 1}, 0.0f}, {{1, 1, 0, 1}, 1.0f / 6.0f}, {{0, 1, 0, 1}, 2.0f / 6.0f},
        {{0, 1, 1, 1}, 0.5f}, {{0, 0, 1, 1}, 4.0f / 6.0f}, {{1, 0, 1, 1}, 5.0f / 6.0f},
    };
    for (const Case& c : cases) {
        const Hsba hsb =
            hsbOf(Color::colorWithCalibratedRed(c.rgb.red, c.rgb.green, c.rgb.blue, 1));
        EXPECT_FLOAT_EQ(hsb.hue, c.hue);
        EXPECT_EQ(hsb.saturation, 1.0f);
        EXPECT_EQ(hsb.brightness, 1.0f);
    }
}

TEST(Color, GreyHasNoSaturation) {
    const Hsba grey = hsbOf(Color::colorWithCalibratedRed(0.4f, 0.4f, 0.4f, 0.5f));
    EXPECT_EQ(grey.saturation, 0.0f);
    EXPECT_EQ(grey.brightness, 0.4f);
    EXPECT_EQ(grey.alpha, 0.5f);
    const Hsba black = hsbOf(Color::colorWithCalibratedRed(0, 0, 0, 1));
    EXPECT_EQ(black.saturation, 0.0f);
    EXPECT_EQ(black.brightness, 0.0f);
}

TEST(Color, HueOneIsRedLikeHueZero) {
    EXPECT_EQ(Color::colorWithCalibratedHue(1.0f, 1, 1, 1),
              Color::colorWithCalibratedRed(1, 0, 0, 1));
    EXPECT_EQ(Color::colorWithCalibratedHue(0.0f, 1, 1, 1),
              Color::colorWithCalibratedRed(1, 0, 0, 1));
}

TEST(Color, HsbRoundTripsThroughRgb) {
    for (float r = 0.0f; r <= 1.0f; r += 0.125f)
        for (float g = 0.0f; g <= 1.0f; g += 0.25f)
            for (float b = 0.0f; b <= 1.0f; b += 0.25f) {
                const Color original = Color::colorWithCalibratedRed(r, g, b, 0.75f);
                const Hsba hsb = hsbOf(original);
                const Rgba back = rgbOf(Color::colorWithCalibratedHue(hsb.hue, hsb.saturation,
                                                                      hsb.brightness, hsb.alpha));
                EXPECT_NEAR(back.red, r, 1e-6f);
                EXPECT_NEAR(back.green, g, 1e-6f);
                EXPECT_NEAR(back.blue, b, 1e-6f);
                EXPECT_EQ(back.alpha, 0.75f);
            }
}

TEST(Color, OutOfRangeComponentsAreClamped) {
    const Rgba c = rgbOf(Color::colorWithCalibratedRed(2.0f, -1.0f, 0.5f, 7.0f));
    EXPECT_EQ(c.red, 1.0f);
    EXPECT_EQ(c.green, 0.0f);
    EXPECT_EQ(c.blue, 0.5f);
    EXPECT_EQ(c.alpha, 1.0f);
    // A hue beyond the wheel is taken modulo one turn.
    EXPECT_EQ(Color::colorWithCalibratedHue(1.5f, 1, 1, 1),
              Color::colorWithCalibratedHue(0.5f, 1, 1, 1));
}
