#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QImage;

// The picture formats, one rule for every way a picture is written (Export Image… and the
// command line): a name's suffix names its format, and a suffix that names no format that can
// be written is refused rather than guessed at.

// The formats QImageWriter can write here, by their usual suffixes.
QList<QByteArray> writablePictureFormats();

// The format a picture of that name is written in: its suffix's; `unnamed` when the name has
// no suffix; empty when its suffix names no format that can be written.
QByteArray pictureFormatFor(const QString& path, const QByteArray& unnamed);

// Fails when a picture may not have that name, with a phrase naming the formats that can be
// written.
Result<void> checkPictureName(const QString& path);

// The picture encoded whole in the format (a QImageWriter format name), or why it could not be.
Result<QByteArray> encodePicture(const QImage& image, const QByteArray& format);
