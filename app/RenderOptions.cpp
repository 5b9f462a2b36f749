#include "RenderOptions.h"

#include "CommandLine.h"
#include "animation/AnimationTiming.h"
#include "framework/ErrorBox.h"
#include "framework/PictureFormats.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

#include <array>

namespace {

// About eighteen days of animation: still drawn within seconds.
constexpr int mostTicks = 100'000'000;

// "WxH", or "N" for a square.
std::optional<QSize> sizeFrom(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})(?:[x×X](\\d{1,5}))?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).isEmpty() ? width : match.captured(2).toInt();
    if (width < 1 || height < 1 || width > CommandLine::largestSizeSide ||
        height > CommandLine::largestSizeSide)
        return std::nullopt;
    return QSize(width, height);
}

// One name for the formats that have two ("jpg" and "jpeg").
QByteArray canonicalFormat(const QByteArray& format) {
    if (format == "jpeg")
        return QByteArrayLiteral("jpg");
    if (format == "tiff")
        return QByteArrayLiteral("tif");
    return format;
}

QString formats() {
    return QString::fromLatin1(writablePictureFormats().join(", "));
}

// An hour: a longer clip is better made in parts.
constexpr double longestDuration = 3600;
// A frame a tick, the animation's own rate.
constexpr double mostFramesPerSecond = 62.5;
constexpr double fewestFramesPerSecond = 0.1;

// A number from `low` to `high`, or nothing.
std::optional<double> numberFrom(const QString& text, double low, double high) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !(value >= low && value <= high))
        return std::nullopt;
    return value;
}

} // namespace

struct RenderOptions::Options {
    QCommandLineOption render{QStringLiteral("render"),
                              RenderOptions::tr("Draws one frame of SCENE into PICTURE and exits."),
                              QStringLiteral("SCENE")};
    QCommandLineOption output{QStringLiteral("output"), QString(), QStringLiteral("PICTURE")};
    QCommandLineOption format{QStringLiteral("format"), QString(), QStringLiteral("FORMAT")};
    QCommandLineOption size{
        QStringLiteral("size"),
        RenderOptions::tr(
            "The picture's size in pixels, as WxH, or N for N×N, each from 1 to %1 (less when "
            "the OpenGL driver draws less; default 640x480).")
            .arg(CommandLine::largestSizeSide),
        QStringLiteral("WxH")};
    QCommandLineOption ticks{
        QStringLiteral("ticks"),
        RenderOptions::tr(
            "Draws the frame after N ticks of the animation, 16 ms each (default 1). A window's "
            "very first frame comes before any tick, when its camera is not in place yet and "
            "shows nothing; 0 draws that frame."),
        QStringLiteral("N")};
    QCommandLineOption seed{
        QStringLiteral("seed"),
        RenderOptions::tr(
            "Picks the random camera with seed N (0 to 4294967295) instead of the clock: the "
            "same scene, seed, ticks and size always give the same picture."),
        QStringLiteral("N")};
    QCommandLineOption duration{
        QStringLiteral("duration"),
        RenderOptions::tr("Records SECONDS of the animation into an animation file instead of "
                          "a picture: WebM, MP4, GIF or WebP, named by the suffix of --output "
                          "or by --format (WebM for - or a name without a suffix). Its first "
                          "frame is the picture --ticks would draw."),
        QStringLiteral("SECONDS")};
    QCommandLineOption fps{
        QStringLiteral("fps"),
        RenderOptions::tr("With --duration, frames per second (default 31.25): one frame every "
                          "N ticks of 16 ms, N = 62.5 / FPS rounded, so the rate is 62.5 / N."),
        QStringLiteral("FPS")};
    QCommandLineOption background{
        QStringLiteral("background"),
        RenderOptions::tr("black (the default), or transparent: the lines on nothing, for PNG "
                          "pictures and GIF and WebP animations."),
        QStringLiteral("COLOUR")};
    std::array<const QCommandLineOption*, 8> besidesRender() const {
        return {&output, &format, &size, &ticks, &seed, &duration, &fps, &background};
    }
};

