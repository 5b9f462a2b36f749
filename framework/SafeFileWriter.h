#pragma once

#include <QByteArrayView>
#include <QString>

#include <atomic>

// What became of a file written by writeFileSafely().
struct FileWriteResult {
    bool written = false;
    // Why it was not written, in the system's own words ("No space left on device").
    QString reason;

    explicit operator bool() const { return written; }
};

// Replaces the file at `path` with `data` so that it ends up holding either all of the new
// bytes or, after any failure, exactly its old content: the data goes to a temporary file in
// the same folder, which is written, synced and closed (each step checked) and only then
// renamed over the target; the folder is synced last. A failed write leaves no temporary
// file. An existing file keeps its permissions (and owner, where allowed), a symbolic link
// stays a link to the file it names, and a file that may not be written is refused.
//
// When `cancelled` is given and becomes true before the new file has replaced the old one, the
// write stops and fails ("Operation canceled"), leaving the old file and no temporary file.
//
// Uses no GUI objects and no shared state: it may run on any thread.
FileWriteResult writeFileSafely(const QString& path, QByteArrayView data,
                                const std::atomic<bool>* cancelled = nullptr);
