#include "rtf/RtfReader.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

struct TextCase {
    const char* name;
    QByteArray input;
    QString text; // paragraphs joined by '\n'
    bool isRtf;
    bool wellFormed;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.name;
}

class RtfTextTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfTextTable, ReadsTheTextItCan) {
    const TextCase& c = GetParam();
    const RtfDocument document = readRtf(c.input);
    EXPECT_EQ(document.plainText(), c.text);
    EXPECT_EQ(document.isRtf, c.isRtf);
    EXPECT_EQ(document.wellFormed, c.wellFormed);
}

const QString ls = QString(QChar(0x2028));

INSTANTIATE_TEST_SUITE_P(
    Inputs, RtfTextTable,
    ::testing::Values(
        // Well-formed input
        TextCase{"plain", "{\\rtf1 Hello}", "Hello", true, true},
        TextCase{"paragraphs", "{\\rtf1 One\\par Two\\par}", "One\nTwo", true, true},
        TextCase{"empty paragraph kept", "{\\rtf1 A\\par\\par B}", "A\n\nB", true, true},
        TextCase{"line and tab", "{\\rtf1 a\\line b\\tab c}", "a" + ls + "b\tc", true, true},
        TextCase{"escaped symbols", "{\\rtf1 \\{x\\}\\\\}", "{x}\\", true, true},
        TextCase{"hex escape in code page 1252", "{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'80}",
                 QString::fromUtf8("café €"), true, true},
        TextCase{"unicode with fallback skipped", "{\\rtf1 \\u8364?x}", QString::fromUtf8("€x"),
                 true, true},
        TextCase{"negative unicode", "{\\rtf1 \\u-3?}", QString(QChar(0xFFFD)), true, true},
        TextCase{"uc2 skips two", "{\\rtf1\\uc2 \\u8364 ab c}", QString::fromUtf8("€ c"), true,
                 true},
        TextCase{"uc0 skips none", "{\\rtf1\\uc0 \\u8364 x}", QString::fromUtf8("€x"), true, true},
        TextCase{"fallback as hex escape", "{\\rtf1 \\u233\\'e9!}", QString::fromUtf8("é!"), true,
                 true},
        TextCase{"surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?}", QString::fromUtf8("😀"), true,
                 true},
        TextCase{"uc is scoped to its group", "{\\rtf1 {\\uc0 }\\u65 xy}", "Ay", true, true},
        TextCase{"font table skipped", "{\\rtf1{\\fonttbl{\\f0 Sans;}}Body}", "Body", true, true},
        TextCase{"ignorable destination skipped", "{\\rtf1{\\*\\unknowndest secret}Shown}", "Shown",
                 true, true},
        TextCase{"unknown control word ignored", "{\\rtf1 a\\frobnicate42 b}", "ab", true, true},
        TextCase{"named punctuation", "{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote}",
                 QString::fromUtf8("—–•‘’"), true, true},
        TextCase{"binary data skipped", "{\\rtf1 a\\bin3 }}}b}", "ab", true, true},
        TextCase{"escaped newline is a paragraph", "{\\rtf1 a\\\nb}", "a\nb", true, true},
        TextCase{"raw newlines are not text", "{\\rtf1 a\r\nb}", "ab", true, true},
        TextCase{"field result shown",
                 "{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt Link}}}", "Link", true, true},
        TextCase{"leading white space", "  \n{\\rtf1 x}", "x", true, true},
        // Broken input: never a crash, and what could be read comes back
        TextCase{"empty data", "", "", false, false},
        TextCase{"not rtf", "Hello {world}", "", false, false},
        TextCase{"rtf word without brace", "\\rtf1 Hello", "", false, false},
        TextCase{"unclosed outer group", "{\\rtf1 Hello\\par World", "Hello\nWorld", true, false},
        TextCase{"unclosed inner group", "{\\rtf1 A{\\b B", "AB", true, false},
        TextCase{"stray closing brace ends the text", "{\\rtf1 A}}B", "A", true, false},
        TextCase{"text after the document", "{\\rtf1 A} trailing", "A", true, false},
        TextCase{"lone backslash at end", "{\\rtf1 A\\", "A", true, false},
        TextCase{"short hex escape", "{\\rtf1 a\\'4}", "a4", true, true},
        TextCase{"bad hex escape", "{\\rtf1 a\\'zzb}", "azzb", true, true},
        TextCase{"hex escape cut off", "{\\rtf1 a\\'", "a", true, false},
        TextCase{"unicode out of range", "{\\rtf1 \\u99999?x}", "x", true, true},
        TextCase{"unicode without number", "{\\rtf1 \\u x}", "x", true, true},
        TextCase{"lone high surrogate replaced", "{\\rtf1 \\u-10179?z}",
                 QString(QChar(0xFFFD)) + "z", true, true},
        TextCase{"huge parameter clamped", "{\\rtf1\\fs99999999999999999999 x}", "x", true, true},
        TextCase{"binary length past the end", "{\\rtf1 a\\bin999999 bc", "a", true, false},
        TextCase{"negative binary length", "{\\rtf1 a\\bin-5 b}", "ab", true, true},
        TextCase{"nul bytes", QByteArray("{\\rtf1 a\0b}", 11), "ab", true, true},
        TextCase{"very long control word", "{\\rtf1 \\" + QByteArray(5000, 'x') + " y}", "y", true,
                 true},
        TextCase{"deep nesting", QByteArray("{\\rtf1 ") + QByteArray(100000, '{') + "deep", "deep",
                 true, false},
        TextCase{"unclosed skipped destination", "{\\rtf1 A{\\fonttbl B", "A", true, false}));

