#pragma once

#include "SceneFrame.h"
#include "base/Result.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// Draws a view's frames on a thread of its own, so that a frame that takes seconds never holds
// up the GUI thread. The thread has its own OpenGL context (compatibility profile, on Mesa's
// surfaceless platform: it needs no window and no surface of the display server) and draws
// into a framebuffer object with the very drawing of every other frame, then hands the
// finished pixels back to this object's thread.
//
// Requests go through a mailbox of one slot, not a queue: a request replaces any that the
// thread has not begun, so the next frame drawn always shows the latest inputs, however many
// came while the last one was being drawn.
class FrameRenderThread : public QObject {
    Q_OBJECT

  public:
    // Starts the thread; it makes its context before its first frame.
    explicit FrameRenderThread(QObject* parent = nullptr);
    // Never waits for the thread: a frame being drawn is finished in the background and thrown
    // away, and the thread then ends on its own, destroying its context.
    ~FrameRenderThread() override;

    FrameRenderThread(const FrameRenderThread&) = delete;
    FrameRenderThread& operator=(const FrameRenderThread&) = delete;

    // Asks for a frame of these inputs.
    void request(const FrameInputs& inputs);

    // The latest finished frame, bottom row first as OpenGL holds it; null before the first.
    const QImage& frameBottomUp() const { return frame_; }
    int framesFinished() const { return framesFinished_; }

    // Render threads still running in the process, whether their owner is gone or not.
    static int liveThreads();
    // Ends every render thread on the way out of main, before exit's handlers run: the GL
    // libraries register some of their own only as they first draw, later than any handler of
    // ours, and exit runs those first. Threads that are idle or finish within a short bound end
    // cleanly; if a frame is still being drawn after that, the process ends at once with
    // `status`, its output flushed. (An exit from elsewhere does the same in a handler.)
    static void endAll(int status);

  signals:
    void frameReady();
    // The thread could not draw (no surfaceless OpenGL here, or a framebuffer too large); it
    // has ended.
    void failed(const QString& reason);

  private:
    friend struct FrameRenderThreadTestAccess;
    // Runs on a render thread before each frame it draws (a test holds a frame in flight with
    // it, or fails the thread as a driver would).
    static void setBeforeFrameHook(std::function<Result<void>()> hook);

    struct Mailbox;
    static void run(Mailbox& mailbox);
    void deliver(QImage frame);

    std::shared_ptr<Mailbox> mailbox_;
    QImage frame_;
    int framesFinished_ = 0;
};
