#include "ApplicationRequestQueue.h"

#include <QThread>

#include <algorithm>

namespace {

// How often a request waiting behind a local event loop looks whether it has ended.
constexpr int retryMs = 100;

} // namespace

ApplicationRequestQueue::ApplicationRequestQueue(Handler handler, QObject* parent)
    : QObject(parent)
    , handler_(std::move(handler)) {
    retry_.setSingleShot(true);
    retry_.setInterval(retryMs);
    connect(&retry_, &QTimer::timeout, this, &ApplicationRequestQueue::processNext);
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

void ApplicationRequestQueue::schedule() {
    QMetaObject::invokeMethod(this, &ApplicationRequestQueue::processNext, Qt::QueuedConnection);
}

void ApplicationRequestQueue::processNext() {
    if (pending_.empty())
        return;
    // Inside a local event loop (this queue's own request, a dialog): later, from the top.
    if (busy_ || QThread::currentThread()->loopLevel() > 1) {
        retry_.start();
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
