#include "RecordCommand.h"

#include "ErrorLine.h"
#include "RenderCommand.h"
#include "RenderOptions.h"
#include "animation/AnimationTiming.h"
#include "framework/SafeFileWriter.h"
#include "record/AnimationRecording.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <csignal>
#include <unistd.h>

namespace {

struct RecordCommand {
    Q_DECLARE_TR_FUNCTIONS(RecordCommand)
};

// Cancelled from a signal handler: its flag is a lock-free atomic.
BackgroundTask* recording = nullptr;
volatile std::sig_atomic_t stoppedBy = 0;

void stop(int signal) {
    stoppedBy = signal;
    if (recording)
        recording->cancel();
}

// Until the recording is over, SIGINT and SIGTERM cancel it; what was written goes, then the
// signal ends the program as it would have.
class StopOnSignal {
  public:
    explicit StopOnSignal(BackgroundTask& task) {
        recording = &task;
        struct sigaction action {};
        action.sa_handler = stop;
        sigemptyset(&action.sa_mask);
        for (const int signal : {SIGINT, SIGTERM})
            sigaction(signal, &action, nullptr);
    }
    ~StopOnSignal() {
        for (const int signal : {SIGINT, SIGTERM})
            std::signal(signal, SIG_DFL);
        recording = nullptr;
        if (stoppedBy != 0)
            std::raise(stoppedBy);
    }
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;
};

} // namespace

int recordAnimationFile(const RenderRequest& request, const FrameInputs& start) {
    const bool toStandardOutput = request.output == QStringLiteral("-");
    const QString quoted =
        toStandardOutput ? RecordCommand::tr("The animation for standard output")
                         : RecordCommand::tr("The animation “%1”").arg(shownOutput(request.output));
    const QString notMade = RecordCommand::tr("%1 could not be made.").arg(quoted);

    Recording recording{start, {}, frameCount(*request.duration, request.ticksPerFrame)};
    AnimationSettings& settings = recording.settings;
    settings.format = request.animationFormat;
    settings.ticksPerFrame = request.ticksPerFrame;
    settings.transparent = request.background == Background::Transparent;
    settings.threads = std::max(2, static_cast<int>(::sysconf(_SC_NPROCESSORS_ONLN)));
    settings.size = encodableSize(settings.format, request.size);
    recording.start.devicePixels = settings.size;
    if (const int status = checkDrawableSize(settings.size, notMade); status != 0)
        return status;
    if (settings.size != request.size)
        printErrorLine(RecordCommand::tr("%1 needs even sides: the animation is %2x%3 pixels.")
                           .arg(animationFormatName(settings.format))
                           .arg(settings.size.width())
                           .arg(settings.size.height()));

    BackgroundTask task;
    const StopOnSignal stopOnSignal(task);
    if (toStandardOutput) {
        if (standardOutputWasClosed())
            return failWith(notMade, RecordCommand::tr("standard output is closed; send the "
                                                       "animation to a file or a pipe"));
        // Animations are for programs: a terminal would only show garbage.
        if (::isatty(STDOUT_FILENO))
            return failWith(notMade, RecordCommand::tr("standard output is a terminal; send the "
                                                       "animation to a file or a pipe"));
        const Result<void> streamed = recordAnimation(recording, STDOUT_FILENO, false, &task);
        if (!streamed && !streamed.cancelled())
            return failWith(notMade, streamed.reason());
        return streamed ? 0 : 1;
    }
    // A pipe or a device named as the animation: standard output is the way to them.
    Result<SafeFileStream> file = SafeFileStream::open(request.output);
    if (!file) {
        const bool device = !checkSaveTarget(request.output) && !QFileInfo(request.output).isDir();
        return failWith(notMade,
                        device ? file.reason() + RecordCommand::tr("; --output - writes the "
                                                                   "animation to standard output")
                               : file.reason());
    }
    Result<void> written = recordAnimation(recording, file->descriptor(), true, &task);
    if (written)
        written = file->commit(&task.cancelFlag());
    if (!written && !written.cancelled())
        return failWith(notMade, written.reason());
    return written ? 0 : 1;
}
