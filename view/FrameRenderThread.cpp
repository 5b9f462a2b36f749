#include "FrameRenderThread.h"

#include "SurfacelessGl.h"

#include <GL/gl.h>
#include <malloc.h>

#include <QCoreApplication>
#include <QMetaObject>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

// What the owner and its thread share; the thread keeps it alive after the owner is gone.
struct FrameRenderThread::Mailbox {
    std::mutex mutex;
    std::condition_variable wake;
    std::optional<FrameInputs> pending; // the one slot
    FrameRenderThread* owner = nullptr; // null once the owner is gone: nothing more is posted
    bool closed = false;

    void close() {
        {
            const std::lock_guard lock(mutex);
            closed = true;
            owner = nullptr;
            pending.reset();
        }
        wake.notify_one();
    }
};

namespace {

// Every render thread of the process, for the end of the process.
struct Registry {
    std::mutex mutex;
    std::condition_variable ended;
    struct Entry {
        std::weak_ptr<void> alive; // expires when the thread has let go of its mailbox
        std::function<void()> close;
    };
    std::vector<Entry> threads;
    int live = 0;
    std::function<Result<void>()> beforeFrame;
};

// Never destroyed: render threads may outlive every static object.
Registry& registry() {
    static auto* const instance = new Registry;
    return *instance;
}

// A frame on the software renderer can take seconds and cannot be interrupted, and exit()
// would go on to run the GL library's own exit handlers (which tear down the very display and
// driver state that a frame in flight is using) while such a thread draws. So at exit the
// threads are told to stop, and those that are idle or finish within a short bound end
// cleanly; if a frame is still being drawn after that, the process ends at once with the
// status it was given, its output flushed, instead of waiting seconds for a picture that no
// one will see. Registered once a thread has its context, so after most of the GL libraries'
// handlers, and so it runs before them; the GL libraries register more as they draw, which is
// why main ends the threads itself before it returns.
void endRenderThreadsAtExit(int status, void*) {
    FrameRenderThread::endAll(status);
}

// The render thread yields to the GUI thread and to other programs: its frames are the work
// that can wait. The software renderer's rasterising threads are started with the context and
// inherit this.
void lowerThisThreadsPriority() {
    const auto tid = static_cast<id_t>(gettid());
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, tid);
    if (errno == 0)
        setpriority(PRIO_PROCESS, tid, std::min(nice + 10, 19));
}

} // namespace

FrameRenderThread::FrameRenderThread(QObject* parent)
    : QObject(parent)
    , mailbox_(std::make_shared<Mailbox>()) {
    mailbox_->owner = this;
    Registry& r = registry();
    {
        const std::lock_guard lock(r.mutex);
        ++r.live;
        std::erase_if(r.threads, [](const auto& thread) { return thread.alive.expired(); });
        std::weak_ptr<Mailbox> weak = mailbox_;
        r.threads.push_back({weak, [weak] {
                                 if (const auto mailbox = weak.lock())
                                     mailbox->close();
                             }});
    }

    // Detached: the owner never joins it (that would wait for the frame in flight); the thread
    // holds the mailbox and ends when it is closed.
    try {
        std::thread([mailbox = mailbox_] { run(*mailbox); }).detach();
    } catch (const std::system_error& error) {
        // No thread to be had (the process is at its limit): the view draws its heavy frames
        // itself, as it does when the thread has no OpenGL.
        {
            const std::lock_guard lock(r.mutex);
            --r.live;
            r.ended.notify_all();
        }
        const QString failure = QStringLiteral("no thread could be started (%1)")
                                    .arg(QString::fromLocal8Bit(error.what()));
        QMetaObject::invokeMethod(
            this, [this, failure] { emit failed(failure); }, Qt::QueuedConnection);
    }
}

