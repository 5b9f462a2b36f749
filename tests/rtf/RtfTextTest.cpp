#include "rtf/RtfText.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

TEST(RtfText, ParagraphsBecomeBlocksWithTheirAlignmentAndFormats) {
    QTextDocument document;
    QTextCursor cursor(&document);
    insertRtfDocument(cursor,
                      readRtf("{\\rtf1{\\colortbl;\\red10\\green20\\blue30;}"
                              "\\qc\\b\\fs36 Title\\b0\\par\\pard\\i\\cf1 a\\line b\\par}"));
    ASSERT_EQ(document.blockCount(), 2);
    const QTextBlock title = document.firstBlock();
    EXPECT_EQ(title.text(), "Title");
    EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat titleFormat = title.begin().fragment().charFormat();
    EXPECT_EQ(titleFormat.fontWeight(), QFont::Bold);
    EXPECT_EQ(titleFormat.fontPointSize(), 18.0);

    const QTextBlock body = title.next();
    EXPECT_EQ(body.text(), QString("a") + QChar(QChar::LineSeparator) + "b");
    EXPECT_EQ(body.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    const QTextCharFormat bodyFormat = body.begin().fragment().charFormat();
    EXPECT_TRUE(bodyFormat.fontItalic());
    EXPECT_EQ(bodyFormat.fontWeight(), QFont::Normal);
    EXPECT_EQ(bodyFormat.foreground().color(), QColor(10, 20, 30));
}

TEST(RtfText, NothingReadInsertsNothing) {
    QTextDocument document;
    QTextCursor cursor(&document);
    insertRtfDocument(cursor, readRtf("not rtf at all"));
    EXPECT_TRUE(document.isEmpty());
}

} // namespace
