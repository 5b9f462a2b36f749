// A modal dialog whose window is deleted while it runs goes with it, and its caller hears
// "rejected" instead of being left with a destroyed dialog on its stack.
#include "framework/HeldDialog.h"
#include "framework/ErrorBox.h"

#include <QApplication>
#include <QFontMetrics>
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

// A long file name has no place to wrap: it is shortened in the middle inside its quotes, in
// each language's quotes.
TEST(ErrorBoxText, LongNamesAreShortenedInsideTheirQuotes) {
    const QFontMetrics metrics(QApplication::font());
    const QString name = QString(200, u'x') + QStringLiteral(".orbalin");
    const std::pair<QString, QString> quotes[] = {{"“", "”"}, {"„", "“"}, {"« ", " »"}};
    for (const auto& [open, close] : quotes) {
        const QString text =
            elideQuotedNames("Le document " + open + name + close + " n’est pas là.", metrics,
                             metrics.averageCharWidth() * 40);
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(text.contains(open + "x")) << "the quote and the name's start stay";
        EXPECT_TRUE(text.contains(u'…'));
        EXPECT_TRUE(text.endsWith(".orbalin" + close + " n’est pas là."));
    }
}
