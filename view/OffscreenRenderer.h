#pragma once

#include "OrbitCamera.h"
#include "base/Result.h"
#include "model/GLPointPair.h"

#include <QImage>
#include <QSize>

// Draws one frame of a scene into a framebuffer object of the given size in device pixels,
// with the scene view's own drawing, and reads it back: an opaque picture, top row first.
// Needs no window and no display server (neither X11 nor Wayland): the context comes from
// Mesa's surfaceless EGL platform. Needs no Qt GUI application either.
Result<QImage> renderSceneOffscreen(const OrbitCamera& camera, const PointPairs* scene,
                                    const QSize& size);

// The largest side of a picture that renderSceneOffscreen() can draw with this OpenGL driver.
Result<int> largestOffscreenSide();
