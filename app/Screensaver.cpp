#include "Screensaver.h"

#include "AppController.h"
#include "OrbalinApplication.h"
#include "OrbalinDocument.h"
#include "ScreensaverCaption.h"
#include "ScreensaverFrameRate.h"
#include "ScreensaverSignals.h"
#include "ScreensaverWindow.h"
#include "framework/ErrorBox.h"
#include "view/FrameRenderThread.h"
#include "view/OrbalinOpenGLView.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <xcb/xcb.h>

namespace {

// The tick of the view's own timer.
constexpr int viewTickMicroseconds = 16'000;
// How long a notice stays over the scene.
constexpr auto noticeShown = std::chrono::seconds(8);

// One line on standard error: the daemon's log.
void say(const QString& line) {
    const QString message = QStringLiteral("orbalin: %1\n").arg(line);
    std::fputs(message.toLocal8Bit().constData(), stderr);
}

int fail(const QString& line) {
    say(line);
    return 1;
}

// Why there is no X11 display to draw on, or nothing when there is one. Asked before Qt starts,
// since a platform that fails to start ends the program with lines of its own.
QString missingDisplay() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return (platform.startsWith("wayland")
                    ? Screensaver::tr("a screen saver draws on X11 only, not on the “%1” "
                                      "platform; Wayland has no way to hand a screen saver's "
                                      "window to a program.")
                    : Screensaver::tr("a screen saver draws on X11 only, not on the “%1” "
                                      "platform."))
            .arg(QString::fromLocal8Bit(platform));
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                   ? Screensaver::tr("a screen saver needs an X11 display, and DISPLAY is not set.")
                   : Screensaver::tr(
                         "a screen saver needs X11, and this is a Wayland session: Wayland has no "
                         "way to hand a screen saver's window to a program.");
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed)
        return Screensaver::tr("cannot connect to the X11 display “%1”.")
            .arg(QString::fromLocal8Bit(display));
    return {};
}

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

int runScreensaver(int argc, char** argv, const ScreensaverRequest& request) {
    // The daemon may end the saver at any moment, even this early: a signal held since the
    // program started comes now.
    if (!ScreensaverSignals::install())
        return fail(Screensaver::tr("cannot catch SIGTERM: %1")
                        .arg(QString::fromLocal8Bit(strerror(errno))));
    ScreensaverSignals::release();
    if (ScreensaverSignals::received())
        return 0;
    if (const QString missing = missingDisplay(); !missing.isEmpty())
        return fail(missing);
    qputenv("QT_QPA_PLATFORM", "xcb");
    // Without a session bus, the platform's accessibility bridge would have one started for the
    // display, and it would outlive the saver: the saver needs no bus.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    QGuiApplication application(argc, argv);
    OrbalinApplication::identify();
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return fail(Screensaver::tr("a screen saver draws on X11 only."));

    // Seeded from the clock as when the windows' shell starts; a scene file is read as a
    // window's Open reads it. One that cannot be read leaves the random scenes: a saver that
    // ended for it would only be started again, to a black screen.
    AppController::seedFromClock();
    std::unique_ptr<OrbalinDocument> file;
    QString notice;
    if (!request.scene.isEmpty()) {
        // Lives as long as the handler may reach it.
        static BackgroundTask reading;
        ScreensaverSignals::setCancellable(&reading);
        Result<std::unique_ptr<OrbalinDocument>> read =
            OrbalinDocument::readSceneFile(request.scene, &reading);
        if (read.cancelled())
            return 0;
        if (read) {
            file = std::move(*read);
        } else {
            notice = DocumentController::openFailure(request.scene) + u' ' +
                     asSentence(read.reason()) + u' ' +
                     Screensaver::tr("Random scenes are shown instead.");
            say(notice);
        }
    }

    std::uint32_t windowId = request.windowId;
    const QString daemonWindow = qEnvironmentVariable("XSCREENSAVER_WINDOW");
    if (request.target != ScreensaverRequest::Target::WindowId && !daemonWindow.isEmpty()) {
        const std::optional<std::uint32_t> id = windowIdFrom(daemonWindow);
        if (!id)
            return fail(
                Screensaver::tr("XSCREENSAVER_WINDOW holds “%1”, which is no X11 window id.")
                    .arg(daemonWindow));
        windowId = *id;
    }

    std::unique_ptr<ScreensaverWindow> foreign;
    std::unique_ptr<QWindow> host;
    if (windowId != 0) {
        foreign = ScreensaverWindow::watch(windowId);
        if (!foreign)
            return fail(
                Screensaver::tr("there is no X11 window 0x%1 to draw into.").arg(windowId, 0, 16));
        host.reset(QWindow::fromWinId(windowId));
    } else {
        host = std::make_unique<QWindow>();
        host->setTitle(QStringLiteral("Orbalin"));
        host->resize(640, 480);
    }

    Screensaver saver(host.get(), request, file.get(), notice);
    if (foreign) {
        const auto fitForeign = [&saver, ratio = host->devicePixelRatio()](QSize size) {
            saver.fit((QSizeF(size) / ratio).toSize());
        };
        fitForeign(foreign->size());
        QObject::connect(foreign.get(), &ScreensaverWindow::resized, &saver, fitForeign);
        QObject::connect(foreign.get(), &ScreensaverWindow::gone, &application,
                         &QCoreApplication::quit);
    } else {
        const auto fitOwn = [&saver, window = host.get()] { saver.fit(window->size()); };
        QObject::connect(host.get(), &QWindow::widthChanged, &saver, fitOwn);
        QObject::connect(host.get(), &QWindow::heightChanged, &saver, fitOwn);
        if (request.target == ScreensaverRequest::Target::Root) {
            // The whole screen even where no window manager makes full-screen windows so.
            host->setGeometry(host->screen()->geometry());
            host->showFullScreen();
        } else {
            host->show();
        }
        fitOwn();
    }
    saver.newScene();

    ScreensaverSignals termination;
    QObject::connect(&termination, &ScreensaverSignals::terminationRequested, &application,
                     &QCoreApplication::quit);
    if (!ScreensaverSignals::received())
        QGuiApplication::exec();
    FrameRenderThread::endAll(0);
    return 0;
}
