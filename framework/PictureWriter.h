#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>

class QImage;

// The one way a picture is written, by Export Image… and by the command line alike: encoded
// whole in the format (a QImageWriter format name) before a byte goes out, so that a picture
// that cannot be encoded writes nothing.

// To a file, atomically: an existing file is replaced only once the new one is completely
// written. An empty format (a name whose suffix names no format that can be written) is
// refused with the formats that can be.
Result<void> writeImageFile(const QImage& image, const QString& path, const QByteArray& format);

// Onto an open descriptor (standard output, a pipe), whole.
Result<void> writeImageToDescriptor(const QImage& image, int fd, const QByteArray& format);
