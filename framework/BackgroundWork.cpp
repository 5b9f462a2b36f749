#include "framework/BackgroundWork.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <limits>
#include <memory>

namespace {

int dialogDelay = 500;

} // namespace

int progressDialogDelay() {
    return dialogDelay;
}

void setProgressDialogDelay(int milliseconds) {
    dialogDelay = milliseconds;
}

bool runInBackground(QWidget* parent, const QString& label,
                     const std::function<void(const std::atomic<bool>& cancelled)>& work) {
    std::atomic<bool> cancelled{false};
    QEventLoop loop;
    const std::unique_ptr<QThread> thread(
        QThread::create([&work, &cancelled] { work(cancelled); }));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);

    QProgressDialog dialog(label, QCoreApplication::translate("BackgroundWork", "Cancel"), 0, 0,
                           parent);
    dialog.setObjectName(QStringLiteral("progressDialog"));
    dialog.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    // Shown by the timer below only; never by the dialog's own timer or a value change.
    dialog.setMinimumDuration(std::numeric_limits<int>::max());
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.reset(); // stops the dialog's own timer
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&cancelled, &dialog] {
        cancelled = true;
        dialog.hide();
    });
    QTimer showLater;
    showLater.setSingleShot(true);
    QObject::connect(&showLater, &QTimer::timeout, &dialog, [&dialog, &cancelled] {
        if (!cancelled)
            dialog.show();
    });

    thread->start();
    showLater.start(dialogDelay);
    // An application quitting ends every event loop at once: the thread is then waited for
    // here, since what it works on lives on this stack.
    if (thread->isRunning())
        loop.exec();
    thread->wait();
    return !cancelled;
}
