#pragma once

#include <QImage>

#include <array>
#include <cstdint>
#include <vector>

// The colours of a GIF, chosen once for the whole clip from sample frames, and the mapping of
// each frame's pixels to them.
class GifPalette {
  public:
    struct Color {
        std::uint8_t red, green, blue;
    };

    // Index 0 is black exactly, the scene's background; with `transparent`, index 1 stands
    // for the pixels left out (those less than half opaque). The rest, up to 256 in all, are
    // chosen by median cut from the samples' other pixels.
    GifPalette(const std::vector<QImage>& samples, bool transparent);

    const std::vector<Color>& colors() const { return colors_; }
    // The index of the pixels left out, or -1.
    int transparentIndex() const { return transparent_; }

    // Maps a frame in Format_RGBA8888 to one index a pixel, top row first. Black and left out
    // pixels map exactly; the others are dithered, so that a run of colour along a line does
    // not break into bands, in a fixed pattern that does not flicker from frame to frame.
    void map(const QImage& frame, std::uint8_t* indices);

  private:
    std::uint8_t nearest(int red, int green, int blue);

    std::vector<Color> colors_;
    int transparent_ = -1;
    // The dither's offsets, by row and column modulo 8.
    std::array<std::array<int, 8>, 8> offsets_{};
    // The nearest colour by 6 bits a channel, filled in as colours turn up.
    std::vector<std::uint16_t> nearest_;
};
