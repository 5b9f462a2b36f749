#include "XmlMarkup.h"

#include <cstring>

namespace plist {

namespace {

// The document's code units, one byte each or UTF-16 in either byte order.
struct Units {
    const unsigned char* bytes;
    qsizetype size;
    int width;      // 1 or 2
    bool bigEndian; // for width 2

    char16_t at(qsizetype i) const {
        if (width == 1)
            return bytes[i];
        const unsigned char* unit = bytes + 2 * i;
        return bigEndian ? char16_t((unit[0] << 8) | unit[1]) : char16_t((unit[1] << 8) | unit[0]);
    }
    bool startsWith(qsizetype i, const char* text) const {
        for (qsizetype k = 0; text[k] != 0; ++k) {
            if (i + k >= size || at(i + k) != char16_t(text[k]))
                return false;
        }
        return true;
    }
    // The position just past the next `end` from i, or the end of the document.
    qsizetype skipPast(qsizetype i, const char* end) const {
        const char16_t first = char16_t(end[0]);
        for (; i < size; ++i) {
            if (at(i) == first && startsWith(i, end))
                return i + qsizetype(std::strlen(end));
        }
        return size;
    }
    int lineOf(qsizetype position) const {
        int line = 1;
        for (qsizetype i = 0; i < position && i < size; ++i)
            line += at(i) == u'\n';
        return line;
    }
};

Markup scanUnits(const Units& units, qsizetype* where) {
    const qsizetype n = units.size;
    qsizetype i = 0;
    qsizetype textStart = 0;
    while (i < n) {
        if (units.at(i) != u'<') {
            ++i;
            continue;
        }
        *where = textStart;
        if (i - textStart > maximumXmlRun)
            return Markup::TooLong;
        *where = i;
        const qsizetype start = i;
        if (units.startsWith(i, "<!--"))
            i = units.skipPast(i + 4, "-->");
        else if (units.startsWith(i, "<![CDATA["))
            i = units.skipPast(i + 9, "]]>");
        else if (units.startsWith(i, "<?"))
            i = units.skipPast(i + 2, "?>");
        if (i != start) {
            if (i - start > maximumXmlRun)
                return Markup::TooLong;
            textStart = i;
            continue;
        }
        const bool declaration = units.startsWith(i, "<!");
        std::size_t attributes = 0;
        char16_t quote = 0;
        for (++i; i < n; ++i) {
            const char16_t c = units.at(i);
            if (quote != 0) {
                quote = c == quote ? 0 : quote;
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (declaration && c == u'[') {
                for (; i < n && units.at(i) != u']'; ++i) {
                    if (units.startsWith(i, "<!ENTITY"))
                        return Markup::SubsetWithEntities;
                }
                return Markup::Subset;
            } else if (!declaration && c == u'=') {
                if (++attributes > maximumXmlAttributes)
                    return Markup::TooManyAttributes;
            } else if (c == u'>' || c == u'<') {
                break;
            }
        }
        if (i < n && units.at(i) == u'>')
            ++i;
        if (i - start > maximumXmlRun)
            return Markup::TooLong;
        textStart = i;
    }
    *where = textStart;
    return n - textStart > maximumXmlRun ? Markup::TooLong : Markup::Fine;
}

} // namespace

MarkupScan scanMarkup(const QByteArray& data) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    Units units{bytes, data.size(), 1, false};
    if (data.startsWith("\xFE\xFF") || data.startsWith("\xFF\xFE"))
        units = Units{bytes, data.size() / 2, 2, data.startsWith("\xFE\xFF")};
    qsizetype where = 0;
    const Markup markup = scanUnits(units, &where);
    return {markup, markup == Markup::Fine ? 0 : units.lineOf(where)};
}

} // namespace plist
