#pragma once

#include "animation/EncoderSupport.h"

#include <cstdint>
#include <memory>

struct AVFormatContext;
struct AVIOContext;

// Where a muxer writes: the caller's descriptor, from the offset it stands at. The muxer seeks
// on it only when it is seekable.
class AvioOutput {
  public:
    static Result<std::unique_ptr<AvioOutput>> open(int fd, bool seekable);
    ~AvioOutput();
    AvioOutput(const AvioOutput&) = delete;
    AvioOutput& operator=(const AvioOutput&) = delete;

    AVIOContext* context() const { return io_; }
    const FileSink& sink() const { return sink_; }
    bool seekable() const { return origin_ >= 0; }
    // Lets the muxer read back what it wrote (to move MP4's index to the front); false when
    // the descriptor cannot be read or seeked.
    bool lendReadsTo(AVFormatContext* format);

  private:
    AvioOutput(int fd, std::int64_t origin);
    static int writePacket(void* opaque, std::uint8_t* data, int size);
    static std::int64_t seek(void* opaque, std::int64_t offset, int whence);
    static int openReadBack(AVFormatContext* format, AVIOContext** io, const char* url, int flags,
                            struct AVDictionary** options);

    FileSink sink_;
    std::int64_t origin_; // where the output starts in the file; -1 when it cannot seek
    AVIOContext* io_ = nullptr;
};