RenderOptions::RenderOptions(bool withFrameRate)
    : withFrameRate_(withFrameRate)
    , options_(std::make_unique<Options>()) {}

RenderOptions::~RenderOptions() = default;

void RenderOptions::addTo(QCommandLineParser& parser) const {
    const Options& o = *options_;
    parser.addOption(o.render);
    for (const QCommandLineOption* option : o.besidesRender())
        if (option != &o.fps || withFrameRate_)
            parser.addOption(*option);
}

void RenderOptions::describeFormats() {
    options_->output.setDescription(
        tr("The picture to write (with --render), or - for standard output. Its suffix names the "
           "format (%1); a name without a suffix, and -, get --format's, or PNG. With "
           "--duration, the animation (%2; all but MP4 may go to -).")
            .arg(formats(), animationSuffixes().join(QStringLiteral(", "))));
    options_->format.setDescription(
        tr("The picture's format (one of %1), or the animation's (one of %2), for --output - or "
           "a name without a suffix; a name's suffix must agree with it.")
            .arg(formats(), animationSuffixes().join(QStringLiteral(", "))));
}

const QCommandLineOption& RenderOptions::render() const {
    return options_->render;
}

const QCommandLineOption*
RenderOptions::firstSetBesidesRender(const QCommandLineParser& parser) const {
    const Options& o = *options_;
    for (const QCommandLineOption* option : o.besidesRender()) {
        if ((option != &o.fps || withFrameRate_) && parser.isSet(*option))
            return option;
    }
    return nullptr;
}

Result<void> RenderOptions::read(const QCommandLineParser& parser, RenderRequest& request) const {
    const Options& o = *options_;
    request.scene = parser.value(o.render);
    if (!parser.isSet(o.output))
        return Failure::because(tr("--render needs --output PICTURE, the picture to write."));
    request.output = parser.value(o.output);
    if (parser.isSet(o.background)) {
        const QString background = parser.value(o.background).toLower();
        if (background != QStringLiteral("black") && background != QStringLiteral("transparent"))
            return Failure::because(tr("--background takes black or transparent, not “%1”.")
                                        .arg(parser.value(o.background)));
        if (background == QStringLiteral("transparent"))
            request.background = Background::Transparent;
    }
    if (const Result<void> format = parser.isSet(o.duration) ? readAnimation(parser, request)
                                                             : readPictureFormat(parser, request);
        !format)
        return format;
    if (parser.isSet(o.size)) {
        const std::optional<QSize> value = sizeFrom(parser.value(o.size));
        if (!value)
            return Failure::because(CommandLine::sizeMistake(parser.value(o.size),
                                                             CommandLine::largestSizeSide, false));
        request.size = *value;
    }
    if (parser.isSet(o.ticks)) {
        bool ok = false;
        request.ticks = parser.value(o.ticks).toInt(&ok);
        if (!ok || request.ticks < 0 || request.ticks > mostTicks)
            return Failure::because(tr("--ticks takes a whole number from 0 to %1, not “%2”.")
                                        .arg(mostTicks)
                                        .arg(parser.value(o.ticks)));
    }
    if (parser.isSet(o.seed)) {
        bool ok = false;
        request.seed = parser.value(o.seed).toUInt(&ok);
        if (!ok)
            return Failure::because(
                tr("--seed takes a whole number from 0 to 4294967295, not “%1”.")
                    .arg(parser.value(o.seed)));
    }
    return {};
}

