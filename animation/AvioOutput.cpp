#include "animation/AvioOutput.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int bufferSize = 64 * 1024;

using ReadPacket = int (*)(void*, std::uint8_t*, int);
using WritePacket = int (*)(void*, std::uint8_t*, int);
using Seek = std::int64_t (*)(void*, std::int64_t, int);

// A context with its buffer, or null when memory ran out. FFmpeg seeks only to where it has
// counted (SEEK_SET), or asks the size (AVSEEK_SIZE).
AVIOContext* newContext(void* opaque, ReadPacket read, WritePacket write, Seek seek) {
    auto* buffer = static_cast<unsigned char*>(av_malloc(bufferSize));
    AVIOContext* io =
        buffer ? avio_alloc_context(buffer, bufferSize, write ? 1 : 0, opaque, read, write, seek)
               : nullptr;
    if (!io)
        av_free(buffer);
    return io;
}

void freeContext(AVIOContext* io) {
    if (io)
        av_freep(&io->buffer);
    avio_context_free(&io);
}

// The size of the output: the file's, less what lies before the output's origin.
std::int64_t outputSize(int fd, std::int64_t origin) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? info.st_size - origin : AVERROR(errno);
}

// Reads what the muxer wrote, at a position of its own, leaving the writer's alone.
struct ReadBack {
    int fd;
    std::int64_t origin;
    std::int64_t position = 0;

    static int read(void* opaque, std::uint8_t* data, int size) {
        auto* self = static_cast<ReadBack*>(opaque);
        ssize_t got;
        do
            got = ::pread(self->fd, data, static_cast<std::size_t>(size),
                          self->origin + self->position);
        while (got < 0 && errno == EINTR);
        if (got <= 0)
            return got == 0 ? AVERROR_EOF : AVERROR(errno);
        self->position += got;
        return static_cast<int>(got);
    }

    static std::int64_t seek(void* opaque, std::int64_t offset, int whence) {
        auto* self = static_cast<ReadBack*>(opaque);
        if (whence & AVSEEK_SIZE)
            return outputSize(self->fd, self->origin);
        return whence == SEEK_SET ? self->position = offset : AVERROR(EINVAL);
    }
};

// Frees what openReadBack() made.
int closeReadBack(AVFormatContext*, AVIOContext* io) {
    delete static_cast<ReadBack*>(io->opaque);
    freeContext(io);
    return 0;
}

} // namespace

Result<std::unique_ptr<AvioOutput>> AvioOutput::open(int fd, bool seekable) {
    std::int64_t origin = -1;
    if (seekable) {
        origin = ::lseek(fd, 0, SEEK_CUR);
        if (origin < 0)
            return systemCallFailure(errno);
    }
    std::unique_ptr<AvioOutput> output(new AvioOutput(fd, origin));
    output->io_ = newContext(output.get(), nullptr, writePacket, seekable ? seek : nullptr);
    if (!output->io_)
        return Failure::because(AnimationEncoding::tr("there is not enough memory"));
    return output;
}

AvioOutput::AvioOutput(int fd, std::int64_t origin)
    : sink_(fd)
    , origin_(origin) {}

AvioOutput::~AvioOutput() {
    freeContext(io_);
}

bool AvioOutput::lendReadsTo(AVFormatContext* format) {
    if (origin_ < 0 || (::fcntl(sink_.fd(), F_GETFL) & O_ACCMODE) != O_RDWR)
        return false;
    format->opaque = this;
    format->io_open = openReadBack;
    format->io_close2 = closeReadBack;
    return true;
}

int AvioOutput::writePacket(void* opaque, std::uint8_t* data, int size) {
    auto* self = static_cast<AvioOutput*>(opaque);
    return self->sink_.write(data, static_cast<std::size_t>(size)) ? size : AVERROR(EIO);
}

std::int64_t AvioOutput::seek(void* opaque, std::int64_t offset, int whence) {
    const auto* self = static_cast<AvioOutput*>(opaque);
    if (whence & AVSEEK_SIZE)
        return outputSize(self->sink_.fd(), self->origin_);
    if (whence != SEEK_SET)
        return AVERROR(EINVAL);
    const std::int64_t reached = ::lseek(self->sink_.fd(), self->origin_ + offset, SEEK_SET);
    return reached < 0 ? AVERROR(errno) : reached - self->origin_;
}

int AvioOutput::openReadBack(AVFormatContext* format, AVIOContext** io, const char*, int flags,
                             AVDictionary**) {
    if (flags & AVIO_FLAG_WRITE)
        return AVERROR(EPERM);
    const auto* self = static_cast<AvioOutput*>(format->opaque);
    auto reader = std::make_unique<ReadBack>(ReadBack{self->sink_.fd(), self->origin_});
    *io = newContext(reader.get(), ReadBack::read, nullptr, ReadBack::seek);
    if (!*io)
        return AVERROR(ENOMEM);
    reader.release(); // closeReadBack() frees it with the context
    return 0;
}
