#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>

class BackgroundTask;

// Reads a whole file, refusing what a document cannot be without ever blocking on it: a folder,
// a device, a named pipe or a socket is refused before anything is read, and so is a file
// larger than `maximumSize` bytes. At most the size the file had when it was opened is read; a
// file that shrinks or grows meanwhile is refused as changed. A failure says why, in the
// program's words or the system's own ("Permission denied").
// Safe to call on any thread. With a task, the file is read a few megabytes at a time, its
// progress is the share of bytes read, and a cancel stops it ("Operation canceled"). A file
// too large for the memory left is refused as well.
Result<QByteArray> readRegularFile(const QString& path, qint64 maximumSize,
                                   BackgroundTask* task = nullptr);
