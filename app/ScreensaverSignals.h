#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

class BackgroundTask;

// Turns SIGTERM and SIGINT, which the screen-saver daemon sends whenever the user comes back,
// into a signal on the event loop: the handler writes a byte to a pipe, whose reading end the
// loop watches. The daemon wants the screen back at once, whatever the saver is doing: the
// handler also cancels the task in hand (a scene file being read), and should the loop not
// have ended the process cleanly a tenth of a second later (in the middle of a long frame),
// the process ends there with status 0. The handlers stay until the process ends.
class ScreensaverSignals : public QObject {
    Q_OBJECT

  public:
    // SIGTERM and SIGINT wait (blocked) from hold() until release(): until the program knows
    // whether it runs as the screen saver, whose handlers then take a signal that came
    // meanwhile. Run otherwise, the program releases them untouched, to their usual effect.
    static void hold();
    static void release();
    // False (with errno set) when the pipe, the timer or the handlers cannot be set up.
    static bool install();
    // Whether a signal has come since install().
    static bool received();
    // A signal from now on cancels `task` (at once, when one came already); null for none.
    static void setCancellable(BackgroundTask* task);

    // Needs install() and an application object.
    explicit ScreensaverSignals(QObject* parent = nullptr);
    ~ScreensaverSignals() override;

  signals:
    void terminationRequested();

  private:
    std::unique_ptr<QSocketNotifier> notifier_;
};
