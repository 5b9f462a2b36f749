#include "ScreensaverOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <array>
#include <cmath>

namespace {

constexpr int longestDelay = 10'000'000; // ten seconds a tick
constexpr double fastestSpeed = 100.0;
constexpr int longestSceneSeconds = 366 * 24 * 3600;

std::optional<int> wholeNumber(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::uint32_t> windowIdFrom(const QString& text) {
    const QString trimmed = text.trimmed();
    const bool hex = trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    bool ok = false;
    const std::uint32_t id = (hex ? trimmed.mid(2) : trimmed).toUInt(&ok, hex ? 16 : 10);
    if (!ok || id == 0 || trimmed.startsWith(u'+'))
        return std::nullopt;
    return id;
}

struct ScreensaverOptions::Options {
    QCommandLineOption root{
        QStringLiteral("root"),
        ScreensaverOptions::tr("Screen saver: draws into the window named by XSCREENSAVER_WINDOW, "
                               "as the screen-saver daemon runs it, or else full screen.")};
    QCommandLineOption windowId{
        QStringLiteral("window-id"),
        ScreensaverOptions::tr("Screen saver: draws into the X11 window ID (0x... or "
                               "decimal), filling it and following its size."),
        QStringLiteral("ID")};
    QCommandLineOption delay{
        QStringLiteral("delay"),
        ScreensaverOptions::tr("Screen saver: the animation's tick, in microseconds (default "
                               "16000); a shorter tick animates faster."),
        QStringLiteral("MICROSECONDS")};
    QCommandLineOption speed{
        QStringLiteral("speed"),
        ScreensaverOptions::tr("Screen saver: multiplies the camera's turning and drifting "
                               "(default 1)."),
        QStringLiteral("F")};
    QCommandLineOption newSceneEvery{
        QStringLiteral("new-scene-every"),
        ScreensaverOptions::tr("Screen saver: a new random scene every SECONDS "
                               "(default 180; 0 keeps the first)."),
        QStringLiteral("SECONDS")};
    QCommandLineOption fps{
        QStringLiteral("fps"),
        ScreensaverOptions::tr("Screen saver: shows the frame rate in a corner. With --render "
                               "and --duration, --fps FPS is the animation's frames per second "
                               "(default 31.25: a frame every N ticks of 16 ms, N = 62.5 / FPS "
                               "rounded).")};
    QCommandLineOption scene{
        QStringLiteral("scene"),
        ScreensaverOptions::tr("Screen saver: shows the scene in FILE instead of random scenes."),
        QStringLiteral("FILE")};

    std::array<const QCommandLineOption*, 7> all() const {
        return {&root, &windowId, &delay, &speed, &newSceneEvery, &fps, &scene};
    }
};

ScreensaverOptions::ScreensaverOptions(bool withFrameRate)
    : withFrameRate_(withFrameRate)
    , options_(std::make_unique<Options>()) {}

ScreensaverOptions::~ScreensaverOptions() = default;

void ScreensaverOptions::addTo(QCommandLineParser& parser) const {
    for (const QCommandLineOption* option : options_->all())
        if (option != &options_->fps || withFrameRate_)
            parser.addOption(*option);
}

bool ScreensaverOptions::anySet(const QCommandLineParser& parser) const {
    for (const QCommandLineOption* option : options_->all()) {
        if ((option != &options_->fps || withFrameRate_) && parser.isSet(*option))
            return true;
    }
    return false;
}

Result<void> ScreensaverOptions::read(const QCommandLineParser& parser,
                                      ScreensaverRequest& request) const {
    const Options& o = *options_;
    if (parser.isSet(o.root))
        request.target = ScreensaverRequest::Target::Root;
    if (parser.isSet(o.windowId)) {
        const std::optional<std::uint32_t> id = windowIdFrom(parser.value(o.windowId));
        if (!id)
            return Failure::because(
                tr("--window-id takes an X11 window id, 0x... or decimal, not “%1”")
                    .arg(parser.value(o.windowId)));
        request.target = ScreensaverRequest::Target::WindowId;
        request.windowId = *id;
    }
    if (parser.isSet(o.delay)) {
        const std::optional<int> delay = wholeNumber(parser.value(o.delay), 0, longestDelay);
        if (!delay)
            return Failure::because(tr("--delay takes microseconds from 0 to %1, not “%2”")
                                        .arg(longestDelay)
                                        .arg(parser.value(o.delay)));
        request.delayMicroseconds = *delay;
    }
    if (parser.isSet(o.speed)) {
        bool ok = false;
        const double speed = parser.value(o.speed).trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(speed) || speed <= 0.0 || speed > fastestSpeed)
            return Failure::because(tr("--speed takes a factor above 0 and up to %1, not “%2”")
                                        .arg(fastestSpeed)
                                        .arg(parser.value(o.speed)));
        request.speed = speed;
    }
    if (parser.isSet(o.newSceneEvery)) {
        const std::optional<int> seconds =
            wholeNumber(parser.value(o.newSceneEvery), 0, longestSceneSeconds);
        if (!seconds)
            return Failure::because(tr("--new-scene-every takes seconds from 0 to %1, not “%2”")
                                        .arg(longestSceneSeconds)
                                        .arg(parser.value(o.newSceneEvery)));
        request.newSceneEverySeconds = *seconds;
    }
    request.showFrameRate = withFrameRate_ && parser.isSet(o.fps);
    request.scene = parser.value(o.scene);
    if (!parser.positionalArguments().isEmpty())
        return Failure::because(
            tr("a screen saver shows one scene at a time: name it with --scene, not as “%1”")
                .arg(parser.positionalArguments().constFirst()));
    return {};
}
