#include "framework/files/FileDescriptor.h"

#include <algorithm>
#include <cstring>

QString systemReason(int error) {
    char buffer[256];
    // The GNU strerror_r answers a pointer, to the buffer or to a static text.
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}

bool writeAll(int fd, QByteArrayView data, const std::atomic<bool>* cancelled) {
    constexpr qsizetype slice = 4 << 20;
    const char* bytes = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        if (cancelled && cancelled->load()) {
            errno = ECANCELED;
            return false;
        }
        const ssize_t written = ::write(fd, bytes, static_cast<size_t>(std::min(left, slice)));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        bytes += written;
        left -= written;
    }
    return true;
}
