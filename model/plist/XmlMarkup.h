#pragma once

#include "XmlPlist.h"

#include <QByteArray>

namespace plist {

// What scanMarkup() finds.
enum class Markup { Fine, TooManyAttributes, TooLong, Subset, SubsetWithEntities };

// The longest run of text, comment, tag or other markup the XML reader is given: it is slow on
// one that spans many pieces of the data, and holds each whole.
constexpr qsizetype maximumXmlRun = qsizetype(maximumXmlText) + 1024;

struct MarkupScan {
    Markup markup = Markup::Fine;
    qsizetype line = 0; // where it was found, counted from 1
};

// What the XML reader would be slow or unsafe to see, looked for in one pass over the markup
// before it sees the document: it checks that attributes are unique by comparing each with all
// the others, applies the attribute defaults of a DTD to every element, and reads a long
// stretch of text or markup again each time more data comes. A property list has at most one
// attribute, no DTD of its own and short stretches. Markup that is not well formed is left
// for the reader to report.
MarkupScan scanMarkup(const QByteArray& data);

} // namespace plist
