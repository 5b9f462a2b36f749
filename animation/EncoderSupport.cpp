#include "animation/EncoderSupport.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

bool FileSink::write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd_, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error_ = written == 0 ? EIO : errno;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

Failure systemCallFailure(int error) {
    char buffer[256];
    // The GNU strerror_r answers a pointer, to the buffer or to a static text.
    return Failure::because(QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer)));
}

Result<QImage> recordedFrame(const QImage& frame, const QSize& size) {
    if (frame.size() != size)
        return Failure::because(
            AnimationEncoding::tr("a frame is %1×%2 pixels where the recording's are %3×%4")
                .arg(frame.width())
                .arg(frame.height())
                .arg(size.width())
                .arg(size.height()));
    return frame.convertToFormat(QImage::Format_RGBA8888);
}

Failure noFrames() {
    return Failure::because(AnimationEncoding::tr("the recording has no frames"));
}
