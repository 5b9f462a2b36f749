#pragma once

#include <QString>

#include <atomic>
#include <functional>

class QWidget;

// Runs one piece of work on a thread of its own while the caller waits in a local event loop,
// so that every window goes on animating and repainting meanwhile. When the work takes longer
// than half a second, a progress dialog with Cancel comes up: window-modal to `parent`, or
// application-modal without one. Cancel sets the flag the work is handed; the work decides
// where it may stop, and the call still waits until it has returned, so that nothing it
// touches goes away under it. Returns false when the user cancelled.
//
// Events are delivered while the call waits: callers guard against being called again.
bool runInBackground(QWidget* parent, const QString& label,
                     const std::function<void(const std::atomic<bool>& cancelled)>& work);

// How long work may take before its progress dialog comes up (500 ms unless set).
int progressDialogDelay();
void setProgressDialogDelay(int milliseconds);
