#include "animation/AnimationTiming.h"
#include "animation/AvioOutput.h"
#include "animation/EncoderSupport.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <type_traits>

namespace {

// Frees with `release`, which takes the pointer or where it is kept.
template <auto release> struct FreedBy {
    template <class T> void operator()(T* p) const {
        if constexpr (std::is_invocable_v<decltype(release), T**>)
            release(&p);
        else
            release(p);
    }
};
using FormatContext = std::unique_ptr<AVFormatContext, FreedBy<avformat_free_context>>;
using CodecContext = std::unique_ptr<AVCodecContext, FreedBy<avcodec_free_context>>;
using Frame = std::unique_ptr<AVFrame, FreedBy<av_frame_free>>;
using Packet = std::unique_ptr<AVPacket, FreedBy<av_packet_free>>;
using Scaler = std::unique_ptr<SwsContext, FreedBy<sws_freeContext>>;

// Options for FFmpeg, freed with whatever it did not take.
struct Options {
    AVDictionary* entries = nullptr;
    Options() = default;
    Options(const Options&) = delete;
    Options& operator=(const Options&) = delete;
    ~Options() { av_dict_free(&entries); }
};

QString errorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

Failure outOfMemory() {
    return Failure::because(AnimationEncoding::tr("there is not enough memory"));
}

// How each format is made: the muxer, the encoder, and the encoder's options. VP9 in real time
// with constant quality keeps up with the recording on two cores; the qualities of both come
// within a decibel or so of what 4:2:0 itself keeps of thin coloured lines.
struct VideoKind {
    const char* muxer;
    const char* encoder;
    const char* options[6][2];
};

constexpr VideoKind webm{"webm",
                         "libvpx-vp9",
                         {{"deadline", "realtime"},
                          {"cpu-used", "8"},
                          {"row-mt", "1"},
                          {"crf", "27"},
                          {"lag-in-frames", "0"},
                          {"b", "0"}}};
constexpr VideoKind mp4{"mp4",
                        "libx264",
                        {{"preset", "faster"},
                         {"crf", "18"},
                         // No frames held ahead and threads on slices of one frame: a quarter of
                         // the memory at 1920x1080 (about 50 MB rather than 200), for files a
                         // little larger.
                         {"tune", "zerolatency"}}};

QString missingEncoder(AnimationFormat format) {
    return format == AnimationFormat::WebM
               ? AnimationEncoding::tr("the WebM encoder (VP9) is not available in this FFmpeg")
               : AnimationEncoding::tr("the MP4 encoder (H.264) is not available in this FFmpeg");
}

class VideoEncoder final : public AnimationEncoder {
  public:
    VideoEncoder(std::unique_ptr<AvioOutput> output, QSize size)
        : output_(std::move(output))
        , size_(size) {}

    Result<void> open(const AnimationSettings& settings);
    Result<void> addFrame(const QImage& frame) override;
    Result<void> finish() override;

  private:
    Result<void> openCodec(const VideoKind& kind, const AnimationSettings& settings);
    Result<void> openScaler();
    // Sends a frame (null: the end) and writes every packet the encoder has ready.
    Result<void> encode(const AVFrame* frame);
    Failure encoderFailure(int error) const {
        return Failure::because(
            AnimationEncoding::tr("the video encoder stopped: %1").arg(errorText(error)));
    }
    Failure writeFailure(int error) const {
        if (output_->sink().failed())
            return output_->sink().failure();
        return Failure::because(
            AnimationEncoding::tr("the video could not be written: %1").arg(errorText(error)));
    }

