#include "animation/AnimationEncoder.h"

#include "animation/AnimationTiming.h"
#include "animation/EncoderSupport.h"

#include <QLocale>

Result<std::unique_ptr<AnimationEncoder>> makeAnimationEncoder(const AnimationSettings& settings,
                                                               int fd, bool seekable) {
    const QString name = animationFormatName(settings.format);
    if (!seekable && !canStream(settings.format))
        return Failure::because(
            AnimationEncoding::tr("MP4 cannot be streamed: it is written with its index at the "
                                  "end; write it to a file, or stream WebM, GIF or WebP"));
    if (settings.transparent && !canBeTransparent(settings.format))
        return Failure::because(AnimationEncoding::tr("%1 cannot be transparent").arg(name));
    if (settings.size.isEmpty() || encodableSize(settings.format, settings.size) != settings.size)
        return Failure::because(AnimationEncoding::tr("%1 cannot be %2×%3 pixels")
                                    .arg(name)
                                    .arg(settings.size.width())
                                    .arg(settings.size.height()));
    if (settings.ticksPerFrame < fewestTicksPerFrame(settings.format))
        return Failure::because(
            AnimationEncoding::tr("%1 plays at most %2 frames a second")
                .arg(name, QLocale().toString(62.5 / fewestTicksPerFrame(settings.format))));
    if (settings.ticksPerFrame > maximumTicksPerFrame)
        return Failure::because(AnimationEncoding::tr("the frame rate is too low"));

    switch (settings.format) {
    case AnimationFormat::WebM:
    case AnimationFormat::MP4:
        return makeVideoEncoder(settings, fd, seekable);
    case AnimationFormat::GIF:
        return makeGifEncoder(settings, fd);
    case AnimationFormat::WebP:
        return makeWebpEncoder(settings, fd);
    }
    return Failure::because(AnimationEncoding::tr("the format is unknown"));
}
