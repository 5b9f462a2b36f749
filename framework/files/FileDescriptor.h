#pragma once

#include "base/Result.h"

#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <cerrno>
#include <unistd.h>

// The system's own words for an errno value ("No space left on device").
QString systemReason(int error);
// The failure of a system call that set `error`; ECANCELED is a cancel.
Failure systemFailure(int error);

// Writes all of `data` to the descriptor, in slices so that a cancelled write stops soon
// (failing as cancelled once `cancelled` is set).
Result<void> writeAll(int fd, QByteArrayView data, const std::atomic<bool>* cancelled = nullptr);

// A file descriptor that is closed when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1)
        : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset(int fd) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    // Closes now, failing when the system reports an error (a write it had put off).
    Result<void> close() {
        const int fd = fd_;
        fd_ = -1;
        // On Linux the descriptor is gone even when close() is interrupted.
        if (::close(fd) == 0 || errno == EINTR)
            return {};
        return systemFailure(errno);
    }

  private:
    int fd_;
};
