#pragma once

#include "animation/AnimationEncoder.h"

#include <QCoreApplication>

#include <cstddef>

// What the encoders of every format share.

struct AnimationEncoding {
    Q_DECLARE_TR_FUNCTIONS(AnimationEncoding)
};

// The failure of a system call that set `error`, in the system's words.
Failure systemCallFailure(int error);

// Writes whole blocks to the caller's descriptor, and remembers why it could not.
class FileSink {
  public:
    explicit FileSink(int fd)
        : fd_(fd) {}

    bool write(const void* data, std::size_t size);
    int fd() const { return fd_; }
    bool failed() const { return error_ != 0; }
    // Why the last write failed.
    Failure failure() const { return systemCallFailure(error_); }

  private:
    int fd_;
    int error_ = 0;
};

// The frame as the encoders read it, in Format_RGBA8888, or why it cannot be one of the
// recording's.
Result<QImage> recordedFrame(const QImage& frame, const QSize& size);
// The failure of finishing a recording that has no frame at all.
Failure noFrames();

using EncoderMade = Result<std::unique_ptr<AnimationEncoder>>;
// WebM and MP4.
EncoderMade makeVideoEncoder(const AnimationSettings& settings, int fd, bool seekable);
EncoderMade makeGifEncoder(const AnimationSettings& settings, int fd);
EncoderMade makeWebpEncoder(const AnimationSettings& settings, int fd);
