#pragma once

#include "model/Random.h"
#include "view/OrbalinOpenGLView.h"

#include <QOpenGLWindow>
#include <QTimer>

#include <GL/gl.h>

#include <array>

// The least a window can do for the same picture: 50 coloured lines, redrawn every 16 ms.
class BareWindow : public QOpenGLWindow {
  public:
    BareWindow()
        : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate) {
        setFormat(OrbalinOpenGLView::defaultFormat());
        for (auto& line : lines_)
            for (double& v : line)
                v = randomDoubleBetween(-800, 800);
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] { update(); });
        timer_.start(16);
    }

  protected:
    void paintGL() override {
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1000, 1000, -1000, 1000, -1000, 1000);
        glMatrixMode(GL_MODELVIEW);
        glBegin(GL_LINES);
        for (const auto& l : lines_) {
            glColor4d(1, 0, 0, 1);
            glVertex3d(l[0], l[1], l[2]);
            glColor4d(0, 1, 1, 1);
            glVertex3d(l[3], l[4], l[5]);
        }
        glEnd();
    }

  private:
    std::array<std::array<double, 6>, 50> lines_{};
    QTimer timer_;
};
