#pragma once

#include "view/FrameRenderThread.h"
#include "view/OrbalinOpenGLView.h"

#include <functional>
#include <utility>

// What tests and benchmarks reach inside the view classes, kept out of their public interface.
struct OrbalinOpenGLViewTestAccess {
    static const QTimer& animationTimer(const OrbalinOpenGLView& view) {
        return view.animationTimer;
    }
    // The budget above which frames are drawn on the render thread, for every view.
    static void setOffThreadBudget(long long budget) {
        OrbalinOpenGLView::setOffThreadBudget(budget);
    }
};

struct FrameRenderThreadTestAccess {
    // Runs on a render thread before each frame it draws, so a test can hold a frame in
    // flight, or fail the thread in its place.
    static void setBeforeFrameHook(std::function<Result<void>()> hook) {
        FrameRenderThread::setBeforeFrameHook(std::move(hook));
    }
};
