#include "framework/files/FileDescriptor.h"

#include <algorithm>
#include <cstring>

QString systemReason(int error) {
    char buffer[256];
    // The GNU strerror_r answers a pointer, to the buffer or to a static text.
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}

Failure systemFailure(int error) {
    return {systemReason(error), error == ECANCELED};
}

Result<void> writeAll(int fd, QByteArrayView data, const std::atomic<bool>* cancelled) {
    constexpr qsizetype slice = 4 << 20;
    const char* bytes = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        if (cancelled && cancelled->load())
            return systemFailure(ECANCELED);
        const ssize_t written = ::write(fd, bytes, static_cast<size_t>(std::min(left, slice)));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return systemFailure(written == 0 ? EIO : errno);
        bytes += written;
        left -= written;
    }
    return {};
}
