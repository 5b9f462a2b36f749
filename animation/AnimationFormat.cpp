#include "animation/AnimationFormat.h"

#include <QFileInfo>

#include <array>

namespace {

struct FormatNames {
    AnimationFormat format;
    const char* suffix;
    const char* shown;
};

constexpr std::array<FormatNames, 4> formats{{
    {AnimationFormat::WebM, "webm", "WebM"},
    {AnimationFormat::MP4, "mp4", "MP4"},
    {AnimationFormat::GIF, "gif", "GIF"},
    {AnimationFormat::WebP, "webp", "WebP"},
}};

} // namespace

std::optional<AnimationFormat> animationFormatForSuffix(const QString& fileName) {
    return animationFormatNamed(QFileInfo(fileName).suffix());
}

std::optional<AnimationFormat> animationFormatNamed(const QString& name) {
    for (const FormatNames& names : formats)
        if (name.compare(QLatin1String(names.suffix), Qt::CaseInsensitive) == 0)
            return names.format;
    return std::nullopt;
}

QString animationFormatName(AnimationFormat format) {
    return QLatin1String(formats[static_cast<std::size_t>(format)].shown);
}

QStringList animationSuffixes() {
    QStringList suffixes;
    for (const FormatNames& names : formats)
        suffixes << QLatin1String(names.suffix);
    return suffixes;
}

bool canStream(AnimationFormat format) {
    return format != AnimationFormat::MP4;
}

bool canBeTransparent(AnimationFormat format) {
    return format == AnimationFormat::GIF || format == AnimationFormat::WebP;
}

int fewestTicksPerFrame(AnimationFormat format) {
    return format == AnimationFormat::GIF ? 2 : 1;
}

QSize encodableSize(AnimationFormat format, const QSize& requested) {
    if (format != AnimationFormat::MP4)
        return requested;
    return {requested.width() + (requested.width() & 1),
            requested.height() + (requested.height() & 1)};
}
