#pragma once

#include "base/Result.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QCommandLineParser;

// Orbalin run as a screen saver: its scene drawn into a window that the screen-saver daemon
// (or another program) gives it, or into a window of its own, with the daemon's options.
struct ScreensaverRequest {
    enum class Target {
        OwnWindow, // neither --root nor --window-id
        Root,      // --root: the window the daemon names in XSCREENSAVER_WINDOW, else full screen
        WindowId,  // --window-id ID
    };
    Target target = Target::OwnWindow;
    std::uint32_t windowId = 0;     // with Target::WindowId
    int delayMicroseconds = 16'000; // the animation's tick
    double speed = 1.0;             // factor on the camera's angle and drift steps
    int newSceneEverySeconds = 180; // 0: one scene for the whole run
    bool showFrameRate = false;
    QString scene; // a scene file to show instead of random scenes
};

// An X11 window id as the daemon writes it: hexadecimal with 0x, or decimal; never 0.
std::optional<std::uint32_t> windowIdFrom(const QString& text);

// The screen-saver options of the command line. Any of them makes the run a screen saver.
// --fps is the recording's frame rate beside --render: without `withFrameRate`, it is not
// the saver's.
class ScreensaverOptions {
    Q_DECLARE_TR_FUNCTIONS(ScreensaverOptions)

  public:
    explicit ScreensaverOptions(bool withFrameRate = true);
    ~ScreensaverOptions();
    ScreensaverOptions(const ScreensaverOptions&) = delete;
    ScreensaverOptions& operator=(const ScreensaverOptions&) = delete;

    void addTo(QCommandLineParser& parser) const;
    bool anySet(const QCommandLineParser& parser) const;
    // Fills `request` from the parsed options, or says what is wrong with them.
    Result<void> read(const QCommandLineParser& parser, ScreensaverRequest& request) const;

  private:
    bool withFrameRate_;
    struct Options;
    std::unique_ptr<Options> options_;
};
