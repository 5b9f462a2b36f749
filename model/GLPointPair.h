#pragma once

#include "Color.h"
#include "GLPointWithColor.h"

#include <memory>
#include <vector>

// One line segment of a scene. Its ends keep complementary colours: setting either end
// recolours the other end (the very point object, shared with whoever else holds it) with the
// complement of the end just set.
class GLPointPair {
public:
    // No ends yet; decoding fills them in.
    GLPointPair() = default;
    // Sets the second point first, then the first: the first keeps its colour and the second
    // takes its complement.
    GLPointPair(std::shared_ptr<GLPointWithColor> point, std::shared_ptr<GLPointWithColor> andPoint);

    GLPointPair(const GLPointPair&) = delete;
    GLPointPair& operator=(const GLPointPair&) = delete;

    // Sixteen draws: the first point's alpha, blue, green, red, z, y, x, then its dz, dy, dx,
    // then the second point's z, y, x and dz, dy, dx.
    static std::shared_ptr<GLPointPair> randomPointPair();

    // Hue turned half-way around the wheel, in float arithmetic; a shifted hue of exactly 1.0
    // is kept (it is red, like 0.0).
    static Color complementaryColorForColor(const Color& color);

    const std::shared_ptr<GLPointWithColor>& point1() const { return point1_; }
    const std::shared_ptr<GLPointWithColor>& point2() const { return point2_; }
    void setPoint1(std::shared_ptr<GLPointWithColor> point);
    void setPoint2(std::shared_ptr<GLPointWithColor> point);

    // Two coloured vertices, the first point's first.
    void render() const;
    void animate();

private:
    std::shared_ptr<GLPointWithColor> point1_;
    std::shared_ptr<GLPointWithColor> point2_;
};

// A scene: the pairs in drawing order. Document and view share one immutable array.
using PointPairs = std::vector<std::shared_ptr<GLPointPair>>;
using PointPairArray = std::shared_ptr<const PointPairs>;
