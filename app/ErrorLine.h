#pragma once

#include <QString>

// How the program tells a failure when it has no window to show it in (the command line, the
// screen saver, a start that cannot show windows): one line on standard error that starts with
// the program's name, "orbalin: …", for the shell and for the screen-saver daemon's log alike.
void printErrorLine(const QString& text);

// A failure and why, as one line ("orbalin: The document “x” could not be opened. It is
// empty."); the exit status to end with, 1.
int failWith(const QString& failure, const QString& reason = QString());