TEST(RtfFormat, CharacterFormattingFollowsGroupsAndSwitches) {
    const RtfDocument document =
        readRtf("{\\rtf1 n{\\b b{\\i bi}}\\ul u\\ul0 \\b x\\b0 y\\i\\fs40 big\\plain p}");
    ASSERT_EQ(document.paragraphs.size(), 1u);
    const auto& runs = document.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 8u);
    EXPECT_EQ(runs[0].text, "n");
    EXPECT_EQ(runs[0].format, RtfCharFormat());
    EXPECT_EQ(runs[1].text, "b");
    EXPECT_TRUE(runs[1].format.bold);
    EXPECT_FALSE(runs[1].format.italic);
    EXPECT_EQ(runs[2].text, "bi");
    EXPECT_TRUE(runs[2].format.bold && runs[2].format.italic);
    EXPECT_EQ(runs[3].text, "u");
    EXPECT_TRUE(runs[3].format.underline);
    EXPECT_FALSE(runs[3].format.bold) << "a closed group restores the format";
    EXPECT_EQ(runs[4].text, "x");
    EXPECT_TRUE(runs[4].format.bold);
    EXPECT_FALSE(runs[4].format.underline);
    EXPECT_EQ(runs[5].text, "y");
    EXPECT_EQ(runs[6].text, "big");
    EXPECT_TRUE(runs[6].format.italic);
    EXPECT_EQ(runs[6].format.halfPoints, 40);
    EXPECT_EQ(runs[7].text, "p");
    EXPECT_EQ(runs[7].format, RtfCharFormat()) << "\\plain resets everything";
}

