#pragma once

#include "OrbitCamera.h"

#include <array>
#include <chrono>

// What the user has done to a scene view's picture by hand, on top of the orbiting camera: a
// turn (turntable: yaw about the picture's vertical axis, then a tilt about its horizontal
// axis, never a roll), a zoom about the window's centre and a pan. The camera itself is never
// touched: its tick goes on as ever, and these are applied only where the frame is drawn.
//
// While the user holds the scene, the picture also holds the orbit: it shows a snapshot of the
// camera taken when the hold began, while the camera goes on ticking underneath. From
// holdAfterRelease after the release, the picture turns from the snapshot to the live camera
// along the shortest rotation, eased in and out over easeDuration, so that it neither jumps
// when the easing starts nor when it ends (it then simply follows the live camera). Time is
// handed in by the caller, so tests can drive it.
//
// Plain data; no window, no clock, no OpenGL.
class UserView {
  public:
    using Time = std::chrono::milliseconds;
    // Column-major, as OpenGL takes it.
    using Matrix = std::array<double, 16>;

    // Zoomed out, the cube still spans a sixth of the window's width; zoomed in, the window
    // still shows a hundred scene units across, so the lines never leave it all at once.
    static constexpr double minZoom = 0.2;
    static constexpr double maxZoom = 20.0;
    // Tilted no further than looking straight down or up: a turntable does not turn over.
    static constexpr double maxPitch = 1.5707963267948966;
    // Panned no further than keeps the window's centre over the cube (of half-extent 800, in
    // a picture whose half-width is 1000 units).
    static constexpr double panReach = 0.8;
    static constexpr Time holdAfterRelease{3000};
    static constexpr Time easeDuration{1000};

    double yaw() const { return yaw_; }
    double pitch() const { return pitch_; }
    double zoom() const { return zoom_; }
    double panX() const { return panX_; }
    double panY() const { return panY_; }

    // No turn, zoom or pan: the frame is drawn exactly as the camera alone draws it.
    bool isIdentity() const;

    // A drag of dx, dy pixels (y downwards) in a window whose shorter side is `side` pixels:
    // dragging across that side turns the scene half a turn, the side nearest the viewer
    // following the pointer.
    void turnByDrag(double dx, double dy, double side);
    // Radians: yaw turns the near side to the right, pitch turns it down.
    void turn(double yaw, double pitch);
    // About the window's centre: what is there stays there. Bounded; a factor that is not a
    // positive finite number is ignored.
    void zoomBy(double factor);
    // In fractions of the window's half-width and half-height, up positive.
    void panBy(double dx, double dy);
    // Back to the camera alone: no turn, zoom or pan, and the orbit live at once.
    void reset();

    // The user takes hold of the scene: the picture keeps the camera that it shows now (while
    // already held, nothing changes).
    void hold(const OrbitCamera& live, Time now);
    // The user lets go: the orbit comes back in holdAfterRelease from now.
    void release(Time now);
    // A moment's touch (a key, a wheel step): held and let go at once, unless a drag holds.
    void touch(const OrbitCamera& live, Time now);
    bool isHeld() const { return orbit_ == Orbit::Held; }
    // True once the picture follows the live camera again (or never stopped following it).
    bool followsCamera(Time now) const;

    // The camera that the picture is drawn from: the live one, the snapshot, or on the way
    // from one to the other.
    OrbitCamera pictureCamera(const OrbitCamera& live, Time now) const;

    // The frame's projection is screenMatrix() × orthographic bounds × turnMatrix(camera) ×
    // the camera's look-at. The zoom and pan, in normalized device coordinates (depth is left
    // alone, so zooming in cuts nothing more of the scene's depth).
    Matrix screenMatrix() const;
    // The turn, in eye space, about the centre of the scene (the orbit's centre).
    Matrix turnMatrix(const OrbitCamera& camera) const;
    // Where a scene point lands in normalized device coordinates, by the same maths.
    std::array<double, 3> project(const OrbitCamera& camera, double x, double y, double z) const;

    bool operator==(const UserView&) const = default;

  private:
    enum class Orbit { Live, Held, Released };

    double yaw_ = 0.0;
    double pitch_ = 0.0;
    double zoom_ = 1.0;
    double panX_ = 0.0;
    double panY_ = 0.0;

    Orbit orbit_ = Orbit::Live;
    OrbitCamera held_;
    Time releasedAt_{0};
};
