#pragma once

#include <QSize>
#include <QString>

struct RenderRequest;

// orbalin --render: one frame of a scene drawn into a picture file, or onto standard output,
// with no display server. Makes its own QCoreApplication (never a GUI one) and returns the
// exit status: 0 once the picture is written; 1, with the reason on standard error and no file
// written, when the scene cannot be read or the picture cannot be drawn or written; 2 when the
// size asked for is more than the OpenGL driver can draw. With a duration, an animation instead
// (see recordAnimationFile()).
int renderPicture(int argc, char** argv, const RenderRequest& request);

// What the command line writes, by the name the user gave: "-" as is, else the file's name.
QString shownOutput(const QString& output);

// 0 when the OpenGL driver can draw a picture of that size; else the exit status, having said
// why on standard error: `failure` and the reason, or a --size beyond the driver's limit as a
// mistake in the command line.
int checkDrawableSize(const QSize& size, const QString& failure);

// First thing in main, before anything opens a file: a standard stream that the caller closed is
// opened on /dev/null, so that no file the program opens takes its number (a picture for
// standard output would land in that file). --output - then says that standard output is closed.
void fillClosedStandardStreams();
// Whether standard output was closed when the program started (it is /dev/null since).
bool standardOutputWasClosed();
