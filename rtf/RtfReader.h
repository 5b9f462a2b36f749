#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// A small reader for the subset of RTF that the credits text uses: groups, paragraphs, line
// breaks, tabs, bold, italic, underline, font size, alignment, the colour table, and the
// \'hh and \uN escapes. Control words and destinations it does not know are skipped. It never
// fails: broken input yields whatever text could be read before (and around) the damage.

struct RtfColor {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const RtfColor&, const RtfColor&) = default;
};

struct RtfCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // In half-points, as RTF counts them: 24 is 12 pt.
    int halfPoints = 24;
    // Absent means the text view's own colour (colour table entry 0, or no table).
    std::optional<RtfColor> color;
    friend bool operator==(const RtfCharFormat&, const RtfCharFormat&) = default;
};

struct RtfRun {
    QString text;
    RtfCharFormat format;
};

enum class RtfAlignment { Left, Center, Right, Justify };

struct RtfParagraph {
    RtfAlignment alignment = RtfAlignment::Left;
    // Adjacent text of equal format is one run. Line breaks are U+2028, tabs are '\t'.
    std::vector<RtfRun> runs;
    QString text() const;
};

struct RtfDocument {
    std::vector<RtfParagraph> paragraphs;
    // False when the data does not start as RTF ("{\rtf"); the document is then empty.
    bool isRtf = false;
    // False when the data ended inside a group or held stray closing braces.
    bool wellFormed = false;
    QString plainText() const;
};

RtfDocument readRtf(const QByteArray& data);
