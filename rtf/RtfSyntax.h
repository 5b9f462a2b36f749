#pragma once

#include <QByteArray>
#include <QChar>
#include <QSet>

// The small tables and character classes of RTF's syntax that the reader works with.
namespace rtf {

// A byte of text in Windows code page 1252, the one the credits declare (\ansicpg1252).
QChar fromCodePage(unsigned char byte);
// The value of a hexadecimal digit, or -1.
int hexValue(char c);
// ASCII letters and digits, as control words are made of.
bool isLetter(char c);
bool isDigit(char c);
// Groups whose content is not text and which the reader does not interpret.
const QSet<QByteArray>& skippedDestinations();

} // namespace rtf
