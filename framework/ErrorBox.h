#pragma once

#include <QString>

class QFontMetrics;
class QWidget;

// Tells the user that something failed and why: `text` says what failed (naming the file in
// typographic quotes), `reason` why, as given by a reader or the file system.
void showErrorBox(QWidget* parent, const QString& text, const QString& reason);

// The text with every name in “typographic quotes” that is wider than `maxWidth` elided in the
// middle, so that both its start and its extension stay readable.
QString elideQuotedNames(const QString& text, const QFontMetrics& metrics, int maxWidth);

// A reason given as a phrase ("no such file"), made a sentence: capitalised, with a full stop.
QString asSentence(const QString& reason);