// The thread's life: a context of its own, then a frame for each request until the mailbox is
// closed.
void FrameRenderThread::run(Mailbox& box) {
    Mailbox* const mailbox = &box;
    lowerThisThreadsPriority();
    Registry& r = registry();
    // Posted under the lock, so the owner cannot go in between; a posted call that the
    // owner has not run when it goes is dropped with it.
    auto post = [&](auto&& makeCall) {
        const std::lock_guard lock(mailbox->mutex);
        if (FrameRenderThread* owner = mailbox->owner)
            QMetaObject::invokeMethod(owner, makeCall(owner), Qt::QueuedConnection);
    };
    {
        SurfacelessContext context;
        static std::once_flag exitHandler;
        std::call_once(exitHandler, [] { on_exit(endRenderThreadsAtExit, nullptr); });
        QString failure = context.ready() ? QString() : context.ready().reason();
        std::optional<Framebuffer> framebuffer;
        bool setUp = false;
        while (failure.isEmpty()) {
            FrameInputs inputs;
            {
                std::unique_lock lock(mailbox->mutex);
                mailbox->wake.wait(lock, [&] { return mailbox->pending || mailbox->closed; });
                if (mailbox->closed)
                    break;
                inputs = std::move(*mailbox->pending);
                mailbox->pending.reset();
            }
            std::function<Result<void>()> beforeFrame;
            {
                const std::lock_guard lock(r.mutex);
                beforeFrame = r.beforeFrame;
            }
            if (beforeFrame) {
                if (const Result<void> going = beforeFrame(); !going) {
                    failure = going.reason();
                    break;
                }
            }
            const QSize size = inputs.devicePixels;
            if (size.isEmpty())
                continue;
            if (!framebuffer || framebuffer->size() != size) {
                framebuffer.reset();
                framebuffer.emplace(size);
                if (!framebuffer->complete()) {
                    failure = QStringLiteral("no framebuffer of %1x%2 pixels")
                                  .arg(size.width())
                                  .arg(size.height());
                    break;
                }
                glViewport(0, 0, size.width(), size.height());
            }
            // The context's one-time state, as a view's first frame sets it.
            if (!setUp) {
                setUpSceneContext(inputs.camera);
                setUp = true;
            }
            drawFrame(inputs);
            // The scene goes as soon as it is drawn: a closed document's memory is not
            // kept by a thread waiting for its next frame.
            inputs = FrameInputs();
            QImage frame(size, QImage::Format_RGBX8888);
            if (frame.isNull() || !readFramebufferBottomUp(frame)) {
                failure = QStringLiteral("the frame could not be read back");
                break;
            }
            post([&](FrameRenderThread* owner) {
                return [owner, frame = std::move(frame)]() mutable {
                    owner->deliver(std::move(frame));
                };
            });
        }
        if (!failure.isEmpty())
            post([&](FrameRenderThread* owner) {
                return [owner, failure] { emit owner->failed(failure); };
            });
    }
    // A view closed mid-frame left its scene to this thread, freed here after the window's
    // own trim: hand that memory back to the system too.
    malloc_trim(0);
    const std::lock_guard lock(r.mutex);
    --r.live;
    r.ended.notify_all();
}

FrameRenderThread::~FrameRenderThread() {
    mailbox_->close();
}

void FrameRenderThread::request(const FrameInputs& inputs) {
    {
        const std::lock_guard lock(mailbox_->mutex);
        mailbox_->pending = inputs;
    }
    mailbox_->wake.notify_one();
}

void FrameRenderThread::deliver(QImage frame) {
    frame_ = std::move(frame);
    ++framesFinished_;
    emit frameReady();
}

void FrameRenderThread::endAll(int status) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    for (const auto& thread : r.threads)
        thread.close();
    if (r.ended.wait_for(lock, std::chrono::milliseconds(500), [&] { return r.live == 0; }))
        return;
    std::fflush(nullptr);
    std::_Exit(status);
}

int FrameRenderThread::liveThreads() {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    return r.live;
}

void FrameRenderThread::setBeforeFrameHook(std::function<Result<void>()> hook) {
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    r.beforeFrame = std::move(hook);
}
