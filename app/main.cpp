#include "ApplicationService.h"
#include "CommandLine.h"
#include "ErrorLine.h"
#include "OrbalinApplication.h"
#include "RenderCommand.h"
#include "Screensaver.h"
#include "ScreensaverSignals.h"
#include "framework/MemoryRelease.h"
#include "view/FrameRenderThread.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

namespace {

struct Windows {
    Q_DECLARE_TR_FUNCTIONS(Windows)
};

// Qt ends a process whose platform finds no display with an abort and lines of its own: say it
// in one line first. A platform named in QT_QPA_PLATFORM is left to find its display itself.
bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The document windows, until the last one closes.
int runWindows(int argc, char** argv, const CommandLine& command, bool startedByBus) {
    if (!hasDisplay())
        return failWith(
            Windows::tr("there is no display to show windows on (neither DISPLAY nor "
                        "WAYLAND_DISPLAY is set); --render draws pictures without one."));
    QApplication application(argc, argv);
    // Qt's platforms without OpenGL windows (chosen in QT_QPA_PLATFORM) cannot show a scene.
    const QString platform = QGuiApplication::platformName();
    if (QStringList{"offscreen", "minimal", "linuxfb", "vnc"}.contains(platform))
        return failWith(Windows::tr("the “%1” platform cannot show OpenGL windows, which scenes "
                                    "are drawn in; --render draws pictures without a display.")
                            .arg(platform));
    OrbalinApplication::configure();
    OrbalinApplication orbalin;
    // One instance per user session: when one runs already, it takes the files.
    ApplicationService service(orbalin, startedByBus);
    const Result<ApplicationService::HandOver> handed =
        service.handOver(command.files, command.fullScreen);
    if (!handed)
        return failWith(handed.reason());
    if (*handed == ApplicationService::HandOver::Done)
        return 0;
    if (!startedByBus) {
        orbalin.start(command.files, command.fullScreen);
        // Nothing opened (every file named failed and was reported): nothing to run.
        if (orbalin.documentController().documents().empty())
            return 1;
    } else {
        orbalin.giveIconAfterFirstFrame(); // the bus's call opens the windows
    }
    const int status = QApplication::exec();
    FrameRenderThread::endAll(status);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    fillClosedStandardStreams();
    // Before any thread starts, so that every thread takes it on: the screen saver must end
    // cleanly whenever a signal comes.
    ScreensaverSignals::hold();
    // Before any thread starts: a closed document's memory can then go back to the system.
    returnFreedMemoryPromptly();
    // Started by the session bus: the call that started the program says what to open.
    const bool startedByBus = ApplicationService::takeActivationFlag(argc, argv);
    // Read before anything needs a display: help, version, mistakes and pictures never do.
    const CommandLine command = CommandLine::read(argc, argv);
    if (command.action != CommandLine::Action::Screensaver)
        ScreensaverSignals::release();
    switch (command.action) {
    case CommandLine::Action::Print:
        std::fputs(command.text.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Mistake:
        std::fputs(command.text.toLocal8Bit().constData(), stderr);
        return CommandLine::usageError;
    case CommandLine::Action::Render:
        return renderPicture(argc, argv, command.render);
    case CommandLine::Action::Screensaver:
        return runScreensaver(argc, argv, command.screensaver);
    case CommandLine::Action::Open:
        break;
    }
    return runWindows(argc, argv, command, startedByBus);
}
