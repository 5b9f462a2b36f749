#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QImage;
struct RenderRequest;

// orbalin --render: one frame of a scene drawn into a picture file with no display server.
// Makes its own QCoreApplication (never a GUI one) and returns the exit status: 0 once the
// picture is written; 1, with the reason on standard error and no file written, when the scene
// cannot be read or the picture cannot be drawn or written.
int renderPicture(int argc, char** argv, const RenderRequest& request);

// The formats QImageWriter can write here, by their usual suffixes.
QList<QByteArray> writablePictureFormats();
// The format a picture file of that name is written in: its suffix's, PNG when the name has no
// suffix; empty when the suffix names no format that can be written.
QByteArray pictureFormatFor(const QString& path);
// Writes the picture whole or not at all: into a temporary file beside it, renamed over the
// name only once complete. On failure says why.
bool writePicture(const QImage& image, const QString& path, QString* reason);
