#include "framework/WindowRedraw.h"

#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include <map>

namespace {

// Follows the windows' native windows: a resize, then the exposure or update that draws the
// window at its new size. The loop quits while that event is being delivered, so it ends only
// once the window has drawn and handed its picture to the display server.
class RedrawWatch : public QObject {
  public:
    RedrawWatch(const QList<QPointer<QWidget>>& windows, QEventLoop* loop)
        : loop_(loop) {
        for (const QPointer<QWidget>& window : windows)
            if (window && window->windowHandle()) {
                QWindow* handle = window->windowHandle();
                resized_[handle] = false;
                handle->installEventFilter(this);
                // Gone before it drew: nothing to wait for any more.
                connect(handle, &QObject::destroyed, this, [this, handle] { finished(handle); });
            }
    }

    bool done() const { return resized_.empty(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto window = resized_.find(static_cast<QWindow*>(watched));
        if (window == resized_.end())
            return false;
        if (event->type() == QEvent::Resize)
            window->second = true;
        else if (window->second &&
                 (event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest))
            finished(window->first);
        return false;
    }

  private:
    void finished(QWindow* window) {
        if (resized_.erase(window) > 0) {
            window->removeEventFilter(this);
            if (done())
                loop_->quit();
        }
    }

    QEventLoop* loop_;
    std::map<QWindow*, bool> resized_; // the windows not yet drawn, and whether each is resized
};

} // namespace

void waitUntilRedrawnAtNewSize(const QList<QPointer<QWidget>>& windows, int limitMs) {
    QEventLoop loop;
    RedrawWatch watch(windows, &loop);
    if (watch.done())
        return;
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
}
