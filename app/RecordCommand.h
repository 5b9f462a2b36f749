#pragma once

#include "view/SceneFrame.h"

struct RenderRequest;

// orbalin --render … --duration: the scene recorded as an animation file, or streamed onto
// standard output, with no display server; `start` is the first frame's. Returns the exit
// status: 0 once the file is complete; 1, with the reason on standard error and no file left,
// when it cannot be drawn, encoded or written; 2 when the size is more than the OpenGL driver
// can draw. SIGINT and SIGTERM stop it, leaving no file, and then end the program as they
// would have.
int recordAnimationFile(const RenderRequest& request, const FrameInputs& start);
