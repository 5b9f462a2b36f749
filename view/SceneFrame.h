#pragma once

#include "OrbitCamera.h"
#include "UserView.h"
#include "model/GLPointPair.h"

#include <QSize>

// Half the extent of the orthographic viewing volume, in every direction.
inline constexpr double edgeOfUniverse = 1000.0;

// What lies behind the lines: black, as in a window, or nothing (alpha 0), for a picture that
// goes over others. Either way the lines themselves are opaque.
enum class Background { Opaque, Transparent };

// The OpenGL work of showing a scene, shared by the scene view and by pictures drawn without a
// window, so that both draw exactly the same frame for the same camera and scene. Each needs a
// compatibility-profile context current.

// The one-time state of a fresh context: pixel unpacking, a cleared buffer and a perspective
// for the camera's distance (which the first frame replaces with its own projection).
void setUpSceneContext(const OrbitCamera& camera);

// One frame in the current viewport: cleared to opaque black, projected orthographically
// through the camera's look-at, every pair drawn as one segment in array order, the whole
// frame left opaque. A null scene draws only the background. The user's turn, zoom and pan go
// on top of the camera; without them the frame is exactly the camera's. A transparent
// background is cleared to nothing, and the lines make their pixels opaque.
void drawSceneFrame(const OrbitCamera& camera, const PointPairs* scene,
                    const UserView& userView = UserView(),
                    Background background = Background::Opaque);

// Everything a frame shows depends on, as one value: a frame can be drawn from it anywhere, at
// any later time, on any thread (the scene is shared, never copied, and only read: drawing and
// the tick's step call const members of the pairs alone). Whatever else comes to shape the
// picture belongs here too, and is passed on by drawFrame().
struct FrameInputs {
    OrbitCamera camera;
    PointPairArray scene;
    QSize devicePixels; // the viewport's size
    UserView userView;  // the user's turn, zoom and pan on top of the camera
    Background background = Background::Opaque;

    bool operator==(const FrameInputs&) const = default;
};

// drawSceneFrame() for these inputs, in the current viewport.
void drawFrame(const FrameInputs& inputs);

// Every pair takes its own animation step, in array order.
void animatePointPairs(const PointPairs* scene);
// One tick of the animation: the angles advance, the camera is rebuilt, every pair takes its
// step.
void animateScene(OrbitCamera& camera, const PointPairs* scene);
// The camera's part of a tick alone. A pair's step moves and recolours nothing, so the camera
// after N of these is the camera after N ticks, and so is the picture.
void advanceCamera(OrbitCamera& camera);
