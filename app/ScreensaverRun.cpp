// The process's entry for the screen saver: finds the display and the window to draw in, reads
// the scene file, and runs the saver until the daemon ends it.
#include "Screensaver.h"

#include "AppController.h"
#include "ErrorLine.h"
#include "OrbalinApplication.h"
#include "OrbalinDocument.h"
#include "ScreensaverSignals.h"
#include "ScreensaverWindow.h"
#include "framework/ErrorBox.h"
#include "view/FrameRenderThread.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <cerrno>
#include <cstring>
#include <xcb/xcb.h>

namespace {

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

int runScreensaver(int argc, char** argv, const ScreensaverRequest& request) {
    // The daemon may end the saver at any moment, even this early: a signal held since the
    // program started comes now.
    if (!ScreensaverSignals::install())
        return failWith(Screensaver::tr("cannot catch SIGTERM: %1")
                            .arg(QString::fromLocal8Bit(strerror(errno))));
    ScreensaverSignals::release();
    if (ScreensaverSignals::received())
        return 0;
    if (const QString missing = missingDisplay(); !missing.isEmpty())
        return failWith(missing);
    qputenv("QT_QPA_PLATFORM", "xcb");
    // Without a session bus, the platform's accessibility bridge would have one started for the
    // display, and it would outlive the saver: the saver needs no bus.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    QGuiApplication application(argc, argv);
    OrbalinApplication::identify();
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return failWith(Screensaver::tr("a screen saver draws on X11 only."));

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
            printErrorLine(notice);
        }
    }

    std::uint32_t windowId = request.windowId;
    const QString daemonWindow = qEnvironmentVariable("XSCREENSAVER_WINDOW");
    if (request.target != ScreensaverRequest::Target::WindowId && !daemonWindow.isEmpty()) {
        const std::optional<std::uint32_t> id = windowIdFrom(daemonWindow);
        if (!id)
            return failWith(
                Screensaver::tr("XSCREENSAVER_WINDOW holds “%1”, which is no X11 window id.")
                    .arg(daemonWindow));
        windowId = *id;
    }

    std::unique_ptr<ScreensaverWindow> foreign;
    std::unique_ptr<QWindow> host;
    if (windowId != 0) {
        foreign = ScreensaverWindow::watch(windowId);
        if (!foreign)
            return failWith(
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
