#include "RenderOptions.h"

#include "CommandLine.h"
#include "framework/ErrorBox.h"
#include "framework/PictureFormats.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRegularExpression>

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
};

RenderOptions::RenderOptions()
    : options_(std::make_unique<Options>()) {}

RenderOptions::~RenderOptions() = default;

void RenderOptions::addTo(QCommandLineParser& parser) const {
    const Options& o = *options_;
    parser.addOptions({o.render, o.output, o.format, o.size, o.ticks, o.seed});
}

void RenderOptions::describeFormats() {
    options_->output.setDescription(
        tr("The picture to write (with --render), or - for standard output. Its suffix names the "
           "format (%1); a name without a suffix, and -, get --format's, or PNG.")
            .arg(formats()));
    options_->format.setDescription(tr("The picture's format (one of %1) for --output - or a name "
                                       "without a suffix; a name's suffix must agree with it.")
                                        .arg(formats()));
}

const QCommandLineOption& RenderOptions::render() const {
    return options_->render;
}

const QCommandLineOption*
RenderOptions::firstSetBesidesRender(const QCommandLineParser& parser) const {
    const Options& o = *options_;
    for (const QCommandLineOption* option : {&o.output, &o.format, &o.size, &o.ticks, &o.seed}) {
        if (parser.isSet(*option))
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
