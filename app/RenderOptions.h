#pragma once

#include "animation/AnimationFormat.h"
#include "base/Result.h"
#include "view/SceneFrame.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QCommandLineOption;
class QCommandLineParser;

// A picture of a scene drawn from the command line (--render).
struct RenderRequest {
    QString scene;
    QString output;    // "-": standard output
    QByteArray format; // a QImageWriter format name
    QSize size{640, 480};
    // The first frame a window draws comes before any tick, when the camera is still all
    // zero and shows nothing; after one tick it is in place.
    int ticks = 1;
    std::optional<std::uint32_t> seed; // the clock's, as in a window, when not given
    Background background = Background::Opaque;
    // With a duration, an animation of that many seconds, its first frame after `ticks`.
    std::optional<double> duration;
    AnimationFormat animationFormat = AnimationFormat::WebM;
    int ticksPerFrame = 2; // one frame every this many ticks
};

// The options of `orbalin --render`. All but --render itself go only with it.
class RenderOptions {
    Q_DECLARE_TR_FUNCTIONS(RenderOptions)

  public:
    // Without `withFrameRate`, --fps is the screen saver's.
    explicit RenderOptions(bool withFrameRate = true);
    ~RenderOptions();
    RenderOptions(const RenderOptions&) = delete;
    RenderOptions& operator=(const RenderOptions&) = delete;

    void addTo(QCommandLineParser& parser) const;
    // Names the picture formats in the options' descriptions, for the help. The formats come
    // from the image plugins, which take a while to load: a window's start-up does not wait
    // for them.
    void describeFormats();
    const QCommandLineOption& render() const;
    // The first option set that goes only with --render, if any.
    const QCommandLineOption* firstSetBesidesRender(const QCommandLineParser& parser) const;
    // Fills `request` from the parsed options (--render set), or says what is wrong with them,
    // as a sentence.
    Result<void> read(const QCommandLineParser& parser, RenderRequest& request) const;

  private:
    bool withFrameRate_;
    Result<void> readPictureFormat(const QCommandLineParser& parser, RenderRequest& request) const;
    Result<void> readAnimation(const QCommandLineParser& parser, RenderRequest& request) const;

    struct Options;
    std::unique_ptr<Options> options_;
};
