#pragma once

#include "animation/AnimationEncoder.h"
#include "base/BackgroundTask.h"
#include "base/Result.h"
#include "view/SceneFrame.h"

// A scene recorded as an animation: frame k shows the scene as a view shows it
// k × settings.ticksPerFrame ticks after `start`, with the same user view and background.
struct Recording {
    FrameInputs start;          // the first frame; its size is the clip's
    AnimationSettings settings; // format, timing, transparency; its size is start's
    int frames = 1;
};

// Draws the frames on the calling thread, with an OpenGL context of its own (no window, no
// display server), and encodes them on a second thread as they come: only a few frames are
// ever held at once, however long the clip. Writes to `fd` as makeAnimationEncoder() does.
// Reports the frames done to `task` and stops soon after it is cancelled, failing as
// cancelled; whatever was written by then is the caller's to throw away.
Result<void> recordAnimation(const Recording& recording, int fd, bool seekable,
                             BackgroundTask* task = nullptr);