    // The output outlives the muxer that writes to it.
    std::unique_ptr<AvioOutput> output_;
    FormatContext format_;
    CodecContext codec_;
    AVStream* stream_ = nullptr;
    Scaler scaler_;
    Frame frame_{av_frame_alloc()};
    Packet packet_{av_packet_alloc()};
    QSize size_;
    std::int64_t frames_ = 0;
};

Result<void> VideoEncoder::open(const AnimationSettings& settings) {
    const VideoKind& kind = settings.format == AnimationFormat::WebM ? webm : mp4;
    AVFormatContext* format = nullptr;
    if (int error = avformat_alloc_output_context2(&format, nullptr, kind.muxer, nullptr);
        error < 0)
        return writeFailure(error);
    format_.reset(format);
    format_->pb = output_->context();
    stream_ = avformat_new_stream(format, nullptr);
    if (!frame_ || !packet_ || !stream_)
        return outOfMemory();
    if (Result<void> opened = openCodec(kind, settings); !opened)
        return opened;
    if (Result<void> opened = openScaler(); !opened)
        return opened;

    if (int error = avcodec_parameters_from_context(stream_->codecpar, codec_.get()); error < 0)
        return encoderFailure(error);
    // The muxer gives the stream the finest time base its container has (Matroska's
    // milliseconds, MP4's 2^k × 125); the frame period is a whole number of either.
    stream_->time_base = codec_->time_base;
    stream_->avg_frame_rate = codec_->framerate;
    // A stream cannot go back to state its length at the end, so it states it up front.
    if (!output_->seekable() && settings.frameCount > 0)
        format_->duration = av_rescale(std::int64_t{settings.frameCount} * settings.ticksPerFrame,
                                       tickMilliseconds * AV_TIME_BASE, 1000);
    Options options;
    // With its index in front, an MP4 plays while it downloads.
    if (settings.format == AnimationFormat::MP4 && output_->lendReadsTo(format))
        av_dict_set(&options.entries, "movflags", "+faststart", 0);
    if (int error = avformat_write_header(format, &options.entries); error < 0)
        return writeFailure(error);
    return {};
}

Result<void> VideoEncoder::openCodec(const VideoKind& kind, const AnimationSettings& settings) {
    const AVCodec* codec = avcodec_find_encoder_by_name(kind.encoder);
    if (!codec)
        return Failure::because(missingEncoder(settings.format));
    codec_.reset(avcodec_alloc_context3(codec));
    if (!codec_)
        return outOfMemory();
    codec_->width = size_.width();
    codec_->height = size_.height();
    codec_->pix_fmt = AV_PIX_FMT_YUV420P;
    codec_->time_base = {2 * settings.ticksPerFrame, 125};
    codec_->framerate = {125, 2 * settings.ticksPerFrame};
    // A key frame every five seconds or so, for seeking.
    codec_->gop_size = std::max(1, 625 / (2 * settings.ticksPerFrame));
    codec_->thread_count = std::max(1, settings.threads);
    // The frames are sRGB, converted with BT.709's matrix to limited range.
    codec_->color_range = AVCOL_RANGE_MPEG;
    codec_->colorspace = AVCOL_SPC_BT709;
    codec_->color_primaries = AVCOL_PRI_BT709;
    codec_->color_trc = AVCOL_TRC_IEC61966_2_1;
    codec_->chroma_sample_location = AVCHROMA_LOC_LEFT;
    if (format_->oformat->flags & AVFMT_GLOBALHEADER)
        codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    Options options;
    for (const auto& option : kind.options)
        if (option[0])
            av_dict_set(&options.entries, option[0], option[1], 0);
    if (int error = avcodec_open2(codec_.get(), codec, &options.entries); error < 0)
        return encoderFailure(error);

    frame_->format = codec_->pix_fmt;
    frame_->width = codec_->width;
    frame_->height = codec_->height;
    if (av_frame_get_buffer(frame_.get(), 0) < 0)
        return outOfMemory();
    return {};
}

Result<void> VideoEncoder::openScaler() {
    scaler_.reset(sws_getContext(size_.width(), size_.height(), AV_PIX_FMT_RGBA, size_.width(),
                                 size_.height(), AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND,
                                 nullptr, nullptr, nullptr));
    if (!scaler_)
        return outOfMemory();
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    sws_setColorspaceDetails(scaler_.get(), bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    return {};
}

Result<void> VideoEncoder::addFrame(const QImage& frame) {
    const Result<QImage> image = recordedFrame(frame, size_);
    if (!image)
        return image.failure();
    // The encoder may still hold the last frame's pictures.
    if (int error = av_frame_make_writable(frame_.get()); error < 0)
        return encoderFailure(error);
    const std::uint8_t* const rows[] = {image->constBits()};
    const int stride[] = {static_cast<int>(image->bytesPerLine())};
    sws_scale(scaler_.get(), rows, stride, 0, size_.height(), frame_->data, frame_->linesize);
    frame_->pts = frames_++;
    return encode(frame_.get());
}

Result<void> VideoEncoder::finish() {
    if (frames_ == 0)
        return noFrames();
    if (Result<void> flushed = encode(nullptr); !flushed)
        return flushed;
    if (int error = av_write_trailer(format_.get()); error < 0)
        return writeFailure(error);
    if (output_->sink().failed())
        return output_->sink().failure();
    return {};
}

Result<void> VideoEncoder::encode(const AVFrame* frame) {
    if (int error = avcodec_send_frame(codec_.get(), frame); error < 0)
        return encoderFailure(error);
    for (;;) {
        const int received = avcodec_receive_packet(codec_.get(), packet_.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return {};
        if (received < 0)
            return encoderFailure(received);
        // Every packet is one frame shown for one period.
        packet_->duration = 1;
        packet_->stream_index = stream_->index;
        av_packet_rescale_ts(packet_.get(), codec_->time_base, stream_->time_base);
        if (int error = av_interleaved_write_frame(format_.get(), packet_.get()); error < 0)
            return writeFailure(error);
    }
}

} // namespace

EncoderMade makeVideoEncoder(const AnimationSettings& settings, int fd, bool seekable) {
    // Failures are reported in the results, never on the terminal.
    av_log_set_level(AV_LOG_QUIET);
    Result<std::unique_ptr<AvioOutput>> output = AvioOutput::open(fd, seekable);
    if (!output)
        return output.failure();
    auto encoder = std::make_unique<VideoEncoder>(std::move(*output), settings.size);
    if (Result<void> opened = encoder->open(settings); !opened)
        return opened.failure();
    return std::unique_ptr<AnimationEncoder>(std::move(encoder));
}
