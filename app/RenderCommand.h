#pragma once

struct RenderRequest;

// orbalin --render: one frame of a scene drawn into a picture file, or onto standard output,
// with no display server. Makes its own QCoreApplication (never a GUI one) and returns the
// exit status: 0 once the picture is written; 1, with the reason on standard error and no file
// written, when the scene cannot be read or the picture cannot be drawn or written; 2 when the
// size asked for is more than the OpenGL driver can draw.
int renderPicture(int argc, char** argv, const RenderRequest& request);
