#include "framework/PictureWriter.h"

#include "framework/PictureFormats.h"
#include "framework/SafeFileWriter.h"
#include "framework/files/FileDescriptor.h"

#include <QImage>

Result<void> writeImageFile(const QImage& image, const QString& path, const QByteArray& format) {
    if (format.isEmpty()) {
        if (Result<void> name = checkPictureName(path); !name)
            return name;
    }
    const Result<QByteArray> bytes = encodePicture(image, format);
    if (!bytes)
        return bytes.failure();
    return writeFileSafely(path, *bytes);
}

Result<void> writeImageToDescriptor(const QImage& image, int fd, const QByteArray& format) {
    const Result<QByteArray> bytes = encodePicture(image, format);
    if (!bytes)
        return bytes.failure();
    return writeAll(fd, *bytes);
}
