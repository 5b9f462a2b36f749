#include "AboutController.h"

#include "rtf/RtfReader.h"
#include "rtf/RtfText.h"
#include "ui_About.h"

#include <QDialog>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QTextEdit>

QString AboutController::creditsResource() {
    const QString english = QStringLiteral(":/Credits.rtf");
    // The first of the user's languages that the credits are in, English among them.
    for (const QString& language : QLocale().uiLanguages()) {
        const QString code = language.section(u'-', 0, 0);
        if (code == u"en" || code == u"C")
            return english;
        const QString translated = QStringLiteral(":/Credits_%1.rtf").arg(code);
        if (QFile::exists(translated))
            return translated;
    }
    return english;
}

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
