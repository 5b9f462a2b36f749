#pragma once

#include "OrbitCamera.h"
#include "model/GLPointPair.h"

#include <QImage>
#include <QSize>
#include <QString>

// A picture of one frame, or why there is none.
struct OffscreenPicture {
    QImage image; // opaque, top row first; null on failure
    QString error;
    // When the size asked for is more than the OpenGL driver can draw: the largest side it can.
    int driverLargestSide = 0;
};

// Draws one frame of a scene into a framebuffer object of the given size in device pixels,
// with the scene view's own drawing, and reads it back. Needs no window and no display server
// (neither X11 nor Wayland): the context comes from Mesa's surfaceless EGL platform. Needs no
// Qt GUI application either.
OffscreenPicture renderSceneOffscreen(const OrbitCamera& camera, const PointPairs* scene,
                                      const QSize& size);
