#pragma once

#include "view/OrbalinOpenGLView.h"
#include "view/SceneDocument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <optional>
#include <vector>

// A document of the test's own: holds a scene and counts what the view asks of it.
class FakeDocument : public SceneDocument {
  public:
    PointPairArray pointPairArray() const override {
        ++asked;
        return scene;
    }
    void setPointPairArray(PointPairArray array) override {
        ++handed;
        scene = std::move(array);
    }

    PointPairArray scene;
    mutable int asked = 0;
    int handed = 0;
};

// Runs the event loop until done() holds or the time is up; returns done(). The time only
// bounds a failure: on a busy machine the condition comes late, never wrongly.
inline bool processEventsUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        // Outside a running event loop, deleteLater() waits for this.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

// Shows the view and waits until it has drawn its first frame.
inline bool showAndWaitForFirstFrame(OrbalinOpenGLView& view) {
    view.show();
    return processEventsUntil([&] { return view.isExposed() && view.inited(); });
}

inline PointPairArray sceneOf(std::vector<std::shared_ptr<GLPointPair>> pairs) {
    return std::make_shared<const PointPairs>(std::move(pairs));
}

// A pair whose first end is opaque red, so that its second end is cyan.
inline std::shared_ptr<GLPointPair> redToCyanPair(double x1, double y1, double z1, double x2,
                                                  double y2, double z2) {
    return std::make_shared<GLPointPair>(GLPointWithColor::pointWithX(x1, y1, z1, 1, 0, 0, 1),
                                         GLPointWithColor::pointWithX(x2, y2, z2));
}

// The back buffer of the current context, bottom row first.
class Pixels {
  public:
    Pixels(int width, int height)
        : width_(width)
        , height_(height)
        , data_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, data_.data());
    }
    std::array<int, 3> at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                               static_cast<std::size_t>(x)) *
                              4;
        return {data_[i], data_[i + 1], data_[i + 2]};
    }
    bool lit(int x, int y) const {
        const auto p = at(x, y);
        return p[0] + p[1] + p[2] > 0;
    }
    int litCount() const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                n += lit(x, y) ? 1 : 0;
        return n;
    }
    int width() const { return width_; }
    int height() const { return height_; }
    QSize size() const { return QSize(width_, height_); }
    bool operator==(const Pixels&) const = default;

  private:
    int width_;
    int height_;
    std::vector<unsigned char> data_;
};

struct Extent {
    int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN, count = 0;
};

// Where the lit pixels of a frame lie, and how many there are.
inline Extent litExtent(const Pixels& p) {
    Extent e;
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            if (!p.lit(x, y))
                continue;
            e.minX = std::min(e.minX, x);
            e.maxX = std::max(e.maxX, x);
            e.minY = std::min(e.minY, y);
            e.maxY = std::max(e.maxY, y);
            ++e.count;
        }
    }
    return e;
}

// A view that counts its ticks and, while asked to, keeps the pixels of each frame it really
// draws: read back when the frame is finished, before it is shown.
class RecordingView : public OrbalinOpenGLView {
  public:
    using OrbalinOpenGLView::OrbalinOpenGLView;

    void animate() override {
        ++ticks;
        OrbalinOpenGLView::animate();
    }

    // The next frame that the view draws at the given size in device pixels, if one comes.
    std::optional<Pixels> nextFrame(QSize devicePixels) {
        lastFrame_.reset();
        recording_ = true;
        update();
        processEventsUntil([&] { return lastFrame_ && lastFrame_->size() == devicePixels; });
        recording_ = false;
        return lastFrame_ && lastFrame_->size() == devicePixels ? std::move(lastFrame_)
                                                                : std::nullopt;
    }

    // Holds the camera of all angles and offsets 0 (eye (20, 0, 0), forward -x, up +z: the
    // scene's y axis runs to the right) through every later tick.
    void holdCameraStill() {
        OrbitCamera& c = camera();
        c.xangle = c.yangle = c.zangle = c.dxang = c.dyang = c.dzang = 0;
        c.rtoff = c.upoff = c.drt = c.dup = 0;
        calculateCameraPosition();
    }

    int ticks = 0;

  protected:
    void paintGL() override {
        OrbalinOpenGLView::paintGL();
        if (recording_)
            lastFrame_.emplace(qRound(width() * devicePixelRatio()),
                               qRound(height() * devicePixelRatio()));
    }

  private:
    bool recording_ = false;
    std::optional<Pixels> lastFrame_;
};
