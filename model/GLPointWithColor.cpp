#include "GLPointWithColor.h"

#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"

#include <GL/gl.h>

const QString glpwcXKey = QStringLiteral("glpwcXKey");
const QString glpwcYKey = QStringLiteral("glpwcYKey");
const QString glpwcZKey = QStringLiteral("glpwcZKey");
const QString glpwcRedKey = QStringLiteral("glpwcRedKey");
const QString glpwcGreenKey = QStringLiteral("glpwcGreenKey");
const QString glpwcBlueKey = QStringLiteral("glpwcBlueKey");
const QString glpwcAlphaKey = QStringLiteral("glpwcAlphaKey");

GLPointWithColor::GLPointWithColor(double x, double y, double z, double red, double green,
                                   double blue, double alpha)
    : x_(x)
    , y_(y)
    , z_(z)
    , red_(red)
    , green_(green)
    , blue_(blue)
    , alpha_(alpha)
    , color_(Color::colorWithCalibratedRed(static_cast<float>(red), static_cast<float>(green),
                                           static_cast<float>(blue), static_cast<float>(alpha))) {}

GLPointWithColor::GLPointWithColor(double x, double y, double z, const Color& color)
    : x_(x)
    , y_(y)
    , z_(z) {
    setColor(color);
}

GLPointWithColor::GLPointWithColor(double x, double y, double z)
    : GLPointWithColor(x, y, z, 0.0, 0.0, 0.0, 1.0) {}

GLPointWithColor::GLPointWithColor(KeyedUnarchiver& coder) {
    x_ = coder.decodeDoubleForKey(glpwcXKey);
    y_ = coder.decodeDoubleForKey(glpwcYKey);
    z_ = coder.decodeDoubleForKey(glpwcZKey);
    red_ = coder.decodeDoubleForKey(glpwcRedKey);
    green_ = coder.decodeDoubleForKey(glpwcGreenKey);
    blue_ = coder.decodeDoubleForKey(glpwcBlueKey);
    alpha_ = coder.decodeDoubleForKey(glpwcAlphaKey);
    color_ = Color::colorWithCalibratedRed(static_cast<float>(red_), static_cast<float>(green_),
                                           static_cast<float>(blue_), static_cast<float>(alpha_));
}

void GLPointWithColor::encodeWithCoder(KeyedArchiver& coder) const {
    coder.encodeDouble(x_, glpwcXKey);
    coder.encodeDouble(y_, glpwcYKey);
    coder.encodeDouble(z_, glpwcZKey);
    coder.encodeDouble(red_, glpwcRedKey);
    coder.encodeDouble(green_, glpwcGreenKey);
    coder.encodeDouble(blue_, glpwcBlueKey);
    coder.encodeDouble(alpha_, glpwcAlphaKey);
}

std::shared_ptr<GLPointWithColor> GLPointWithColor::pointWithX(double x, double y, double z,
                                                               double red, double green,
                                                               double blue, double alpha) {
    return std::make_shared<GLPointWithColor>(x, y, z, red, green, blue, alpha);
}

std::shared_ptr<GLPointWithColor> GLPointWithColor::pointWithX(double x, double y, double z,
                                                               const Color& color) {
    return std::make_shared<GLPointWithColor>(x, y, z, color);
}

std::shared_ptr<GLPointWithColor> GLPointWithColor::pointWithX(double x, double y, double z) {
    return std::make_shared<GLPointWithColor>(x, y, z);
}

void GLPointWithColor::render() const {
    glColor4d(red_, green_, blue_, alpha_);
    glVertex3d(x_, y_, z_);
}

void GLPointWithColor::getDx(double* dx, double* dy, double* dz) const {
    *dx = this->dx;
    *dy = this->dy;
    *dz = this->dz;
}

void GLPointWithColor::setDx(double dx, double dy, double dz) {
    this->dx = dx;
    this->dy = dy;
    this->dz = dz;
}

void GLPointWithColor::setColor(const Color& color) {
    color_ = color;
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 0.0f;
    color_.getRed(&red, &green, &blue, &alpha);
    red_ = red;
    green_ = green;
    blue_ = blue;
    alpha_ = alpha;
}
