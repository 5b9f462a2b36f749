#include "AboutController.h"

#include "rtf/RtfReader.h"
#include "rtf/RtfText.h"
#include "ui_About.h"

#include <QDialog>
#include <QFile>
#include <QIcon>
#include <QTextEdit>

AboutController::AboutController(QString creditsPath, QObject* parent)
    : QObject(parent)
    , creditsPath_(std::move(creditsPath))
    , aboutPanel_(new QDialog()) {
    Ui::About description;
    description.setupUi(aboutPanel_);
    aboutTextView_ = description.aboutTextView;
    description.aboutIcon->setPixmap(QIcon(QStringLiteral(":/icons/orbalin.svg")).pixmap(64, 64));
}

AboutController::~AboutController() {
    delete aboutPanel_;
}

void AboutController::setupTextView() {
    if (textInited_)
        return;
    QFile credits(creditsPath_);
    if (credits.open(QIODevice::ReadOnly)) {
        QTextCursor cursor = aboutTextView_->textCursor();
        insertRtfDocument(cursor, readRtf(credits.readAll()));
    }
    // Filled while still editable, made read-only only afterwards.
    aboutTextView_->setReadOnly(true);
    aboutTextView_->moveCursor(QTextCursor::Start);
    aboutTextView_->ensureCursorVisible();
    aboutTextView_->viewport()->update();
    textInited_ = true;
}

void AboutController::makeFrontAndKeyAboutPanel() {
    aboutPanel_->show();
    aboutPanel_->raise();
    aboutPanel_->activateWindow();
}
