// A modal dialog whose window is deleted while it runs goes with it, and its caller hears
// "rejected" instead of being left with a destroyed dialog on its stack.
#include "framework/HeldDialog.h"

#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

TEST(HeldDialog, AWindowDeletedWhileItsDialogRunsTakesTheDialogAndTheAnswerIsRejected) {
    auto* window = new QWidget;
    window->show();
    HeldDialog<QMessageBox> box(QMessageBox::Question, "Question", "Replace it?",
                                QMessageBox::Yes | QMessageBox::No, window);
    const QPointer<QMessageBox> shown = box.get();
    // Deleted from the dialog's own event loop, as a quit from the bus would.
    QTimer::singleShot(0, window, [window] { delete window; });
    EXPECT_EQ(box->exec(), QDialog::Rejected);
    EXPECT_TRUE(shown.isNull());
}
