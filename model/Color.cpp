#include "Color.h"

#include <algorithm>
#include <cmath>

namespace {

float unitClamped(float value) {
    if (std::isnan(value))
        return 0.0f;
    return std::clamp(value, 0.0f, 1.0f);
}

} // namespace

Color::Color(float red, float green, float blue, float alpha)
    : red_(unitClamped(red))
    , green_(unitClamped(green))
    , blue_(unitClamped(blue))
    , alpha_(unitClamped(alpha)) {}

Color Color::colorWithCalibratedRed(float red, float green, float blue, float alpha) {
    return Color(red, green, blue, alpha);
}

Color Color::colorWithCalibratedHue(float hue, float saturation, float brightness, float alpha) {
    const float s = unitClamped(saturation);
    const float v = unitClamped(brightness);
    float h = std::isnan(hue) ? 0.0f : hue;
    // Hue is an angle: only its place on the wheel counts, and 1.0 is red again.
    if (h < 0.0f || h > 1.0f)
        h -= std::floor(h);

    const float sector = h * 6.0f;
    const float whole = std::floor(sector);
    const float f = sector - whole;
    const float p = v * (1.0f - s);
    const float q = v * (1.0f - s * f);
    const float t = v * (1.0f - s * (1.0f - f));
    switch (static_cast<int>(whole) % 6) {
    case 0:
        return Color(v, t, p, alpha);
    case 1:
        return Color(q, v, p, alpha);
    case 2:
        return Color(p, v, t, alpha);
    case 3:
        return Color(p, q, v, alpha);
    case 4:
        return Color(t, p, v, alpha);
    default:
        return Color(v, p, q, alpha);
    }
}

void Color::getRed(float* red, float* green, float* blue, float* alpha) const {
    *red = red_;
    *green = green_;
    *blue = blue_;
    *alpha = alpha_;
}

void Color::getHue(float* hue, float* saturation, float* brightness, float* alpha) const {
    const float maximum = std::max({red_, green_, blue_});
    const float minimum = std::min({red_, green_, blue_});
    const float delta = maximum - minimum;

    float h = 0.0f;
    if (delta > 0.0f) {
        if (maximum == red_) {
            h = (green_ - blue_) / delta;
            if (h < 0.0f)
                h += 6.0f;
        } else if (maximum == green_) {
            h = 2.0f + (blue_ - red_) / delta;
        } else {
            h = 4.0f + (red_ - green_) / delta;
        }
        h /= 6.0f;
    }
    *hue = h;
    *saturation = maximum > 0.0f ? delta / maximum : 0.0f;
    *brightness = maximum;
    *alpha = alpha_;
}
