#include "RenderCommand.h"

#include "AppController.h"
#include "CommandLine.h"
#include "ErrorLine.h"
#include "OrbalinApplication.h"
#include "OrbalinDocument.h"
#include "RecordCommand.h"
#include "framework/PictureWriter.h"
#include "framework/SafeFileWriter.h"
#include "model/Random.h"
#include "view/OffscreenRenderer.h"
#include "view/SceneFrame.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

struct RenderCommand {
    Q_DECLARE_TR_FUNCTIONS(RenderCommand)
};

// What the user would read in the dialog, on standard error.
bool standardOutputClosed = false;

// The picture, whole, onto standard output: nothing else is ever written there.
Result<void> writeToStandardOutput(const QImage& image, const QByteArray& format) {
    if (standardOutputClosed)
        return Failure::because(
            RenderCommand::tr("standard output is closed; send the picture to a file or a pipe"));
    // Pictures are for programs: a terminal would only show garbage.
    if (::isatty(STDOUT_FILENO))
        return Failure::because(RenderCommand::tr(
            "standard output is a terminal; send the picture to a file or a pipe"));
    return writeImageToDescriptor(image, STDOUT_FILENO, format);
}

} // namespace

bool standardOutputWasClosed() {
    return standardOutputClosed;
}

void fillClosedStandardStreams() {
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF)
            continue;
        standardOutputClosed = standardOutputClosed || stream == STDOUT_FILENO;
        // The lowest free number: this one, as the ones below it are open.
        const int null = ::open("/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != stream) {
            ::dup2(null, stream);
            ::close(null);
        }
    }
}

QString shownOutput(const QString& output) {
    const QString name = QFileInfo(output).fileName();
    return name.isEmpty() ? output : name;
}

int checkDrawableSize(const QSize& size, const QString& failure) {
    const Result<int> largest = largestOffscreenSide();
    if (!largest)
        return failWith(failure, largest.reason());
    if (size.width() <= *largest && size.height() <= *largest)
        return 0;
    // The same mistake as a size beyond our own limit, with the driver's.
    const QString asked = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    const QString text = CommandLine::mistakeText(CommandLine::sizeMistake(asked, *largest, true));
    std::fputs(text.toLocal8Bit().constData(), stderr);
    return CommandLine::usageError;
}

int renderPicture(int argc, char** argv, const RenderRequest& request) {
    QCoreApplication application(argc, argv);
    OrbalinApplication::identify();
    // Seeded from the clock as when the windows' shell starts; --seed replaces that below.
    AppController::seedFromClock();
    const Result<std::unique_ptr<OrbalinDocument>> document =
        OrbalinDocument::readSceneFile(request.scene);
    if (!document)
        return failWith(DocumentController::openFailure(request.scene), document.reason());
    const PointPairArray scene = (*document)->pointPairArray();

    // The camera a window opened on this scene would make, after the same ticks. The pairs'
    // steps are left out: they change nothing drawn, and would make the ticks cost as much
    // as the scene is large.
    if (request.seed)
        seedRandom(*request.seed);
    OrbitCamera camera = OrbitCamera::randomCamera();
    for (int tick = 0; tick < request.ticks; ++tick)
        advanceCamera(camera);
    if (request.duration)
        return recordAnimationFile(request, {camera, scene, request.size, {}, request.background});

    const bool toStandardOutput = request.output == QStringLiteral("-");
    const QString quoted =
        toStandardOutput ? RenderCommand::tr("The picture for standard output")
                         : RenderCommand::tr("The picture “%1”").arg(shownOutput(request.output));
    const QString notDrawn = RenderCommand::tr("%1 could not be drawn.").arg(quoted);
    if (const int status = checkDrawableSize(request.size, notDrawn); status != 0)
        return status;
    const Result<QImage> picture =
        renderSceneOffscreen({camera, scene, request.size, {}, request.background});
    if (!picture)
        return failWith(notDrawn, picture.reason());
    const QString notWritten = RenderCommand::tr("%1 could not be written.").arg(quoted);
    // A pipe or a device named as the picture: standard output is the way to them.
    if (!toStandardOutput && !QFileInfo(request.output).isDir()) {
        if (const Result<void> target = checkSaveTarget(request.output); !target)
            return failWith(notWritten,
                            target.reason() +
                                RenderCommand::tr("; --output - writes the picture to standard "
                                                  "output"));
    }
    const Result<void> written = toStandardOutput
                                     ? writeToStandardOutput(*picture, request.format)
                                     : writeImageFile(*picture, request.output, request.format);
    if (!written)
        return failWith(notWritten, written.reason());
    return 0;
}
