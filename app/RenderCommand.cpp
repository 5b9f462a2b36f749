#include "RenderCommand.h"

#include "CommandLine.h"
#include "OrbalinApplication.h"
#include "OrbalinDocument.h"
#include "framework/SafeFileWriter.h"
#include "model/Random.h"
#include "view/OffscreenRenderer.h"
#include "view/SceneFrame.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

#include <cstdio>

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

} // namespace

QList<QByteArray> writablePictureFormats() {
    QList<QByteArray> formats = QImageWriter::supportedImageFormats();
    formats.removeIf([](const QByteArray& format) { return format.isEmpty(); });
    return formats;
}

QByteArray pictureFormatFor(const QString& path) {
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (suffix.isEmpty())
        return QByteArrayLiteral("png");
    return writablePictureFormats().contains(suffix) ? suffix : QByteArray();
}

bool writePicture(const QImage& image, const QString& path, QString* reason) {
    const QByteArray format = pictureFormatFor(path);
    if (format.isEmpty()) {
        *reason = tr("its suffix names no picture format that can be written here");
        return false;
    }
    // Encoded whole first, then written so that a file it replaces stays whole on failure.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        *reason = writer.errorString();
        return false;
    }
    const FileWriteResult written = writeFileSafely(path, bytes);
    *reason = written.reason;
    return written.written;
}

int renderPicture(int argc, char** argv, const RenderRequest& request) {
    QCoreApplication application(argc, argv);
    OrbalinApplication::identify();
    // The shell seeds the random numbers from the clock, as when windows open.
    OrbalinApplication shell;
    QString failure;
    QString reason;
    const std::unique_ptr<Document> document =
        shell.documentController().readDocument(request.scene, &failure, &reason);
    if (!document)
        return fail(failure, reason);
    const PointPairArray scene = qobject_cast<OrbalinDocument*>(document.get())->pointPairArray();

    // The camera a window opened on this scene would make, after the same ticks. The pairs'
    // steps are left out: they change nothing drawn, and would make the ticks cost as much
    // as the scene is large.
    if (request.seed)
        seedRandom(*request.seed);
    OrbitCamera camera = OrbitCamera::randomCamera();
    for (int tick = 0; tick < request.ticks; ++tick)
        advanceCamera(camera);

    const OffscreenPicture picture = renderSceneOffscreen(camera, scene.get(), request.size);
    const QString pictureName = QFileInfo(request.output).fileName();
    if (picture.image.isNull())
        return fail(tr("The picture “%1” could not be drawn.").arg(pictureName), picture.error);
    if (!writePicture(picture.image, request.output, &reason))
        return fail(tr("The picture “%1” could not be written.").arg(pictureName), reason);
    return 0;
}
