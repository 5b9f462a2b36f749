#include "framework/PictureWriter.h"

#include "framework/FileDescriptor.h"
#include "framework/PictureFormats.h"
#include "framework/SafeFileWriter.h"

#include <QImage>

bool writeImageFile(const QImage& image, const QString& path, const QByteArray& format,
                    QString* reason) {
    const auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (format.isEmpty())
        return fail(pictureNameRefusal(path));
    QString why;
    const std::optional<QByteArray> bytes = encodePicture(image, format, &why);
    if (!bytes)
        return fail(why);
    const FileWriteResult written = writeFileSafely(path, *bytes);
    if (!written)
        return fail(written.reason);
    return true;
}

bool writeImageToDescriptor(const QImage& image, int fd, const QByteArray& format,
                            QString* reason) {
    const std::optional<QByteArray> bytes = encodePicture(image, format, reason);
    if (!bytes)
        return false;
    if (!writeAll(fd, *bytes)) {
        *reason = systemReason(errno);
        return false;
    }
    return true;
}
