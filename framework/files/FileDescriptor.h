#pragma once

#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <cerrno>
#include <unistd.h>

// The system's own words for an errno value ("No space left on device").
QString systemReason(int error);

// Writes all of `data` to the descriptor, in slices so that a cancelled write stops soon. On
// failure returns false with errno set (ECANCELED once `cancelled` is set).
bool writeAll(int fd, QByteArrayView data, const std::atomic<bool>* cancelled = nullptr);

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
    // Closes now; false (with errno set) when the system reports an error.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        // On Linux the descriptor is gone even when close() is interrupted.
        return ::close(fd) == 0 || errno == EINTR;
    }

  private:
    int fd_;
};
