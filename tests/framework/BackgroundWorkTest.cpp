// The progress of background work: when its dialog comes up, what it shows, and how Cancel and
// quitting end the work. The work waits on conditions the test sets, never on the clock.
#include "framework/BackgroundWork.h"
#include "tests/support/Gate.h"

#include <QApplication>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// Work that stops only when cancelled, looking at its flag as decoding does.
void untilCancelled(BackgroundTask& task) {
    while (!task.isCancelled())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

QProgressDialog* visibleProgressDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QProgressDialog*>(widget);
        if (dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Calls `check` from the event loop every few milliseconds until it answers true.
class Watcher {
  public:
    explicit Watcher(std::function<bool()> check) {
        QObject::connect(&timer_, &QTimer::timeout, [this, check] {
            if (!done && check())
                done = true;
        });
        timer_.start(5);
    }
    bool done = false;

  private:
    QTimer timer_;
};

class BackgroundWorkTest : public ::testing::Test {
  protected:
    void TearDown() override { setProgressDialogDelay(delay_); }
    const int delay_ = progressDialogDelay();
};

TEST_F(BackgroundWorkTest, TheDialogMeasuresTheWorkIsCentredOnItsWindowAndCancels) {
    setProgressDialogDelay(0);
    // Its Cancel button, or Esc.
    for (const bool byEsc : {false, true}) {
        SCOPED_TRACE(byEsc ? "Esc" : "Cancel");
        QWidget window;
        window.setGeometry(200, 150, 640, 480);
        window.show();
        struct Seen {
            QString title;
            QString label;
            QString amount;
            QPoint centre;
            int value = -1;
            int maximum = -1;
        } seen;
        Watcher watcher([&] {
            QProgressDialog* dialog = visibleProgressDialog();
            auto* bar = dialog ? dialog->findChild<QProgressBar*>() : nullptr;
            if (!bar || bar->value() != 400)
                return false; // not up, or not yet following the work
            seen = {dialog->windowTitle(), dialog->labelText(),
                    bar->text(),           dialog->frameGeometry().center(),
                    bar->value(),          bar->maximum()};
            if (byEsc)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->findChild<QPushButton*>()->click();
            return true;
        });
        bool sawCancel = false;
        const bool finished = runInBackground(&window, QString::fromUtf8("Opening “big.orbalin”…"),
                                              AtQuit::Cancel, [&](BackgroundTask& task) {
                                                  task.setStage(0.2, 0.6);
                                                  task.setProgress(0.5);
                                                  task.setAmount(BackgroundTask::Unit::Bytes,
                                                                 41'000'000, 214'000'000);
                                                  untilCancelled(task);
                                                  sawCancel = true;
                                              });
        EXPECT_FALSE(finished);
        EXPECT_TRUE(sawCancel);
        EXPECT_TRUE(watcher.done);
        EXPECT_EQ(seen.title, QString::fromUtf8("Opening “big.orbalin”…"));
        EXPECT_EQ(seen.label, seen.title);
        EXPECT_EQ(seen.amount, "41 MB of 214 MB read");
        EXPECT_EQ(seen.maximum, 1000);
        EXPECT_EQ(seen.value, 400) << "a real share: half of the stage from 0.2 to 0.6";
        EXPECT_LE((seen.centre - window.frameGeometry().center()).manhattanLength(), 4);
        EXPECT_EQ(visibleProgressDialog(), nullptr);
    }
}

TEST_F(BackgroundWorkTest, TheDialogComesUpOnlyForWorkStillRunningAfterHalfASecond) {
    using Clock = std::chrono::steady_clock;
    const struct {
        const char* name;
        int delay;   // milliseconds; -1 for the program's own
        bool dialog; // the work is held until its dialog shows, or else let go at once
    } cases[] = {
        {"work that ends before the delay", 24 * 3600 * 1000, false},
        {"work that runs past the program's delay", -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setProgressDialogDelay(c.delay < 0 ? delay_ : c.delay);
        bool dialogSeen = false;
        Clock::time_point shown;
        Gate checked;
        // Looks while the work is surely still running; lets it end once it has seen what it
        // waits for.
        Watcher watcher([&] {
            dialogSeen = visibleProgressDialog() != nullptr;
            if (c.dialog && !dialogSeen)
                return false;
            shown = Clock::now();
            checked.open();
            return true;
        });
        const Clock::time_point start = Clock::now();
        EXPECT_TRUE(runInBackground(nullptr, "Saving", AtQuit::Finish,
                                    [&](BackgroundTask&) { checked.wait(); }));
        EXPECT_TRUE(watcher.done);
        EXPECT_EQ(dialogSeen, c.dialog);
        if (c.dialog) {
            // A busy machine only makes it later; a coarse timer, as Qt's are by default, may
            // fire up to a twentieth early.
            EXPECT_GE(shown - start, std::chrono::milliseconds(450));
        }
        EXPECT_EQ(visibleProgressDialog(), nullptr);
    }
}

TEST_F(BackgroundWorkTest, QuittingCancelsAReadButWaitsForASave) {
    const struct {
        AtQuit atQuit;
        bool finished; // what runInBackground answers
    } cases[] = {{AtQuit::Cancel, false}, {AtQuit::Finish, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.finished ? "save" : "read");
        Gate quit;
        bool sawCancel = false;
        bool finished = !c.finished;
        // The work runs from the application's own event loop, as a menu command would, and
        // the quit comes while it waits.
        QTimer::singleShot(0, [&] {
            finished = runInBackground(nullptr, "Working", c.atQuit, [&](BackgroundTask& task) {
                quit.wait();
                if (c.atQuit == AtQuit::Cancel)
                    untilCancelled(task);
                sawCancel = task.isCancelled();
            });
        });
        QTimer::singleShot(0, [&] {
            QCoreApplication::exit(0);
            quit.open();
        });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_EQ(finished, c.finished);
        EXPECT_EQ(sawCancel, !c.finished);
    }
}

} // namespace