TEST(RtfFormat, AdjacentTextOfEqualFormatIsOneRun) {
    const RtfDocument document = readRtf("{\\rtf1 a{b}\\b0 c\\'41}");
    ASSERT_EQ(document.paragraphs.size(), 1u);
    ASSERT_EQ(document.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(document.paragraphs[0].runs[0].text, "abcA");
}

TEST(RtfFormat, FontSizeOutOfRangeFallsBackOrIsClamped) {
    EXPECT_EQ(readRtf("{\\rtf1\\fs0 x}").paragraphs[0].runs[0].format.halfPoints, 24);
    EXPECT_EQ(readRtf("{\\rtf1\\fs-8 x}").paragraphs[0].runs[0].format.halfPoints, 24);
    EXPECT_EQ(readRtf("{\\rtf1\\fs1 x}").paragraphs[0].runs[0].format.halfPoints, 2);
    EXPECT_EQ(readRtf("{\\rtf1\\fs99999999999 x}").paragraphs[0].runs[0].format.halfPoints, 3276);
}

TEST(RtfFormat, ColourTableEntriesAreChosenByIndex) {
    const RtfDocument document = readRtf("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;"
                                         "\\red0\\green128\\blue300;}"
                                         "\\cf1 r\\cf2 g\\cf0 d\\cf7 o\\cf-1 n}");
    ASSERT_EQ(document.paragraphs.size(), 1u);
    const auto& runs = document.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u) << "the default, out-of-range and negative indices all merge";
    EXPECT_EQ(runs[0].text, "r");
    EXPECT_EQ(runs[0].format.color, (RtfColor{255, 0, 0}));
    EXPECT_EQ(runs[1].text, "g");
    EXPECT_EQ(runs[1].format.color, (RtfColor{0, 128, 255})) << "components are clamped";
    EXPECT_EQ(runs[2].text, "don");
    EXPECT_FALSE(runs[2].format.color.has_value());
}

TEST(RtfFormat, ColourWithoutTableIsDefault) {
    const RtfDocument document = readRtf("{\\rtf1\\cf3 x}");
    EXPECT_FALSE(document.paragraphs[0].runs[0].format.color.has_value());
}

TEST(RtfFormat, AlignmentBelongsToTheParagraphItEnds) {
    const RtfDocument document =
        readRtf("{\\rtf1\\qc centred\\par\\pard right\\qr\\par\\qj just\\par\\pard left}");
    ASSERT_EQ(document.paragraphs.size(), 4u);
    EXPECT_EQ(document.paragraphs[0].alignment, RtfAlignment::Center);
    EXPECT_EQ(document.paragraphs[1].alignment, RtfAlignment::Right);
    EXPECT_EQ(document.paragraphs[2].alignment, RtfAlignment::Justify);
    EXPECT_EQ(document.paragraphs[3].alignment, RtfAlignment::Left);
}

TEST(RtfFormat, EveryPrefixOfTheCreditsReadsWithoutHarm) {
    QFile file(QStringLiteral(ORBALIN_SOURCE_DIR "/resources/Credits.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray credits = file.readAll();
    const RtfDocument whole = readRtf(credits);
    ASSERT_TRUE(whole.isRtf);
    EXPECT_TRUE(whole.wellFormed);
    EXPECT_TRUE(whole.plainText().startsWith("Orbalin\n"));
    EXPECT_TRUE(whole.plainText().contains(QString::fromUtf8("\u2212800 to 800")));
    EXPECT_FALSE(whole.plainText().contains("Sans")) << "the font table is not text";
    // Cut anywhere, the credits read as a prefix of the whole text.
    for (qsizetype length = 0; length <= credits.size(); length += 7) {
        const QString prefixText = readRtf(credits.left(length)).plainText();
        EXPECT_TRUE(whole.plainText().startsWith(prefixText.left(prefixText.size() - 1)))
            << "cut at " << length;
    }
}

} // namespace

namespace {

TEST(RtfFormat, MangledCreditsNeverBreakTheReader) {
    QFile file(QStringLiteral(ORBALIN_SOURCE_DIR "/resources/Credits.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray credits = file.readAll();
    // Bytes that steer the reader: group and escape characters, digits, hex and signs.
    const QByteArray steering = "{}\\'*u0123456789abcdef- ;\n";
    uint32_t state = 12345;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int round = 0; round < 2000; ++round) {
        QByteArray mangled = credits;
        for (int edit = 0; edit < 8; ++edit) {
            const auto at = static_cast<qsizetype>(next() % static_cast<uint32_t>(mangled.size()));
            mangled[at] = steering[static_cast<qsizetype>(next() % steering.size())];
        }
        const RtfDocument document = readRtf(mangled);
        for (const RtfParagraph& paragraph : document.paragraphs)
            for (const RtfRun& run : paragraph.runs) {
                EXPECT_FALSE(run.text.isEmpty());
                EXPECT_GE(run.format.halfPoints, 2);
                EXPECT_LE(run.format.halfPoints, 3276);
            }
    }
}

} // namespace
