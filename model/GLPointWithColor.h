#pragma once

#include "Color.h"

#include <QString>

#include <memory>

class KeyedArchiver;
class KeyedUnarchiver;

// Archive keys of a point, in the order they are written.
extern const QString glpwcXKey;
extern const QString glpwcYKey;
extern const QString glpwcZKey;
extern const QString glpwcRedKey;
extern const QString glpwcGreenKey;
extern const QString glpwcBlueKey;
extern const QString glpwcAlphaKey;

// One end of a line segment: a position, a velocity that is stored but never applied, and an
// RGBA colour held twice. The four doubles are what is drawn and saved; the Color object is
// what the complement rule of a pair reads. Initialisers that take components keep the doubles
// at full precision and build the colour from them as floats; setColor() goes the other way.
class GLPointWithColor {
  public:
    GLPointWithColor(double x, double y, double z, double red, double green, double blue,
                     double alpha);
    GLPointWithColor(double x, double y, double z, const Color& color);
    // Opaque black.
    GLPointWithColor(double x, double y, double z);
    // Reads the position and the four colour doubles; the velocity stays 0.
    explicit GLPointWithColor(KeyedUnarchiver& coder);

    GLPointWithColor(const GLPointWithColor&) = delete;
    GLPointWithColor& operator=(const GLPointWithColor&) = delete;

    static std::shared_ptr<GLPointWithColor> pointWithX(double x, double y, double z, double red,
                                                        double green, double blue, double alpha);
    static std::shared_ptr<GLPointWithColor> pointWithX(double x, double y, double z,
                                                        const Color& color);
    static std::shared_ptr<GLPointWithColor> pointWithX(double x, double y, double z);

    // Writes the position and the four colour doubles; the velocity is not kept.
    void encodeWithCoder(KeyedArchiver& coder) const;

    // One glColor4d and one glVertex3d, inside a primitive that the caller has opened.
    void render() const;
    // A point never moves.
    void animate() const {}

    void getDx(double* dx, double* dy, double* dz) const;
    void setDx(double dx, double dy, double dz);

    const Color& color() const { return color_; }
    // Also replaces the four colour doubles with the colour's float components.
    void setColor(const Color& color);

    double x() const { return x_; }
    double y() const { return y_; }
    double z() const { return z_; }
    double red() const { return red_; }
    double green() const { return green_; }
    double blue() const { return blue_; }
    double alpha() const { return alpha_; }

    // Plain stores: the colour object keeps its previous components.
    void setRed(double red) { red_ = red; }
    void setGreen(double green) { green_ = green; }
    void setBlue(double blue) { blue_ = blue; }
    void setAlpha(double alpha) { alpha_ = alpha; }

  private:
    double x_ = 0.0;
    double y_ = 0.0;
    double z_ = 0.0;
    // The velocity: read and written through getDx() and setDx(), never applied, not archived.
    double dx = 0.0;
    double dy = 0.0;
    double dz = 0.0;
    double red_ = 0.0;
    double green_ = 0.0;
    double blue_ = 0.0;
    double alpha_ = 0.0;
    Color color_;
};
