#include "rtf/RtfText.h"

#include <QColor>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>

namespace {

Qt::Alignment qtAlignment(RtfAlignment alignment) {
    switch (alignment) {
    case RtfAlignment::Center:
        return Qt::AlignHCenter;
    case RtfAlignment::Right:
        return Qt::AlignRight;
    case RtfAlignment::Justify:
        return Qt::AlignJustify;
    case RtfAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

QTextCharFormat qtCharFormat(const RtfCharFormat& format) {
    QTextCharFormat result;
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    result.setFontPointSize(format.halfPoints / 2.0);
    if (format.color)
        result.setForeground(QColor(format.color->red, format.color->green, format.color->blue));
    return result;
}

} // namespace

void insertRtfDocument(QTextCursor& cursor, const RtfDocument& document) {
    cursor.beginEditBlock();
    bool first = true;
    for (const RtfParagraph& paragraph : document.paragraphs) {
        QTextBlockFormat blockFormat;
        blockFormat.setAlignment(qtAlignment(paragraph.alignment));
        if (first)
            cursor.mergeBlockFormat(blockFormat);
        else
            cursor.insertBlock(blockFormat);
        first = false;
        for (const RtfRun& run : paragraph.runs)
            cursor.insertText(run.text, qtCharFormat(run.format));
    }
    cursor.endEditBlock();
}
