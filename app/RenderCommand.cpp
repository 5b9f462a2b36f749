#include "RenderCommand.h"

#include "AppController.h"
#include "CommandLine.h"
#include "OrbalinApplication.h"
#include "OrbalinDocument.h"
#include "framework/PictureWriter.h"
#include "framework/SafeFileWriter.h"
#include "model/Random.h"
#include "view/OffscreenRenderer.h"
#include "view/SceneFrame.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>

#include <cstdio>
#include <unistd.h>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("RenderCommand", text);
}

// What the user would read in the dialog, on standard error.
int fail(const QString& failure, const QString& reason) {
    const QString message = QStringLiteral("%1: %2 %3\n")
                                .arg(QCoreApplication::applicationName(), failure,
                                     DocumentController::sentence(reason));
    std::fputs(message.toLocal8Bit().constData(), stderr);
    return 1;
}

// The picture, whole, onto standard output: nothing else is ever written there.
bool writeToStandardOutput(const QImage& image, const QByteArray& format, QString* reason) {
    // Pictures are for programs: a terminal would only show garbage.
    if (::isatty(STDOUT_FILENO)) {
        *reason = tr("standard output is a terminal; send the picture to a file or a pipe");
        return false;
    }
    return writeImageToDescriptor(image, STDOUT_FILENO, format, reason);
}

} // namespace

int renderPicture(int argc, char** argv, const RenderRequest& request) {
    QCoreApplication application(argc, argv);
    OrbalinApplication::identify();
    // Seeded from the clock as when the windows' shell starts; --seed replaces that below.
    AppController().awakeFromNib();
    QString failure;
    QString reason;
    const std::unique_ptr<OrbalinDocument> document =
        OrbalinDocument::readSceneFile(request.scene, &failure, &reason);
    if (!document)
        return fail(failure, reason);
    const PointPairArray scene = document->pointPairArray();

    // The camera a window opened on this scene would make, after the same ticks. The pairs'
    // steps are left out: they change nothing drawn, and would make the ticks cost as much
    // as the scene is large.
    if (request.seed)
        seedRandom(*request.seed);
    OrbitCamera camera = OrbitCamera::randomCamera();
    for (int tick = 0; tick < request.ticks; ++tick)
        advanceCamera(camera);

    const OffscreenPicture picture = renderSceneOffscreen(camera, scene.get(), request.size);
    if (picture.driverLargestSide > 0) {
        // The same mistake as a size beyond our own limit, with the driver's.
        const QString size =
            QStringLiteral("%1x%2").arg(request.size.width()).arg(request.size.height());
        const QString text = CommandLine::mistakeText(
            CommandLine::sizeMistake(size, picture.driverLargestSide, true));
        std::fputs(text.toLocal8Bit().constData(), stderr);
        return CommandLine::usageError;
    }
    const bool toStandardOutput = request.output == QStringLiteral("-");
    const QString quoted = toStandardOutput
                               ? tr("The picture for standard output")
                               : tr("The picture “%1”").arg(QFileInfo(request.output).fileName());
    if (picture.image.isNull())
        return fail(tr("%1 could not be drawn.").arg(quoted), picture.error);
    // A pipe or a device named as the picture: standard output is the way to them.
    if (!toStandardOutput && !QFileInfo(request.output).isDir()) {
        if (const QString refusal = notAFileReason(request.output); !refusal.isEmpty())
            return fail(tr("%1 could not be written.").arg(quoted),
                        refusal + tr("; --output - writes the picture to standard output"));
    }
    const bool written =
        toStandardOutput ? writeToStandardOutput(picture.image, request.format, &reason)
                         : writeImageFile(picture.image, request.output, request.format, &reason);
    if (!written)
        return fail(tr("%1 could not be written.").arg(quoted), reason);
    return 0;
}
