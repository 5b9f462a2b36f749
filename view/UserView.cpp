#include "UserView.h"

#include "SceneFrame.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double twoPi = 6.283185307179586;

struct Vec {
    double x, y, z;
};

Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator*(double k, Vec a) {
    return {k * a.x, k * a.y, k * a.z};
}
double dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec normalized(Vec a) {
    const double length = std::sqrt(dot(a, a));
    return length > 0 ? (1.0 / length) * a : a;
}

Vec forwardOf(const OrbitCamera& c) {
    return {c.fx, c.fy, c.fz};
}
Vec upOf(const OrbitCamera& c) {
    return {c.ux, c.uy, c.uz};
}
Vec eyeOf(const OrbitCamera& c) {
    return {c.px, c.py, c.pz};
}

// The eye-space axes of the camera's look-at, built as the look-at builds them.
struct EyeAxes {
    Vec side, up, forward;
};

EyeAxes eyeAxesOf(const OrbitCamera& c) {
    const Vec f = normalized(forwardOf(c));
    const Vec s = normalized(cross(f, upOf(c)));
    return {s, cross(s, f), f};
}

// A scene point in the camera's eye space (x right, y up, z towards the viewer).
Vec toEye(const OrbitCamera& c, Vec w) {
    const EyeAxes a = eyeAxesOf(c);
    const Vec d = w + (-1.0) * eyeOf(c);
    return {dot(a.side, d), dot(a.up, d), -dot(a.forward, d)};
}

// Unit quaternions for the camera's orientation, so that two orientations can be blended
// along the shortest turn between them.
struct Quat {
    double w, x, y, z;
};

// The rotation whose columns are the camera's right, up and backward axes.
Quat orientationOf(Vec r, Vec u, Vec b) {
    const double m00 = r.x, m01 = u.x, m02 = b.x;
    const double m10 = r.y, m11 = u.y, m12 = b.y;
    const double m20 = r.z, m21 = u.z, m22 = b.z;
    const double trace = m00 + m11 + m22;
    Quat q;
    if (trace > 0) {
        const double s = 2.0 * std::sqrt(trace + 1.0);
        q = {0.25 * s, (m21 - m12) / s, (m02 - m20) / s, (m10 - m01) / s};
    } else if (m00 > m11 && m00 > m22) {
        const double s = 2.0 * std::sqrt(1.0 + m00 - m11 - m22);
        q = {(m21 - m12) / s, 0.25 * s, (m01 + m10) / s, (m02 + m20) / s};
    } else if (m11 > m22) {
        const double s = 2.0 * std::sqrt(1.0 + m11 - m00 - m22);
        q = {(m02 - m20) / s, (m01 + m10) / s, 0.25 * s, (m12 + m21) / s};
    } else {
        const double s = 2.0 * std::sqrt(1.0 + m22 - m00 - m11);
        q = {(m10 - m01) / s, (m02 + m20) / s, (m12 + m21) / s, 0.25 * s};
    }
    return q;
}

Quat slerp(Quat a, Quat b, double t) {
    double d = a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
    if (d < 0) { // the other of the two quaternions of the same orientation: the shorter way
        b = {-b.w, -b.x, -b.y, -b.z};
        d = -d;
    }
    double ka = 1.0 - t, kb = t;
    if (d < 0.9995) {
        const double angle = std::acos(std::min(d, 1.0));
        ka = std::sin((1.0 - t) * angle) / std::sin(angle);
        kb = std::sin(t * angle) / std::sin(angle);
    }
    Quat q{ka * a.w + kb * b.w, ka * a.x + kb * b.x, ka * a.y + kb * b.y, ka * a.z + kb * b.z};
    const double n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    return {q.w / n, q.x / n, q.y / n, q.z / n};
}

// The camera part of the way from `from` to `to`: orientation turned along the shortest way,
// offsets moved in proportion, the eye placed from them as the tick places it.
OrbitCamera blend(const OrbitCamera& from, const OrbitCamera& to, double t) {
    const Vec fa = forwardOf(from), fb = forwardOf(to);
    // Before its first tick a camera has no orientation to blend.
    if (dot(fa, fa) < 0.25 || dot(fb, fb) < 0.25)
        return t < 0.5 ? from : to;
    const Vec ua = upOf(from), ub = upOf(to);
    const Quat q = slerp(orientationOf(cross(fa, ua), ua, (-1.0) * fa),
                         orientationOf(cross(fb, ub), ub, (-1.0) * fb), t);
    const Vec r{1 - 2 * (q.y * q.y + q.z * q.z), 2 * (q.x * q.y + q.w * q.z),
                2 * (q.x * q.z - q.w * q.y)};
    const Vec u{2 * (q.x * q.y - q.w * q.z), 1 - 2 * (q.x * q.x + q.z * q.z),
                2 * (q.y * q.z + q.w * q.x)};
    const Vec b{2 * (q.x * q.z + q.w * q.y), 2 * (q.y * q.z - q.w * q.x),
                1 - 2 * (q.x * q.x + q.y * q.y)};
    OrbitCamera c = to;
    c.rtoff = from.rtoff + t * (to.rtoff - from.rtoff);
    c.upoff = from.upoff + t * (to.upoff - from.upoff);
    c.fx = -b.x, c.fy = -b.y, c.fz = -b.z;
    c.ux = u.x, c.uy = u.y, c.uz = u.z;
    c.rx = r.x, c.ry = r.y, c.rz = r.z;
    const Vec eye = (-c.basedist) * forwardOf(c) + c.upoff * u + c.rtoff * r;
    c.px = eye.x, c.py = eye.y, c.pz = eye.z;
    return c;
}

} // namespace

