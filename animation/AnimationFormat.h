#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// The formats a recording of the scene can be written in.
enum class AnimationFormat { WebM, MP4, GIF, WebP };

// The format a file of that name is written in, by its suffix (any case).
std::optional<AnimationFormat> animationFormatForSuffix(const QString& fileName);
// The format of that name ("webm", "mp4", "gif", "webp"; any case).
std::optional<AnimationFormat> animationFormatNamed(const QString& name);
// Its name as it is shown: "WebM", "MP4", "GIF", "WebP".
QString animationFormatName(AnimationFormat format);
// The suffixes of every format, without their dots, in the order of the formats.
QStringList animationSuffixes();

// Whether it can be written front to back with no seeking (to a pipe): all but MP4, whose
// index is written last and referred to from the front.
bool canStream(AnimationFormat format);
// Whether it can leave pixels out (GIF and WebP).
bool canBeTransparent(AnimationFormat format);

// The shortest frame period, in ticks, the format plays as recorded: GIF counts in hundredths
// of a second, and players stretch frames shown for less than two of them.
int fewestTicksPerFrame(AnimationFormat format);

// The size the format will encode for a requested size: H.264 in 4:2:0 needs even sides, so
// MP4 rounds them up; the others keep it.
QSize encodableSize(AnimationFormat format, const QSize& requested);
