#include "AnimationRecording.h"

#include "view/OffscreenRenderer.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// Frames drawn but not yet encoded: drawing waits while this many are.
constexpr std::size_t framesInHand = 1;

// Frame k's inputs: the camera `k × ticksPerFrame` ticks on; the pairs' steps change nothing
// drawn.
class FrameClock {
  public:
    explicit FrameClock(const Recording& recording)
        : inputs_(recording.start)
        , ticksPerFrame_(recording.settings.ticksPerFrame) {}
    const FrameInputs& at(int frame) {
        for (; frame_ < frame; ++frame_)
            for (int tick = 0; tick < ticksPerFrame_; ++tick)
                advanceCamera(inputs_.camera);
        return inputs_;
    }

  private:
    FrameInputs inputs_;
    int ticksPerFrame_;
    int frame_ = 0;
};

// The frames between the drawing thread and the encoding one.
class FrameQueue {
  public:
    // Waits for room; false once the encoder has stopped.
    bool push(QImage frame) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return frames_.size() < framesInHand || stopped_; });
        if (stopped_)
            return false;
        frames_.push_back(std::move(frame));
        changed_.notify_all();
        return true;
    }
    // Waits for a frame; a null one once the drawing has ended and every frame is taken.
    QImage pop() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !frames_.empty() || ended_; });
        if (frames_.empty())
            return QImage();
        QImage frame = std::move(frames_.front());
        frames_.pop_front();
        changed_.notify_all();
        return frame;
    }
    void endDrawing() { set(ended_); }
    void stopEncoding() { set(stopped_); }

  private:
    void set(bool& flag) {
        const std::lock_guard lock(mutex_);
        flag = true;
        changed_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QImage> frames_;
    bool ended_ = false;
    bool stopped_ = false;
};

// The encoder's input: RGBA with straight alpha, 255 where opaque (an RGBX frame's fourth byte
// is 255 already).
QImage asEncoderFrame(QImage frame) {
    if (frame.format() == QImage::Format_RGBX8888)
        frame.reinterpretAsFormat(QImage::Format_RGBA8888);
    return frame;
}

} // namespace

Result<void> recordAnimation(const Recording& recording, int fd, bool seekable,
                             BackgroundTask* task) {
    OffscreenRenderer renderer(recording.start.devicePixels);
    if (!renderer.ready())
        return renderer.ready();
    FrameClock clock(recording);
    AnimationSettings settings = recording.settings;
    settings.size = recording.start.devicePixels;
    settings.frameCount = recording.frames;
    // A few frames from across the clip, for the format that chooses its colours once.
    const std::vector<int> samples =
        settings.format == AnimationFormat::GIF
            ? std::vector<int>{0, recording.frames / 3, 2 * recording.frames / 3,
                               recording.frames - 1}
            : std::vector<int>{};
    for (const int frame : samples) {
        FrameClock sampleClock(recording);
        Result<QImage> sample = renderer.draw(sampleClock.at(frame));
        if (!sample)
            return sample.failure();
        settings.samples.push_back(asEncoderFrame(std::move(*sample)));
    }
    Result<std::unique_ptr<AnimationEncoder>> made = makeAnimationEncoder(settings, fd, seekable);
    if (!made)
        return made.failure();
    settings.samples.clear();
    AnimationEncoder& encoder = **made;

    FrameQueue queue;
    Result<void> encoded;
    std::thread encoding([&] {
        for (QImage frame = queue.pop(); !frame.isNull(); frame = queue.pop()) {
            encoded = encoder.addFrame(frame);
            if (!encoded) {
                queue.stopEncoding();
                return;
            }
        }
    });
    Result<void> drawn;
    for (int frame = 0; frame < recording.frames; ++frame) {
        if (task && task->isCancelled()) {
            drawn = Failure::cancel();
            break;
        }
        Result<QImage> picture = renderer.draw(clock.at(frame));
        if (!picture) {
            drawn = picture.failure();
            break;
        }
        if (!queue.push(asEncoderFrame(std::move(*picture))))
            break; // the encoder has failed, and says why
        if (task) {
            task->setAmount(BackgroundTask::Unit::Frames, frame + 1, recording.frames);
            task->setProgress(double(frame + 1) / recording.frames);
        }
    }
    // Cancelled or failed, the encoder stops at once, leaving the frames in hand.
    if (!drawn)
        queue.stopEncoding();
    queue.endDrawing();
    encoding.join();
    if (!drawn)
        return drawn;
    if (!encoded)
        return encoded;
    return encoder.finish();
}
