#include "animation/AnimationTiming.h"
#include "animation/EncoderSupport.h"

#include <webp/encode.h>
#include <webp/mux.h>

namespace {

struct AnimEncoderDelete {
    void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};

// A picture that frees its pixels.
struct Picture : WebPPicture {
    Picture() { WebPPictureInit(this); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture() { WebPPictureFree(this); }
};

// The assembled file, freed once written.
struct Assembled : WebPData {
    Assembled() { WebPDataInit(this); }
    Assembled(const Assembled&) = delete;
    Assembled& operator=(const Assembled&) = delete;
    ~Assembled() { WebPDataClear(this); }
};

// Kept whole in memory until finished, since its header gives the file's length; then written
// in one go, which a pipe takes as well as a file.
class WebpEncoder final : public AnimationEncoder {
  public:
    WebpEncoder(const AnimationSettings& settings, int fd)
        : sink_(fd)
        , size_(settings.size)
        , ticksPerFrame_(settings.ticksPerFrame)
        , transparent_(settings.transparent) {}

    Result<void> open();
    Result<void> addFrame(const QImage& frame) override;
    Result<void> finish() override;

  private:
    Failure encoderFailure() const {
        return Failure::because(
            AnimationEncoding::tr("the WebP encoder stopped: %1")
                .arg(QString::fromUtf8(WebPAnimEncoderGetError(encoder_.get()))));
    }
    int startOf(int frame) const {
        return static_cast<int>(frameStart(frame, ticksPerFrame_, 1000));
    }

    FileSink sink_;
    QSize size_;
    int ticksPerFrame_;
    bool transparent_;
    WebPConfig config_{};
    std::unique_ptr<WebPAnimEncoder, AnimEncoderDelete> encoder_;
    int frames_ = 0;
};

Result<void> WebpEncoder::open() {
    // Lossless suits line art; the least effort keeps up with the recording.
    if (!WebPConfigInit(&config_) || !WebPConfigLosslessPreset(&config_, 0))
        return Failure::because(AnimationEncoding::tr(
            "the WebP library is not the version this program was built for"));
    config_.thread_level = 1;

    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options))
        return Failure::because(AnimationEncoding::tr(
            "the WebP library is not the version this program was built for"));
    options.anim_params.loop_count = 0;
    options.anim_params.bgcolor = transparent_ ? 0x00000000 : 0xff000000;
    // Key frames are only for seeking, which an animation shown from the start does not need;
    // choosing them costs a second encoding of each candidate.
    options.kmin = 0;
    options.kmax = 0;
    if (size_.width() > WEBP_MAX_DIMENSION || size_.height() > WEBP_MAX_DIMENSION)
        return Failure::because(AnimationEncoding::tr("a WebP is at most %1 pixels wide and high")
                                    .arg(WEBP_MAX_DIMENSION));
    encoder_.reset(WebPAnimEncoderNew(size_.width(), size_.height(), &options));
    if (!encoder_)
        return Failure::because(AnimationEncoding::tr("there is not enough memory"));
    return {};
}

Result<void> WebpEncoder::addFrame(const QImage& frame) {
    const Result<QImage> image = recordedFrame(frame, size_);
    if (!image)
        return image.failure();
    Picture picture;
    picture.use_argb = 1;
    picture.width = size_.width();
    picture.height = size_.height();
    const int stride = static_cast<int>(image->bytesPerLine());
    // Without transparency the frames are opaque, whatever their alpha.
    const int imported = transparent_ ? WebPPictureImportRGBA(&picture, image->constBits(), stride)
                                      : WebPPictureImportRGBX(&picture, image->constBits(), stride);
    if (!imported)
        return Failure::because(AnimationEncoding::tr("there is not enough memory"));
    if (!WebPAnimEncoderAdd(encoder_.get(), &picture, startOf(frames_), &config_))
        return encoderFailure();
    ++frames_;
    return {};
}

Result<void> WebpEncoder::finish() {
    if (frames_ == 0)
        return noFrames();
    // The end of the last frame.
    if (!WebPAnimEncoderAdd(encoder_.get(), nullptr, startOf(frames_), nullptr))
        return encoderFailure();
    Assembled file;
    if (!WebPAnimEncoderAssemble(encoder_.get(), &file))
        return encoderFailure();
    if (!sink_.write(file.bytes, file.size))
        return sink_.failure();
    return {};
}

} // namespace

EncoderMade makeWebpEncoder(const AnimationSettings& settings, int fd) {
    auto encoder = std::make_unique<WebpEncoder>(settings, fd);
    if (Result<void> opened = encoder->open(); !opened)
        return opened.failure();
    return std::unique_ptr<AnimationEncoder>(std::move(encoder));
}
