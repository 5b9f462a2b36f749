#include "framework/PictureFormats.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

namespace {

struct PictureFormats {
    Q_DECLARE_TR_FUNCTIONS(PictureFormats)
};

} // namespace

QList<QByteArray> writablePictureFormats() {
    QList<QByteArray> formats = QImageWriter::supportedImageFormats();
    formats.removeIf([](const QByteArray& format) { return format.isEmpty(); });
    return formats;
}

QByteArray pictureFormatFor(const QString& path, const QByteArray& unnamed) {
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (suffix.isEmpty())
        return unnamed;
    return writablePictureFormats().contains(suffix) ? suffix : QByteArray();
}

Result<void> checkPictureName(const QString& path) {
    if (!pictureFormatFor(path, QByteArrayLiteral("png")).isEmpty())
        return {};
    return Failure::because(
        PictureFormats::tr("“%1” does not name a picture format that can be written here: its "
                           "suffix must be one of %2")
            .arg(QFileInfo(path).fileName(),
                 QString::fromLatin1(writablePictureFormats().join(", "))));
}

Result<QByteArray> encodePicture(const QImage& image, const QByteArray& format) {
    if (image.isNull())
        return Failure::because(PictureFormats::tr("there is no picture to write"));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return Failure::because(writer.errorString());
    return bytes;
}
