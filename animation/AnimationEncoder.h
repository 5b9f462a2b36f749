#pragma once

#include "animation/AnimationFormat.h"
#include "base/Result.h"

#include <QImage>
#include <QSize>

#include <memory>
#include <vector>

struct AnimationSettings {
    AnimationFormat format = AnimationFormat::WebM;
    // The size of every frame, already encodableSize().
    QSize size;
    // The frame period in ticks; the frame rate is exactly 125 / (2N) a second.
    int ticksPerFrame = 2;
    // Only for canBeTransparent() formats: pixels with alpha 0 are left out. GIF, which has no
    // partial transparency, leaves out those less than half opaque.
    bool transparent = false;
    // How many frames there will be, or 0 when that is not known. A streamed WebM states its
    // length up front from it; otherwise files state the length actually written.
    int frameCount = 0;
    // How many threads the encoder may use.
    int threads = 2;
    // A few frames from across the whole clip, rendered before the recording starts, for
    // formats that choose their colours once for the clip (GIF); the first frame stands in
    // when there are none. Same size and format as the frames.
    std::vector<QImage> samples;
};

// Encodes the frames of a recording, one after another, into a file of its format.
class AnimationEncoder {
  public:
    virtual ~AnimationEncoder() = default;
    // Adds the next frame: settings.size, QImage::Format_RGBA8888 (straight alpha, 255
    // everywhere unless transparent), top row first.
    virtual Result<void> addFrame(const QImage& frame) = 0;
    // Flushes the encoder and writes what ends the file; the file is complete only once this
    // succeeds. Nothing may be added after it.
    virtual Result<void> finish() = 0;
};

// An encoder that writes to `fd` from its current offset. The descriptor stays the caller's:
// it is not closed. `seekable`: it is an ordinary file the encoder may seek on (and read back
// on, when it is open for reading too, to move MP4's index to the front); false for pipes and
// standard output, where only formats that canStream() are allowed.
Result<std::unique_ptr<AnimationEncoder>> makeAnimationEncoder(const AnimationSettings& settings,
                                                               int fd, bool seekable);
