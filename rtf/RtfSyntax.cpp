#include "rtf/RtfSyntax.h"

#include <array>

namespace rtf {

namespace {

// Windows code page 1252, the one the credits declare (\ansicpg1252), for bytes 0x80 to 0x9F;
// the other bytes above 0x7F are the same as Latin-1. Undefined slots read as U+FFFD.
constexpr std::array<char16_t, 32> cp1252High = {
    u'\u20AC', u'\uFFFD', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\uFFFD', u'\u017D', u'\uFFFD',
    u'\uFFFD', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\uFFFD', u'\u017E', u'\u0178'};

} // namespace

QChar fromCodePage(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(cp1252High[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

const QSet<QByteArray>& skippedDestinations() {
    static const QSet<QByteArray> names = {"fonttbl",
                                           "stylesheet",
                                           "info",
                                           "pict",
                                           "object",
                                           "header",
                                           "headerl",
                                           "headerr",
                                           "headerf",
                                           "footer",
                                           "footerl",
                                           "footerr",
                                           "footerf",
                                           "footnote",
                                           "listtable",
                                           "listoverridetable",
                                           "rsidtbl",
                                           "generator",
                                           "filetbl",
                                           "revtbl",
                                           "xmlnstbl",
                                           "themedata",
                                           "colorschememapping",
                                           "latentstyles",
                                           "datastore",
                                           "fldinst",
                                           "annotation",
                                           "atnid",
                                           "atnauthor",
                                           "bkmkstart",
                                           "bkmkend",
                                           "nonshppict",
                                           "shppict",
                                           "userprops",
                                           "docvar"};
    return names;
}

} // namespace rtf
