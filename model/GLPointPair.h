#pragma once

#include "Color.h"
#include "GLPointWithColor.h"

#include <QString>

#include <memory>
#include <vector>

class KeyedArchiver;
class KeyedUnarchiver;

// Archive keys of a pair, in the order they are written.
extern const QString glppPoint1Key;
extern const QString glppPoint2Key;

// One line segment of a scene. Its ends keep complementary colours: setting either end
// recolours the other end (the very point object, shared with whoever else holds it) with the
// complement of the end just set.
class GLPointPair {
  public:
    // No ends yet; decoding fills them in.
    GLPointPair() = default;
    // Sets the second point first, then the first: the first keeps its colour and the second
    // takes its complement.
    GLPointPair(std::shared_ptr<GLPointWithColor> point,
                std::shared_ptr<GLPointWithColor> andPoint);
    // Reads the second point first, then the first, so the second point is recoloured to the
    // complement of the first whatever colour it was stored with. A missing point stays
    // nullptr; the unarchiver refuses such a pair.
    explicit GLPointPair(KeyedUnarchiver& coder);

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

    // Writes the first point, then the second, as object references.
    void encodeWithCoder(KeyedArchiver& coder) const;

    // Two coloured vertices, the first point's first.
    void render() const;
    // One tick of the pair's own motion: each point's animate(), which moves nothing (the
    // scene's motion is the camera's). Const, and so are the points': a tick only reads the
    // pairs, which a frame may be drawing on another thread meanwhile.
    void animate() const;

  private:
    std::shared_ptr<GLPointWithColor> point1_;
    std::shared_ptr<GLPointWithColor> point2_;
};

// A scene: the pairs in drawing order. Document and view share one immutable array.
using PointPairs = std::vector<std::shared_ptr<GLPointPair>>;
using PointPairArray = std::shared_ptr<const PointPairs>;
