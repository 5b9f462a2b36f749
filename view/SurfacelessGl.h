#pragma once

#include "base/Result.h"

#include <QImage>
#include <QSize>
#include <QString>

// OpenGL with no window and no display server: a compatibility-profile context on Mesa's
// surfaceless EGL platform and a framebuffer object to draw into. Used by pictures drawn
// without a window and by the thread that draws a heavy view's frames.

// A desktop OpenGL context of the compatibility profile, current on the thread that made it
// while the object lives. Any thread may make one; each is its own.
class SurfacelessContext {
  public:
    SurfacelessContext();
    ~SurfacelessContext();
    SurfacelessContext(const SurfacelessContext&) = delete;
    SurfacelessContext& operator=(const SurfacelessContext&) = delete;

    // Succeeds once the context is current; else says why it could not be made.
    const Result<void>& ready() const { return ready_; }

  private:
    void* context_ = nullptr;
    Result<void> ready_;
};

// An RGBA framebuffer object of the given size, bound while the object lives.
class Framebuffer {
  public:
    explicit Framebuffer(const QSize& size);
    ~Framebuffer();
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;

    bool complete() const { return complete_; }
    QSize size() const { return size_; }

  private:
    QSize size_;
    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    bool complete_ = false;
};

// The largest picture the current context can draw, in each direction.
int largestFramebufferSide();

// Reads the bound framebuffer into an RGBX picture of its size, bottom row first as OpenGL
// holds them; the fourth byte is ignored, as it is on screen. False on failure.
bool readFramebufferBottomUp(QImage& image);
