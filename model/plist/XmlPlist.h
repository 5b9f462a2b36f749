#pragma once

#include "PlistValue.h"

namespace plist {

// What XML may hold here, checked as it is read: no property list that a program writes comes
// near these, and together they bound what a crafted document can cost.
constexpr std::size_t maximumXmlDepth = 100;       // nested containers
constexpr std::size_t maximumXmlValues = 1u << 25; // values of every kind
constexpr std::size_t maximumXmlText = 1u << 20;   // characters in one value
constexpr std::size_t maximumXmlAttributes = 16;   // on one element
// Nor may a stretch of text, a comment or other markup run past 1024 characters more than a
// value: the XML reader reads a long stretch again each time more of it arrives.

// True when the data starts like an XML document (after an optional byte-order mark and white
// space), so that it is worth handing to readXml().
bool looksLikeXml(const QByteArray& data);

// Reads the XML form in one pass without recursion, into a compact table of its objects
// (XmlObjects) that never takes more than about one and a half times the document's size. A
// dictionary whose only key is "CF$UID" with a non-negative integer becomes a UID, as in the binary
// form. Numbers are read the same whatever the process locale. On failure returns nullptr and says
// why: XML that is not a <plist> is foreign, a <plist> that is not well formed is damaged, one
// beyond the limits above is refused.
std::unique_ptr<ObjectSource> openXml(const QByteArray& data, ReadProblem* problem,
                                      BackgroundTask* task = nullptr);

} // namespace plist
