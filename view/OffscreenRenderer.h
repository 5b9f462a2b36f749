#pragma once

#include "SceneFrame.h"
#include "base/Result.h"

#include <QImage>
#include <QSize>

#include <memory>

// Draws frames of a scene into a framebuffer object of one size in device pixels, with the scene
// view's own drawing, and reads each back: a picture top row first, opaque (RGBX) or, on a
// transparent background, with the lines' alpha (RGBA). Needs no window and no display server
// (neither X11 nor Wayland): the context comes from Mesa's surfaceless EGL platform. Needs no
// Qt GUI application either. The context is current on the thread that makes the renderer,
// which alone may draw with it, for as long as it lives.
class OffscreenRenderer {
  public:
    explicit OffscreenRenderer(const QSize& size);
    ~OffscreenRenderer();
    OffscreenRenderer(const OffscreenRenderer&) = delete;
    OffscreenRenderer& operator=(const OffscreenRenderer&) = delete;

    // Succeeds once frames of that size can be drawn; else says why not.
    const Result<void>& ready() const { return ready_; }
    // The frame for these inputs (their size is the renderer's), as a view draws it; frames
    // follow each other as a view's do.
    Result<QImage> draw(const FrameInputs& inputs);

  private:
    struct Gl;
    std::unique_ptr<Gl> gl_;
    Result<void> ready_;
    bool setUp_ = false;
};

// One frame drawn by a renderer of its own.
Result<QImage> renderSceneOffscreen(const FrameInputs& inputs);

// The largest side of a picture that renderSceneOffscreen() can draw with this OpenGL driver.
Result<int> largestOffscreenSide();
