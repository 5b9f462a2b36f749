#pragma once

#include "view/OrbalinOpenGLView.h"

// What tests and benchmarks reach inside a scene view, kept out of its public interface.
struct OrbalinOpenGLViewTestAccess {
    static const QTimer& animationTimer(const OrbalinOpenGLView& view) {
        return view.animationTimer;
    }
    // The budget above which frames are drawn on the render thread, for every view.
    static void setOffThreadBudget(long long budget) {
        OrbalinOpenGLView::setOffThreadBudget(budget);
    }
};
