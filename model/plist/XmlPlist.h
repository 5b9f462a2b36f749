#pragma once

#include "PlistValue.h"

namespace plist {

// True when the data starts like an XML document (after an optional byte-order mark and white
// space), so that it is worth handing to readXml().
bool looksLikeXml(const QByteArray& data);

// Reads the XML form into a document, in one pass without recursion. A dictionary whose only
// key is "CF$UID" with a non-negative integer becomes a UID, as in the binary form. Numbers are
// read the same whatever the process locale. On failure returns false and says why: XML that is
// not a <plist> is foreign, a <plist> that is not well formed is damaged.
bool readXml(const QByteArray& data, Document* document, Failure* failure);

} // namespace plist
