#pragma once

struct RenderRequest;

// orbalin --render: one frame of a scene drawn into a picture file, or onto standard output,
// with no display server. Makes its own QCoreApplication (never a GUI one) and returns the
// exit status: 0 once the picture is written; 1, with the reason on standard error and no file
// written, when the scene cannot be read or the picture cannot be drawn or written; 2 when the
// size asked for is more than the OpenGL driver can draw. With a duration, an animation instead
// (see recordAnimationFile()).
int renderPicture(int argc, char** argv, const RenderRequest& request);

// First thing in main, before anything opens a file: a standard stream that the caller closed is
// opened on /dev/null, so that no file the program opens takes its number (a picture for
// standard output would land in that file). --output - then says that standard output is closed.
void fillClosedStandardStreams();
