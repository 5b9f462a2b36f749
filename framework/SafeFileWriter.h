#pragma once

#include "base/Result.h"

#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <memory>

// Replaces the file at `path` with `data` so that it ends up holding either all of the new
// bytes or, after any failure, exactly its old content: the data goes to a temporary file in
// the same folder, which is written, synced and closed (each step checked) and only then
// renamed over the target; the folder is synced last. A failed write leaves no temporary
// file. An existing file keeps its permissions, its group where the writer may give it that
// group, and its owner where the writer may (as root); a symbolic link stays a link to the
// file it names, and a file that may not be written is refused. A link in a shared sticky
// folder (such as /tmp) is followed only when it is the writer's or the folder owner's.
//
// Only ordinary files are ever replaced: a device, named pipe, socket or folder at the name
// (or at the end of its links) is refused before anything is written, and stays as it was.
//
// A failure's reason is the system's own words ("No space left on device"), or what stands at
// the name when it is not a file. When `cancelled` is given and becomes true before the new
// file has replaced the old one, the write stops and fails as cancelled ("Operation
// canceled"), leaving the old file and no temporary file.
//
// Uses no GUI objects and no shared state: it may run on any thread.
Result<void> writeFileSafely(const QString& path, QByteArrayView data,
                             const std::atomic<bool>* cancelled = nullptr);

// The same replacement for data that comes a piece at a time (an animation, as it is encoded):
// open() checks the target as writeFileSafely() does and makes the temporary file, the caller
// writes to descriptor() (and may seek on it and read it back), and commit() puts it in place. Gone
// without a commit that succeeded, it leaves the old file and no temporary file.
class SafeFileStream {
  public:
    static Result<SafeFileStream> open(const QString& path);
    SafeFileStream(SafeFileStream&&) noexcept;
    SafeFileStream& operator=(SafeFileStream&&) noexcept;
    ~SafeFileStream();

    int descriptor() const;
    // Syncs the file and renames it over the target; fails as cancelled, leaving the old file,
    // when `cancelled` is set before the rename.
    Result<void> commit(const std::atomic<bool>* cancelled = nullptr);

  private:
    struct State;
    explicit SafeFileStream(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

// Fails as writeFileSafely() would before writing anything, when what stands at the name is not
// an ordinary file ("“null” is a device, not a file: …") or a link it does not follow; succeeds
// when the name is free or names a file (through its links).
Result<void> checkSaveTarget(const QString& path);

// Why a file cannot be made in `folder`, which the system refused with `error`: the system's own
// words, or, when the folder is not there (any more), the folder's name.
QString folderFailureReason(const QString& folder, int error);
