#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// Turns SIGTERM and SIGINT, which the screen-saver daemon sends whenever the user comes back,
// into a signal on the event loop: the handler only writes a byte to a pipe, whose reading end
// the loop watches. One at a time; the handlers stay until the process ends.
class ScreensaverSignals : public QObject {
    Q_OBJECT

  public:
    // False (with errno set) when the pipe or the handlers cannot be set up.
    static bool install();
    // Needs install() and an application object.
    explicit ScreensaverSignals(QObject* parent = nullptr);
    ~ScreensaverSignals() override;

  signals:
    void terminationRequested();

  private:
    std::unique_ptr<QSocketNotifier> notifier_;
};
