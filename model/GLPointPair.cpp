#include "GLPointPair.h"

#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"
#include "Random.h"

const QString glppPoint1Key = QStringLiteral("glppPoint1Key");
const QString glppPoint2Key = QStringLiteral("glppPoint2Key");

GLPointPair::GLPointPair(std::shared_ptr<GLPointWithColor> point,
                         std::shared_ptr<GLPointWithColor> andPoint) {
    setPoint2(std::move(andPoint));
    setPoint1(std::move(point));
}

GLPointPair::GLPointPair(KeyedUnarchiver& coder) {
    setPoint2(coder.decodeObjectForKey<GLPointWithColor>(glppPoint2Key));
    setPoint1(coder.decodeObjectForKey<GLPointWithColor>(glppPoint1Key));
}

void GLPointPair::encodeWithCoder(KeyedArchiver& coder) const {
    coder.encodeObject(point1_, glppPoint1Key);
    coder.encodeObject(point2_, glppPoint2Key);
}

std::shared_ptr<GLPointPair> GLPointPair::randomPointPair() {
    const double alpha = randomDoubleBetweenZeroOne();
    const double blue = randomDoubleBetweenZeroOne();
    const double green = randomDoubleBetweenZeroOne();
    const double red = randomDoubleBetweenZeroOne();
    double z = randomDoubleBetween(-800.0, 800.0);
    double y = randomDoubleBetween(-800.0, 800.0);
    double x = randomDoubleBetween(-800.0, 800.0);
    auto first = GLPointWithColor::pointWithX(x, y, z, red, green, blue, alpha);

    double dz = randomDoubleBetween(-1.0, 1.0);
    double dy = randomDoubleBetween(-1.0, 1.0);
    double dx = randomDoubleBetween(-1.0, 1.0);
    first->setDx(dx, dy, dz);

    z = randomDoubleBetween(-800.0, 800.0);
    y = randomDoubleBetween(-800.0, 800.0);
    x = randomDoubleBetween(-800.0, 800.0);
    auto second = GLPointWithColor::pointWithX(x, y, z);

    dz = randomDoubleBetween(-1.0, 1.0);
    dy = randomDoubleBetween(-1.0, 1.0);
    dx = randomDoubleBetween(-1.0, 1.0);
    second->setDx(dx, dy, dz);

    return std::make_shared<GLPointPair>(std::move(first), std::move(second));
}

Color GLPointPair::complementaryColorForColor(const Color& color) {
    float hue = 0.0f;
    float saturation = 0.0f;
    float brightness = 0.0f;
    float alpha = 0.0f;
    color.getHue(&hue, &saturation, &brightness, &alpha);
    hue = hue + 0.5f;
    if (hue > 1.0f)
        hue = hue - 1.0f;
    return Color::colorWithCalibratedHue(hue, saturation, brightness, alpha);
}

void GLPointPair::setPoint1(std::shared_ptr<GLPointWithColor> point) {
    point1_ = std::move(point);
    if (point1_ && point2_)
        point2_->setColor(complementaryColorForColor(point1_->color()));
}

void GLPointPair::setPoint2(std::shared_ptr<GLPointWithColor> point) {
    point2_ = std::move(point);
    if (point1_ && point2_)
        point1_->setColor(complementaryColorForColor(point2_->color()));
}

void GLPointPair::render() const {
    if (point1_)
        point1_->render();
    if (point2_)
        point2_->render();
}

void GLPointPair::animate() const {
    if (point1_)
        point1_->animate();
    if (point2_)
        point2_->animate();
}
