#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class QAction;
class QMenu;

// The standard commands of a document window, handed over by pointer from the window
// description the document loads: the framework gives each its keys and its work.
struct DocumentCommands {
    QAction* newDocument = nullptr;
    QAction* open = nullptr;
    QMenu* openRecent = nullptr;
    QAction* save = nullptr;
    QAction* saveAs = nullptr;
    QAction* close = nullptr;
    QAction* quit = nullptr;
    QAction* about = nullptr;
    QAction* fullScreen = nullptr;
};

// Whether the window description handed over the command. One it left out is a fault in the
// program, not in anything the user did: a debug build stops at once, naming it, so that it is
// seen at start-up rather than as a menu item that quietly does nothing; a release build goes
// on without it.
inline bool hasCommand(const QObject* command, const char* name) {
#ifndef QT_NO_DEBUG
    if (!command)
        qFatal("The window description hands over no %s command", name);
#else
    Q_UNUSED(name);
#endif
    return command != nullptr;
}

// Gives the window's command its keys, active wherever the focus is in its window; false (as
// hasCommand()) when there is no such command.
bool prepareCommand(QAction* command, const char* name, const QList<QKeySequence>& keys);