Result<void> RenderOptions::readPictureFormat(const QCommandLineParser& parser,
                                              RenderRequest& request) const {
    const Options& o = *options_;
    if (parser.isSet(o.fps))
        return Failure::because(tr("--fps goes with --duration."));
    // The format: the name's suffix, else --format, else PNG; the two must agree.
    QByteArray given = QByteArrayLiteral("png");
    if (parser.isSet(o.format)) {
        given = parser.value(o.format).toLower().toLatin1();
        if (!writablePictureFormats().contains(given))
            return Failure::because(
                tr("--format takes one of %1, not “%2”.").arg(formats(), parser.value(o.format)));
    }
    if (request.output == QStringLiteral("-")) {
        request.format = given;
    } else {
        if (const Result<void> name = checkPictureName(request.output); !name)
            return Failure::because(asSentence(name.reason()));
        request.format = pictureFormatFor(request.output, given);
        if (parser.isSet(o.format) && canonicalFormat(request.format) != canonicalFormat(given))
            return Failure::because(tr("“%1” names another format than --format %2.")
                                        .arg(request.output, parser.value(o.format)));
    }
    if (request.background == Background::Transparent && request.format != "png")
        return Failure::because(
            tr("--background transparent needs a picture that keeps transparency: PNG."));
    return {};
}

Result<void> RenderOptions::readAnimation(const QCommandLineParser& parser,
                                          RenderRequest& request) const {
    const Options& o = *options_;
    const std::optional<double> duration =
        numberFrom(parser.value(o.duration), 0.001, longestDuration);
    if (!duration)
        return Failure::because(tr("--duration takes seconds, more than 0 and at most %1, not "
                                   "“%2”.")
                                    .arg(longestDuration)
                                    .arg(parser.value(o.duration)));
    request.duration = *duration;
    if (parser.isSet(o.fps)) {
        const std::optional<double> fps =
            numberFrom(parser.value(o.fps), fewestFramesPerSecond, mostFramesPerSecond);
        if (!fps)
            return Failure::because(tr("--fps takes a number of frames per second from %1 to "
                                       "%2, not “%3”.")
                                        .arg(fewestFramesPerSecond)
                                        .arg(mostFramesPerSecond)
                                        .arg(parser.value(o.fps)));
        request.ticksPerFrame = ticksPerFrame(*fps);
    }
    // The format: the name's suffix, else --format, else WebM; the two must agree.
    const QString suffixes = animationSuffixes().join(QStringLiteral(", "));
    std::optional<AnimationFormat> given;
    if (parser.isSet(o.format)) {
        given = animationFormatNamed(parser.value(o.format));
        if (!given)
            return Failure::because(tr("--format takes one of %1 with --duration, not “%2”.")
                                        .arg(suffixes, parser.value(o.format)));
    }
    const bool toStandardOutput = request.output == QStringLiteral("-");
    const QString suffix = QFileInfo(request.output).suffix();
    const std::optional<AnimationFormat> named =
        toStandardOutput || suffix.isEmpty() ? given : animationFormatForSuffix(request.output);
    if (!named && !toStandardOutput && !suffix.isEmpty())
        return Failure::because(tr("“%1” does not name an animation format: its suffix must be "
                                   "one of %2.")
                                    .arg(request.output, suffixes));
    if (given && named && *given != *named)
        return Failure::because(tr("“%1” names another format than --format %2.")
                                    .arg(request.output, parser.value(o.format)));
    request.animationFormat = named.value_or(AnimationFormat::WebM);
    const QString name = animationFormatName(request.animationFormat);
    if (toStandardOutput && !canStream(request.animationFormat))
        return Failure::because(tr("%1 cannot go to standard output: it is written with its "
                                   "index last; name a file, or stream WebM, GIF or WebP.")
                                    .arg(name));
    if (request.ticksPerFrame < fewestTicksPerFrame(request.animationFormat))
        return Failure::because(tr("%1 plays at most %2 frames a second, not --fps %3.")
                                    .arg(name)
                                    .arg(62.5 / fewestTicksPerFrame(request.animationFormat))
                                    .arg(parser.value(o.fps)));
    if (request.background == Background::Transparent && !canBeTransparent(request.animationFormat))
        return Failure::because(tr("--background transparent needs an animation that keeps "
                                   "transparency: GIF or WebP, not %1.")
                                    .arg(name));
    return {};
}
