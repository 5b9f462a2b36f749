#pragma once

// An immutable colour in calibrated RGB, held as four 32-bit floats from 0 to 1.
// It also answers in the HSB (hexcone) model: hue from 0 to 1 starting at red, where
// hue 1.0 is the same colour as hue 0.0, and a grey has saturation 0.
class Color {
  public:
    // Opaque black.
    Color() = default;

    // Components outside 0 to 1 are clamped, and a NaN component reads as 0.
    static Color colorWithCalibratedRed(float red, float green, float blue, float alpha);
    static Color colorWithCalibratedHue(float hue, float saturation, float brightness, float alpha);

    void getRed(float* red, float* green, float* blue, float* alpha) const;
    void getHue(float* hue, float* saturation, float* brightness, float* alpha) const;

    bool operator==(const Color&) const = default;

  private:
    Color(float red, float green, float blue, float alpha);

    float red_ = 0.0f;
    float green_ = 0.0f;
    float blue_ = 0.0f;
    float alpha_ = 1.0f;
};
