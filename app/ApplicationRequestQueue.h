#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <deque>
#include <functional>

// The requests that other programs send the running instance over the bus, carried out one at
// a time from the top-level event loop. Opening a file runs a local event loop (its background
// read, an error message): requests that arrive meanwhile wait their turn instead of nesting
// another open inside it. Requests that arrive together are merged where they ask for the same
// thing (new documents, the same file), and one burst of them may open only so many windows.
class ApplicationRequestQueue : public QObject {
    Q_OBJECT

  public:
    struct Request {
        QStringList files; // none: a new document
        QVariantMap platformData;
    };
    using Handler = std::function<void(const Request&)>;

    // The most windows one burst of requests may open; a request past it is refused whole.
    static constexpr int maximumWindowsPerBurst = 64;
    // A burst ends once the queue has been empty this long.
    static constexpr int burstQuietMs = 1000;

    explicit ApplicationRequestQueue(Handler handler, QObject* parent = nullptr);

    // Queues a request; false when the burst it belongs to would open too many windows.
    bool add(Request request);
    bool isEmpty() const { return pending_.empty() && !busy_; }

  signals:
    // Every request queued has been carried out.
    void drained();

  private:
    void schedule();
    void processNext();
    bool insideLocalLoop() const;
    void waitForTheTopLevel();

    Handler handler_;
    std::deque<Request> pending_;
    bool busy_ = false;
    // Windows the requests of the current burst may open.
    int burstWindows_ = 0;
    // Waits while a local event loop (a dialog, another open) runs, so that the next request is
    // carried out once it has ended.
    QMetaObject::Connection waiting_;
    QTimer quiet_;
};
