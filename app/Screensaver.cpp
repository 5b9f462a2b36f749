// The screen saver itself: one view of a scene at a time in the host window, a new scene now
// and then, and the frame rate and notices over it.
#include "Screensaver.h"

#include "ScreensaverCaption.h"
#include "ScreensaverFrameRate.h"
#include "view/OrbalinOpenGLView.h"

#include <QWindow>

#include <algorithm>
#include <chrono>

namespace {

// The tick of the view's own timer.
constexpr int viewTickMicroseconds = 16'000;
// How long a notice stays over the scene.
constexpr auto noticeShown = std::chrono::seconds(8);

} // namespace

Screensaver::Screensaver(QWindow* host, const ScreensaverRequest& request, SceneDocument* document,
                         const QString& notice)
    : host_(host)
    , request_(request)
    , document_(document) {
    tickTimer_.setTimerType(Qt::PreciseTimer);
    tickTimer_.setInterval(std::max(1, (request.delayMicroseconds + 500) / 1000));
    connect(&tickTimer_, &QTimer::timeout, this, [this] {
        if (view_)
            view_->animate();
    });
    if (request.newSceneEverySeconds > 0) {
        sceneTimer_.setInterval(std::chrono::seconds(request.newSceneEverySeconds));
        connect(&sceneTimer_, &QTimer::timeout, this, &Screensaver::newScene);
    }
    if (request.showFrameRate)
        frameRate_ = new ScreensaverFrameRate(host);
    if (!notice.isEmpty()) {
        notice_ = new ScreensaverCaption(host, ScreensaverCaption::Corner::TopLeft);
        notice_->setText(notice);
    }
}

Screensaver::~Screensaver() {
    // The view goes first, and its context with it, while the host is still there.
    delete view_;
    delete frameRate_;
    delete notice_;
}

OrbalinOpenGLView* Screensaver::view() const {
    return view_;
}

void Screensaver::fit(const QSize& size) {
    size_ = size;
    if (view_)
        view_->setGeometry(QRect(QPoint(0, 0), size));
    if (frameRate_)
        frameRate_->place(size);
    if (notice_)
        notice_->place(size);
}

void Screensaver::newScene() {
    // A view with no document makes its own random scene on its first frame, as a new
    // document's view does; one given the scene file's document shows that scene.
    auto* view = new OrbalinOpenGLView(QRect(QPoint(0, 0), size_.expandedTo({1, 1})));
    view->setOrbalinDocument(document_);
    scaleCameraSteps(view->camera(), request_.speed);
    // The view ticks every 16 ms by itself; any other tick comes from here.
    const bool ownTick = request_.delayMicroseconds != viewTickMicroseconds;
    view->setPaused(ownTick);
    view->setFlags(Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    view->setParent(host_);
    view->show();
    if (frameRate_) {
        connect(view, &QOpenGLWindow::frameSwapped, frameRate_, &ScreensaverFrameRate::frameShown);
        frameRate_->place(size_);
        frameRate_->show();
    }
    if (notice_) {
        notice_->place(size_);
        if (!notice_->isVisible()) {
            notice_->show();
            // Shown once, over the first scene, for a while.
            QTimer::singleShot(noticeShown, this, [this] { delete notice_; });
        }
    }
    // The old view goes once the new one covers it.
    delete view_;
    view_ = view;
    if (ownTick)
        tickTimer_.start();
    if (request_.newSceneEverySeconds > 0)
        sceneTimer_.start();
}
