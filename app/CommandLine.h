#pragma once

#include "ScreensaverOptions.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// A picture of a scene drawn from the command line (--render).
struct RenderRequest {
    QString scene;
    QString output;
    QSize size{640, 480}; // a new window's size
    // The first frame a window draws comes before any tick, when the camera is still all
    // zero and shows nothing; after one tick it is in place.
    int ticks = 1;
    std::optional<std::uint32_t> seed; // the clock's, as in a window, when not given
};

// What the command line asks for, read with QCommandLineParser.
struct CommandLine {
    enum class Action {
        Open,    // the windows: the files named, or a new document
        Render,  // a picture of a scene, with no display
        Print,   // --help or --version: `text` goes to standard output
        Mistake, // `text` (the mistake and the usage) goes to standard error
        // The scene in a screen saver's window, or in one of its own.
        Screensaver,
    };

    Action action = Action::Open;
    bool fullScreen = false;
    QStringList files;
    RenderRequest render;
    ScreensaverRequest screensaver;
    QString text;

    // The exit status for Print and Mistake.
    static constexpr int usageError = 2;

    // `arguments` starts with the program's name.
    static CommandLine parse(const QStringList& arguments);
    // Reads argv with a QCoreApplication of its own, gone again on return: nothing here needs a
    // display.
    static CommandLine read(int argc, char** argv);
};
