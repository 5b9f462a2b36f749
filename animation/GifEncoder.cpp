#include "animation/AnimationTiming.h"
#include "animation/EncoderSupport.h"
#include "animation/GifPalette.h"

#include <gif_lib.h>

#include <optional>

namespace {

struct GifClose {
    void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};
struct ColorMapFree {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using GifFile = std::unique_ptr<GifFileType, GifClose>;

int writeToSink(GifFileType* gif, const GifByteType* bytes, int size) {
    auto* sink = static_cast<FileSink*>(gif->UserData);
    return sink->write(bytes, static_cast<std::size_t>(size)) ? size : 0;
}

// Written front to back: the screen and its palette with the first frame, then each frame
// whole, shown for its share of the exact time.
class GifEncoder final : public AnimationEncoder {
  public:
    GifEncoder(const AnimationSettings& settings, int fd)
        : sink_(fd)
        , settings_(settings)
        , indices_(static_cast<std::size_t>(settings.size.width()) * settings.size.height()) {}

    Result<void> open();
    Result<void> addFrame(const QImage& frame) override;
    Result<void> finish() override;

  private:
    Result<void> writeStart(const QImage& firstFrame);
    Failure writeFailure(int error) const {
        if (sink_.failed())
            return sink_.failure();
        return Failure::because(AnimationEncoding::tr("the GIF could not be written: %1")
                                    .arg(QString::fromUtf8(GifErrorString(error))));
    }
    Failure lastFailure() const { return writeFailure(gif_->Error); }

    FileSink sink_;
    AnimationSettings settings_;
    GifFile gif_;
    std::optional<GifPalette> palette_;
    std::vector<GifPixelType> indices_;
    int frames_ = 0;
};

Result<void> GifEncoder::open() {
    int error = 0;
    gif_.reset(EGifOpen(&sink_, writeToSink, &error));
    if (!gif_)
        return writeFailure(error);
    // Sequential writing names its version itself only from extensions it has kept.
    EGifSetGifVersion(gif_.get(), true);
    return {};
}

Result<void> GifEncoder::writeStart(const QImage& firstFrame) {
    // The samples are needed no longer.
    std::vector<QImage> samples = std::move(settings_.samples);
    if (samples.empty())
        samples.push_back(firstFrame);
    palette_.emplace(samples, settings_.transparent);
    std::vector<GifColorType> colors;
    for (const GifPalette::Color& color : palette_->colors())
        colors.push_back({color.red, color.green, color.blue});
    // A colour table holds a power of two colours.
    colors.resize(std::size_t{1} << GifBitSize(static_cast<int>(colors.size())));
    const std::unique_ptr<ColorMapObject, ColorMapFree> map(
        GifMakeMapObject(static_cast<int>(colors.size()), colors.data()));
    if (!map)
        return Failure::because(AnimationEncoding::tr("there is not enough memory"));
    const int background = settings_.transparent ? palette_->transparentIndex() : 0;
    if (EGifPutScreenDesc(gif_.get(), settings_.size.width(), settings_.size.height(), 8,
                          background, map.get()) == GIF_ERROR)
        return lastFailure();

    // Loop forever.
    const unsigned char loop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif_.get(), APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_.get(), 11, "NETSCAPE2.0") == GIF_ERROR ||
        EGifPutExtensionBlock(gif_.get(), sizeof loop, loop) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif_.get()) == GIF_ERROR)
        return lastFailure();
    return {};
}

Result<void> GifEncoder::addFrame(const QImage& frame) {
    const Result<QImage> image = recordedFrame(frame, settings_.size);
    if (!image)
        return image.failure();
    if (frames_ == 0)
        if (Result<void> started = writeStart(*image); !started)
            return started;

    // Each frame is whole; with transparency the last one must be cleared away first, or
    // what it drew would show through the new one's gaps.
    GraphicsControlBlock control{};
    control.DisposalMode = settings_.transparent ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
    control.DelayTime = frameDuration(frames_, settings_.ticksPerFrame, 100);
    control.TransparentColor = palette_->transparentIndex();
    GifByteType extension[4];
    const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
    if (EGifPutExtension(gif_.get(), GRAPHICS_EXT_FUNC_CODE, length, extension) == GIF_ERROR)
        return lastFailure();

    palette_->map(*image, indices_.data());
    if (EGifPutImageDesc(gif_.get(), 0, 0, settings_.size.width(), settings_.size.height(), false,
                         nullptr) == GIF_ERROR ||
        EGifPutLine(gif_.get(), indices_.data(), static_cast<int>(indices_.size())) == GIF_ERROR)
        return lastFailure();
    ++frames_;
    return {};
}

Result<void> GifEncoder::finish() {
    if (frames_ == 0)
        return noFrames();
    // Closing writes the trailer, and frees the file however it goes.
    int error = 0;
    if (EGifCloseFile(gif_.release(), &error) == GIF_ERROR)
        return writeFailure(error);
    return {};
}

} // namespace

EncoderMade makeGifEncoder(const AnimationSettings& settings, int fd) {
    if (settings.size.width() > 65535 || settings.size.height() > 65535)
        return Failure::because(
            AnimationEncoding::tr("a GIF is at most 65535 pixels wide and high"));
    auto encoder = std::make_unique<GifEncoder>(settings, fd);
    if (Result<void> opened = encoder->open(); !opened)
        return opened.failure();
    return std::unique_ptr<AnimationEncoder>(std::move(encoder));
}
