#pragma once

#include "base/BackgroundTask.h"

#include <QString>

#include <functional>

class QWidget;

// What becomes of work still running when the application quits.
enum class AtQuit {
    Cancel, // it is cancelled, and the quit waits only until it has stopped (reading)
    Finish, // the quit waits until it has finished (saving)
};

// Runs one piece of work on a thread of its own while the caller waits in a local event loop,
// so that every window goes on animating and repainting meanwhile. When the work takes longer
// than half a second, a progress dialog comes up, centred on `parent`'s window and modal to it
// when reading (application-modal without one; a save leaves the window free): titled `label`, it
// shows the share of the work done as the work reports it, and a Cancel button. Cancel sets the
// task's flag and hides the dialog; the work decides where it may stop (it should look every few
// milliseconds), and the call still waits until it has returned, so that nothing it touches goes
// away under it. Returns false when the work was cancelled, by the user or by the application
// quitting.
//
// Events are delivered while the call waits: callers guard against being called again.
bool runInBackground(QWidget* parent, const QString& label, AtQuit atQuit,
                     const std::function<void(BackgroundTask& task)>& work);

// Replaces the words of the progress dialog of the work running for `parent`, if any.
void setProgressNote(QWidget* parent, const QString& text);

// How long work may take before its progress dialog comes up (500 ms unless set).
int progressDialogDelay();
void setProgressDialogDelay(int milliseconds);

// Runs on the work's thread before each piece of work from now on, given its task (a test holds
// work in progress with it); an empty one runs nothing. Set it while no work runs.
void setBeforeBackgroundWork(std::function<void(BackgroundTask&)> hook);
