#include "OrbitCamera.h"

#include "model/Random.h"

#include <cmath>

namespace {

// True when a value drawn from [0, 1] is strictly above one half.
bool coin() {
    return randomDoubleBetweenZeroOne() > 0.5;
}

void advance(double& angle, double step, double period) {
    angle = angle + step;
    if (angle > period)
        angle = angle - period;
}

void moveOffset(double& offset, double& step, double bound) {
    offset = offset + step;
    // Tested after the move, so an offset that lands on its bound keeps going for one more
    // tick, and one that passes it is used as it is before it turns back.
    if ((step > 0 && offset > bound) || (step < 0 && offset < -bound))
        step = -step;
}

} // namespace

OrbitCamera OrbitCamera::randomCamera() {
    OrbitCamera c;
    c.pi = std::acos(-1.0);
    c.pi2 = c.pi + c.pi;
    c.xangle = randomDoubleBetween(0.0, c.pi2);
    c.yangle = randomDoubleBetween(0.0, c.pi2);
    c.zangle = randomDoubleBetween(0.0, c.pi2);
    c.basedist = 20.0;
    c.dup = randomDoubleBetween(0.015, 0.03);
    c.drt = randomDoubleBetween(0.015, 0.03);
    if (coin())
        c.dup = -c.dup;
    if (coin())
        c.drt = -c.drt;
    c.maxrt = 4.0;
    c.maxup = 3.0;
    c.dxang = randomDoubleBetween(0.007, 0.012);
    c.dyang = randomDoubleBetween(0.007, 0.012);
    c.dzang = randomDoubleBetween(0.007, 0.012);
    if (coin())
        c.dxang = -c.dxang;
    if (coin())
        c.dyang = -c.dyang;
    if (coin())
        c.dzang = -c.dzang;
    return c;
}

void advanceAngles(OrbitCamera& c) {
    advance(c.xangle, c.dxang, c.pi2);
    advance(c.yangle, c.dyang, c.pi2);
    advance(c.zangle, c.dzang, c.pi2);
}

void calculateCameraPosition(OrbitCamera& c) {
    const double cx = std::cos(c.xangle), sx = std::sin(c.xangle);
    const double cy = std::cos(c.yangle), sy = std::sin(c.yangle);
    const double cz = std::cos(c.zangle), sz = std::sin(c.zangle);

    // Forward (-1, 0, 0) and up (0, 0, 1) turned about x, then y, then z.
    c.fx = -cy * cz;
    c.fy = -cy * sz;
    c.fz = sy;
    c.ux = cx * sy * cz + sx * sz;
    c.uy = cx * sy * sz - sx * cz;
    c.uz = cx * cy;

    c.rx = c.fy * c.uz - c.fz * c.uy;
    c.ry = c.fz * c.ux - c.fx * c.uz;
    c.rz = c.fx * c.uy - c.fy * c.ux;

    moveOffset(c.rtoff, c.drt, c.maxrt);
    moveOffset(c.upoff, c.dup, c.maxup);

    c.px = (-c.basedist) * c.fx + c.upoff * c.ux + c.rtoff * c.rx;
    c.py = (-c.basedist) * c.fy + c.upoff * c.uy + c.rtoff * c.ry;
    c.pz = (-c.basedist) * c.fz + c.upoff * c.uz + c.rtoff * c.rz;
}

void scaleCameraSteps(OrbitCamera& camera, double factor) {
    if (factor == 1.0)
        return;
    camera.dxang *= factor;
    camera.dyang *= factor;
    camera.dzang *= factor;
    camera.drt *= factor;
    camera.dup *= factor;
}
