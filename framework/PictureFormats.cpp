#include "framework/PictureFormats.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

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

QString pictureNameRefusal(const QString& path) {
    if (!pictureFormatFor(path, QByteArrayLiteral("png")).isEmpty())
        return QString();
    return QCoreApplication::translate("PictureFormats",
                                       "“%1” does not name a picture format that can be written "
                                       "here: its suffix must be one of %2")
        .arg(QFileInfo(path).fileName(), QString::fromLatin1(writablePictureFormats().join(", ")));
}

std::optional<QByteArray> encodePicture(const QImage& image, const QByteArray& format,
                                        QString* reason) {
    if (image.isNull()) {
        *reason = QCoreApplication::translate("PictureFormats", "there is no picture to write");
        return std::nullopt;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        *reason = writer.errorString();
        return std::nullopt;
    }
    return bytes;
}
