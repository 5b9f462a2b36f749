#include "framework/BackgroundWork.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <memory>

namespace {

struct BackgroundWork {
    Q_DECLARE_TR_FUNCTIONS(BackgroundWork)
};

int dialogDelay = 500;
std::function<void(BackgroundTask&)> workHook;
// The bar's steps, and how often it follows the work.
constexpr int barSteps = 1000;
constexpr int barInterval = 50;

// Wide enough for its title, centred on the window it belongs to; the window manager may
// still move it.
void centre(QProgressDialog& dialog, QWidget* parent) {
    dialog.adjustSize();
    // Window managers draw titles larger than the dialog's own text, beside their buttons.
    const int title = dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) * 3 / 2 + 200;
    dialog.resize(std::max(dialog.width(), std::min(title, 800)), dialog.height());
    if (!parent)
        return;
    const QRect window = parent->window()->frameGeometry();
    dialog.move(window.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

// How far the work is, in its own units and the user's locale: "41 MB of 214 MB read".
QString amountText(const BackgroundTask::Amount& amount) {
    const QLocale locale;
    switch (amount.unit) {
    case BackgroundTask::Unit::Bytes:
        return BackgroundWork::tr("%1 of %2 read")
            .arg(locale.formattedDataSize(amount.done, 0, QLocale::DataSizeSIFormat),
                 locale.formattedDataSize(amount.total, 0, QLocale::DataSizeSIFormat));
    case BackgroundTask::Unit::Pairs:
        return BackgroundWork::tr("%1 of %2 pairs")
            .arg(locale.toString(qint64(amount.done)), locale.toString(qint64(amount.total)));
    case BackgroundTask::Unit::Frames:
        return BackgroundWork::tr("%1 of %2 frames")
            .arg(locale.toString(qint64(amount.done)), locale.toString(qint64(amount.total)));
    case BackgroundTask::Unit::None:
        break;
    }
    return QString();
}

// The bar says how far in words, where the work says it; else the share done.
void showAmount(QProgressBar* bar, const BackgroundTask& task) {
    const QString amount = amountText(task.amount());
    bar->setFormat(amount.isEmpty() ? QStringLiteral("%p%") : amount);
}

} // namespace

void setProgressNote(QWidget* parent, const QString& text) {
    if (auto* dialog = parent->findChild<QProgressDialog*>(QStringLiteral("progressDialog")))
        dialog->setLabelText(text);
}

int progressDialogDelay() {
    return dialogDelay;
}

void setProgressDialogDelay(int milliseconds) {
    dialogDelay = milliseconds;
}

void setBeforeBackgroundWork(std::function<void(BackgroundTask&)> hook) {
    workHook = std::move(hook);
}

bool runInBackground(QWidget* parent, const QString& label, AtQuit atQuit,
                     const std::function<void(BackgroundTask& task)>& work) {
    BackgroundTask task;
    std::atomic<bool> done{false};
    QEventLoop loop;
    const std::unique_ptr<QThread> thread(QThread::create([&work, &task, &done, hook = workHook] {
        if (hook)
            hook(task);
        work(task);
        done = true;
    }));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);

    // On the heap: the window it belongs to may close meanwhile (a quit from another window),
    // taking the dialog with it.
    QPointer<QProgressDialog> dialog =
        new QProgressDialog(label, BackgroundWork::tr("Cancel"), 0, barSteps, parent);
    dialog->setObjectName(QStringLiteral("progressDialog"));
    dialog->setWindowTitle(label);
    // A bar of its own, set directly: the dialog's setValue() would run a nested event loop.
    auto* bar = new QProgressBar;
    bar->setRange(0, barSteps);
    bar->setValue(0);
    dialog->setBar(bar);
    // A save leaves its window free, so that a close asked for meanwhile (its keys, its close
    // button, which a modal dialog would swallow) reaches the window and waits for the save.
    // A read blocks its window: there is nothing in it yet to close or save.
    if (!parent)
        dialog->setWindowModality(Qt::ApplicationModal);
    else if (atQuit == AtQuit::Cancel)
        dialog->setWindowModality(Qt::WindowModal);
    // Shown by the timer below only; never by the dialog's own timer or a value change.
    dialog->setMinimumDuration(std::numeric_limits<int>::max());
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->reset(); // stops the dialog's own timer
    const auto cancel = [&task, dialog] {
        task.cancel();
        dialog->hide();
    };
    QObject::connect(dialog, &QProgressDialog::canceled, dialog, cancel);
    // Esc, which only rejects a dialog.
    QObject::connect(dialog, &QDialog::rejected, dialog, cancel);
    QTimer follow;
    follow.setInterval(barInterval);
    QObject::connect(&follow, &QTimer::timeout, bar, [&task, bar] {
        bar->setValue(static_cast<int>(task.progress() * barSteps));
        showAmount(bar, task);
    });
    QTimer showLater;
    showLater.setSingleShot(true);
    QObject::connect(&showLater, &QTimer::timeout, dialog, [&task, &follow, bar, dialog, parent] {
        if (task.isCancelled())
            return;
        bar->setValue(static_cast<int>(task.progress() * barSteps));
        showAmount(bar, task);
        centre(*dialog, parent);
        dialog->show();
        follow.start();
    });

    thread->start();
    showLater.start(dialogDelay);
    // An application quitting ends every event loop at once: a read is then cancelled, and
    // the thread is waited for here, since what it works on lives on this stack.
    if (thread->isRunning())
        loop.exec();
    if (!done && atQuit == AtQuit::Cancel)
        task.cancel();
    thread->wait();
    delete dialog;
    return !task.isCancelled();
}
