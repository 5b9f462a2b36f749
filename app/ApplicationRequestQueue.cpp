#include "ApplicationRequestQueue.h"

#include <QAbstractEventDispatcher>
#include <QThread>

#include <algorithm>

ApplicationRequestQueue::ApplicationRequestQueue(Handler handler, QObject* parent)
    : QObject(parent)
    , handler_(std::move(handler)) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(burstQuietMs);
    connect(&quiet_, &QTimer::timeout, this, [this] { burstWindows_ = 0; });
}

bool ApplicationRequestQueue::add(Request request) {
    quiet_.stop();
    const auto newDocument = [](const Request& r) { return r.files.isEmpty(); };
    if (newDocument(request)) {
        // New documents asked for together make one: the launcher's latest data goes with it.
        const auto waiting = std::find_if(pending_.begin(), pending_.end(), newDocument);
        if (waiting != pending_.end()) {
            for (auto it = request.platformData.cbegin(); it != request.platformData.cend(); ++it)
                waiting->platformData.insert(it.key(), it.value());
            return true;
        }
    } else {
        // A file already waiting to be opened opens once.
        request.files.removeDuplicates();
        request.files.removeIf([this](const QString& file) {
            return std::any_of(pending_.begin(), pending_.end(),
                               [&file](const Request& r) { return r.files.contains(file); });
        });
        if (request.files.isEmpty())
            return true;
    }
    const int windows = newDocument(request) ? 1 : int(request.files.size());
    if (burstWindows_ + windows > maximumWindowsPerBurst)
        return false;
    burstWindows_ += windows;
    pending_.push_back(std::move(request));
    schedule();
    return true;
}

bool ApplicationRequestQueue::insideLocalLoop() const {
    return busy_ || QThread::currentThread()->loopLevel() > 1;
}

void ApplicationRequestQueue::waitForTheTopLevel() {
    if (waiting_)
        return;
    // The event loop goes idle between events: the first time it does so outside every local
    // loop, the local loops have ended.
    waiting_ = connect(QAbstractEventDispatcher::instance(),
                       &QAbstractEventDispatcher::aboutToBlock, this, [this] {
                           if (insideLocalLoop())
                               return;
                           disconnect(waiting_);
                           waiting_ = {};
                           schedule();
                       });
}

void ApplicationRequestQueue::schedule() {
    QMetaObject::invokeMethod(this, &ApplicationRequestQueue::processNext, Qt::QueuedConnection);
}

void ApplicationRequestQueue::processNext() {
    if (pending_.empty())
        return;
    // Inside a local event loop (this queue's own request, a dialog): later, from the top.
    if (insideLocalLoop()) {
        waitForTheTopLevel();
        return;
    }
    const Request request = std::move(pending_.front());
    pending_.pop_front();
    busy_ = true;
    handler_(request);
    busy_ = false;
    if (!pending_.empty()) {
        schedule();
        return;
    }
    quiet_.start();
    emit drained();
}
