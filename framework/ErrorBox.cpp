#include "framework/ErrorBox.h"

#include "framework/HeldDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

// About as wide as a message box's text runs before it wraps.
constexpr int nameWidthInCharacters = 40;

} // namespace

QString elideQuotedNames(const QString& text, const QFontMetrics& metrics, int maxWidth) {
    // English “…”, German „…“ and French « … » (with the spaces inside them).
    static const QRegularExpression quoted(
        QStringLiteral("“([^”]*)”|„([^“]*)“|«[\\s\\x{202F}]*([^»]*?)[\\s\\x{202F}]*»"));
    QString result;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : quoted.globalMatch(text)) {
        const int name = match.capturedStart(1) >= 0 ? 1 : match.capturedStart(2) >= 0 ? 2 : 3;
        result += text.mid(done, match.capturedStart(name) - done);
        result += metrics.elidedText(match.captured(name), Qt::ElideMiddle, maxWidth);
        done = match.capturedEnd(name);
    }
    return result + text.mid(done);
}

QString asSentence(const QString& reason) {
    QString sentence = reason.trimmed();
    if (sentence.isEmpty())
        return sentence;
    sentence[0] = sentence[0].toUpper();
    if (!sentence.endsWith(u'.') && !sentence.endsWith(u'!') && !sentence.endsWith(u'?'))
        sentence += u'.';
    return sentence;
}

void showErrorBox(QWidget* parent, const QString& text, const QString& reason) {
    HeldDialog<QMessageBox> box(QMessageBox::Warning, QApplication::applicationDisplayName(),
                                QString(), QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("documentErrorBox"));
    // A long file name has no place to wrap and would run off the box's edge.
    const QFontMetrics metrics = box->fontMetrics();
    box->setText(
        elideQuotedNames(text, metrics, metrics.averageCharWidth() * nameWidthInCharacters));
    // Readers and the file system give their reasons as phrases: show them as a sentence.
    box->setInformativeText(asSentence(reason));
    box->exec();
}
