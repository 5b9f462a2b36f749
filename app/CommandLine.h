#pragma once

#include "RenderOptions.h"
#include "ScreensaverOptions.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// What the command line asks for, read with QCommandLineParser.
struct CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

  public:
    enum class Action {
        Open,    // the windows: the files named, or a new document
        Render,  // a picture of a scene, with no display
        Print,   // --help or --version: `text` goes to standard output
        Mistake, // `text` (the mistake and where to read more) goes to standard error
        // The scene in a screen saver's window, or in one of its own.
        Screensaver,
    };

    Action action = Action::Open;
    bool fullScreen = false;
    QStringList files;
    RenderRequest render;
    ScreensaverRequest screensaver;
    QString text;

    // The exit status for Mistake.
    static constexpr int usageError = 2;
    // The largest side --size takes; the OpenGL driver may allow less.
    static constexpr int largestSizeSide = 32768;
    // What goes to standard error for a mistake: the one line that says it, and where to read
    // more, as GNU tools have it.
    static QString mistakeText(const QString& mistake);
    // The mistake of a --size beyond `largest` (the OpenGL driver's limit when not ours).
    static QString sizeMistake(const QString& size, int largest, bool driversLimit);

    // `arguments` starts with the program's name.
    static CommandLine parse(const QStringList& arguments);
    // Reads argv with a QCoreApplication of its own, gone again on return: nothing here needs a
    // display.
    static CommandLine read(int argc, char** argv);
};
