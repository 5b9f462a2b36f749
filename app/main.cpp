#include "ApplicationService.h"
#include "CommandLine.h"
#include "OrbalinApplication.h"
#include "RenderCommand.h"
#include "Screensaver.h"
#include "framework/MemoryRelease.h"

#include <QApplication>

#include <cstdio>

namespace {

// The document windows, until the last one closes.
int runWindows(int argc, char** argv, const CommandLine& command, bool startedByBus) {
    QApplication application(argc, argv);
    OrbalinApplication::configure(application);
    OrbalinApplication orbalin;
    // One instance per user session: when one runs already, it takes the files.
    ApplicationService service(orbalin, startedByBus);
    const Result<ApplicationService::HandOver> handed =
        service.handOver(command.files, command.fullScreen);
    if (!handed) {
        std::fprintf(stderr, "orbalin: %s\n", handed.reason().toLocal8Bit().constData());
        return 1;
    }
    if (*handed == ApplicationService::HandOver::Done)
        return 0;
    if (!startedByBus) {
        orbalin.start(command.files, command.fullScreen);
        // Nothing opened (every file named failed and was reported): nothing to run.
        if (orbalin.documentController().documents().empty())
            return 1;
    }
    return application.exec();
}

} // namespace

int main(int argc, char** argv) {
    // Before any thread starts: a closed document's memory can then go back to the system.
    returnFreedMemoryPromptly();
    // Started by the session bus: the call that started the program says what to open.
    const bool startedByBus = ApplicationService::takeActivationFlag(argc, argv);
    // Read before anything needs a display: help, version, mistakes and pictures never do.
    const CommandLine command = CommandLine::read(argc, argv);
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