bool UserView::isIdentity() const {
    return yaw_ == 0.0 && pitch_ == 0.0 && zoom_ == 1.0 && panX_ == 0.0 && panY_ == 0.0;
}

void UserView::turnByDrag(double dx, double dy, double side) {
    if (!(side > 0))
        return;
    const double perPixel = (twoPi / 2) / side;
    turn(dx * perPixel, dy * perPixel);
}

void UserView::turn(double yaw, double pitch) {
    if (!std::isfinite(yaw) || !std::isfinite(pitch))
        return;
    // Kept within one turn, so that a long session of turning loses no precision.
    yaw_ = std::remainder(yaw_ + yaw, twoPi);
    pitch_ = std::clamp(pitch_ + pitch, -maxPitch, maxPitch);
}

void UserView::zoomBy(double factor) {
    if (!std::isfinite(factor) || !(factor > 0))
        return;
    const double zoom = std::clamp(zoom_ * factor, minZoom, maxZoom);
    // The pan grows with the zoom, so that the point at the window's centre stays there.
    const double ratio = zoom / zoom_;
    panX_ *= ratio;
    panY_ *= ratio;
    zoom_ = zoom;
}

void UserView::panBy(double dx, double dy) {
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return;
    const double reach = panReach * zoom_;
    panX_ = std::clamp(panX_ + dx, -reach, reach);
    panY_ = std::clamp(panY_ + dy, -reach, reach);
}

void UserView::reset() {
    *this = UserView();
}

void UserView::hold(const OrbitCamera& live, Time now) {
    if (orbit_ == Orbit::Held)
        return;
    held_ = pictureCamera(live, now);
    orbit_ = Orbit::Held;
}

void UserView::release(Time now) {
    if (orbit_ != Orbit::Held)
        return;
    orbit_ = Orbit::Released;
    releasedAt_ = now;
}

void UserView::touch(const OrbitCamera& live, Time now) {
    if (orbit_ == Orbit::Held)
        return;
    hold(live, now);
    release(now);
}

bool UserView::followsCamera(Time now) const {
    return orbit_ == Orbit::Live ||
           (orbit_ == Orbit::Released && now - releasedAt_ >= holdAfterRelease + easeDuration);
}

OrbitCamera UserView::pictureCamera(const OrbitCamera& live, Time now) const {
    switch (orbit_) {
    case Orbit::Live:
        return live;
    case Orbit::Held:
        return held_;
    case Orbit::Released:
        break;
    }
    const Time since = now - releasedAt_;
    if (since <= holdAfterRelease)
        return held_;
    if (since >= holdAfterRelease + easeDuration)
        return live;
    const double x = std::chrono::duration<double>(since - holdAfterRelease) /
                     std::chrono::duration<double>(easeDuration);
    // Eased in and out: the picture starts turning from rest and arrives at the camera's own
    // pace, without a jolt at either end.
    return blend(held_, live, x * x * (3.0 - 2.0 * x));
}

UserView::Matrix UserView::screenMatrix() const {
    return {zoom_, 0, 0, 0, 0, zoom_, 0, 0, 0, 0, 1, 0, panX_, panY_, 0, 1};
}

UserView::Matrix UserView::turnMatrix(const OrbitCamera& camera) const {
    const double cy = std::cos(yaw_), sy = std::sin(yaw_);
    const double cp = std::cos(pitch_), sp = std::sin(pitch_);
    // The tilt after the yaw: rows of Rx(pitch) · Ry(yaw).
    const Vec row0{cy, 0, sy};
    const Vec row1{sp * sy, cp, -sp * cy};
    const Vec row2{-cp * sy, sp, cp * cy};
    // About the scene's centre in eye space: c - R c.
    const Vec c = toEye(camera, {0, 0, 0});
    const Vec t{c.x - dot(row0, c), c.y - dot(row1, c), c.z - dot(row2, c)};
    return {row0.x, row1.x, row2.x, 0, row0.y, row1.y, row2.y, 0,
            row0.z, row1.z, row2.z, 0, t.x,    t.y,    t.z,    1};
}

std::array<double, 3> UserView::project(const OrbitCamera& camera, double x, double y,
                                        double z) const {
    const Vec e = toEye(camera, {x, y, z});
    const Matrix m = turnMatrix(camera);
    const Vec t{m[0] * e.x + m[4] * e.y + m[8] * e.z + m[12],
                m[1] * e.x + m[5] * e.y + m[9] * e.z + m[13],
                m[2] * e.x + m[6] * e.y + m[10] * e.z + m[14]};
    return {zoom_ * t.x / edgeOfUniverse + panX_, zoom_ * t.y / edgeOfUniverse + panY_,
            -t.z / edgeOfUniverse};
}
