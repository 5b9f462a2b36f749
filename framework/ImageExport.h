#pragma once

#include "framework/PictureWriter.h" // the writer Export Image… uses

#include <QImage>
#include <QString>

#include <functional>

class QWidget;

// Keeping a picture: asks where to save an image and in which of the formats Qt can write
// (PNG unless the user picks another), then writes it atomically. A name whose suffix names no
// format that can be written, or that is not an ordinary file, is refused in the dialog with
// the reason. Failures are shown to the user; returns the file written, or an empty string.
// The picture comes from `picture`, asked for one on a transparent background when the user
// checks that for a PNG.
QString exportImage(QWidget* parent, const std::function<Result<QImage>(bool transparent)>& picture,
                    const QString& suggestedPath);
