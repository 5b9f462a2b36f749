#include "animation/GifPalette.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::uint16_t unknown = 0xffff;

// The pixels of one colour cell (5 bits a channel): their count and their sums.
struct Cell {
    std::uint64_t sum[3] = {};
    std::uint64_t count = 0;
    int mean(int channel) const { return static_cast<int>((sum[channel] + count / 2) / count); }
};

bool leftOut(const std::uint8_t* pixel, bool transparent) {
    return transparent && pixel[3] < 128;
}

// The cells the samples' coloured pixels fall in; black, the background, has its own index.
std::vector<Cell> occupiedCells(const std::vector<QImage>& samples, bool transparent) {
    std::vector<Cell> cells(1 << 15);
    for (const QImage& sample : samples) {
        const QImage image = sample.convertToFormat(QImage::Format_RGBA8888);
        for (int y = 0; y < image.height(); ++y) {
            const std::uint8_t* pixel = image.constScanLine(y);
            for (int x = 0; x < image.width(); ++x, pixel += 4) {
                if (leftOut(pixel, transparent) || (pixel[0] | pixel[1] | pixel[2]) == 0)
                    continue;
                Cell& cell = cells[(pixel[0] >> 3) << 10 | (pixel[1] >> 3) << 5 | pixel[2] >> 3];
                for (int channel = 0; channel < 3; ++channel)
                    cell.sum[channel] += pixel[channel];
                ++cell.count;
            }
        }
    }
    std::erase_if(cells, [](const Cell& cell) { return cell.count == 0; });
    return cells;
}

// A box of cells for median cut, and which channel it is widest in.
struct Box {
    std::vector<Cell>::iterator begin, end;
    std::uint64_t count = 0;
    int channel = 0;
    int extent = 0;

    Box(std::vector<Cell>::iterator from, std::vector<Cell>::iterator to)
        : begin(from)
        , end(to) {
        for (int c = 0; c < 3; ++c) {
            const auto [least, most] = std::minmax_element(
                begin, end, [c](const Cell& a, const Cell& b) { return a.mean(c) < b.mean(c); });
            if (most->mean(c) - least->mean(c) > extent) {
                extent = most->mean(c) - least->mean(c);
                channel = c;
            }
        }
        for (auto cell = begin; cell != end; ++cell)
            count += cell->count;
    }
    // Boxes of many pixels spread wide are split first.
    double weight() const { return static_cast<double>(count) * extent; }

    GifPalette::Color color() const {
        std::uint64_t sum[3] = {};
        for (auto cell = begin; cell != end; ++cell)
            for (int c = 0; c < 3; ++c)
                sum[c] += cell->sum[c];
        auto mean = [&](int c) { return static_cast<std::uint8_t>((sum[c] + count / 2) / count); };
        return {mean(0), mean(1), mean(2)};
    }
};

// Splits the cells into at most `wanted` boxes, each at the median pixel of its widest channel.
std::vector<Box> medianCut(std::vector<Cell>& cells, int wanted) {
    std::vector<Box> boxes;
    if (!cells.empty())
        boxes.emplace_back(cells.begin(), cells.end());
    while (static_cast<int>(boxes.size()) < wanted) {
        const auto widest =
            std::max_element(boxes.begin(), boxes.end(),
                             [](const Box& a, const Box& b) { return a.weight() < b.weight(); });
        if (widest == boxes.end() || widest->extent == 0)
            break;
        const Box box = *widest;
        const int c = box.channel;
        std::sort(box.begin, box.end,
                  [c](const Cell& a, const Cell& b) { return a.mean(c) < b.mean(c); });
        auto split = box.begin;
        for (std::uint64_t below = 0; below * 2 < box.count;)
            below += (split++)->count;
        split = std::clamp(split, box.begin + 1, box.end - 1);
        *widest = Box(box.begin, split);
        boxes.emplace_back(split, box.end);
    }
    return boxes;
}

int distance(const GifPalette::Color& color, int red, int green, int blue) {
    const int r = color.red - red, g = color.green - green, b = color.blue - blue;
    // Green counts most and blue least, roughly as the eye sees them.
    return 3 * r * r + 4 * g * g + 2 * b * b;
}

// How far apart the chosen colours typically lie: the mean distance from each to its nearest
// neighbour, as one channel's difference. The dither spreads a pixel that far.
double typicalSpacing(const std::vector<GifPalette::Color>& colors, std::size_t first) {
    double total = 0;
    for (std::size_t i = first; i < colors.size(); ++i) {
        int closest = std::numeric_limits<int>::max();
        for (std::size_t j = 0; j < colors.size(); ++j)
            if (j != i && (j >= first || j == 0))
                closest = std::min(
                    closest, distance(colors[j], colors[i].red, colors[i].green, colors[i].blue));
        total += std::sqrt(closest / 9.0);
    }
    return colors.size() > first ? total / static_cast<double>(colors.size() - first) : 0;
}

} // namespace

GifPalette::GifPalette(const std::vector<QImage>& samples, bool transparent)
    : colors_{{0, 0, 0}}
    , nearest_(1 << 18, unknown) {
    if (transparent) {
        transparent_ = 1;
        colors_.push_back({0, 0, 0});
    }
    const std::size_t first = colors_.size();
    std::vector<Cell> cells = occupiedCells(samples, transparent);
    for (const Box& box : medianCut(cells, 256 - static_cast<int>(first)))
        colors_.push_back(box.color());

    // Bayer's 8×8 ordered pattern, centred on zero.
    const double spread = std::clamp(typicalSpacing(colors_, first), 2.0, 32.0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            int order = 0;
            for (int bit = 0; bit < 3; ++bit) {
                const int across = (x >> bit) & 1, down = (y >> bit) & 1;
                order |= ((across ^ down) << (5 - 2 * bit)) | (down << (4 - 2 * bit));
            }
            offsets_[y][x] =
                static_cast<int>(std::lround((order + 0.5) / 64.0 * spread - spread / 2));
        }
}

std::uint8_t GifPalette::nearest(int red, int green, int blue) {
    std::uint16_t& known = nearest_[(red >> 2) << 12 | (green >> 2) << 6 | blue >> 2];
    if (known == unknown) {
        // The middle of the cell stands for all of it.
        auto middle = [](int value) { return (value & ~3) | 2; };
        int best = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < colors_.size(); ++i) {
            const int d = distance(colors_[i], middle(red), middle(green), middle(blue));
            if (static_cast<int>(i) != transparent_ && d < best) {
                best = d;
                known = static_cast<std::uint16_t>(i);
            }
        }
    }
    return static_cast<std::uint8_t>(known);
}

void GifPalette::map(const QImage& frame, std::uint8_t* indices) {
    const bool transparent = transparent_ >= 0;
    for (int y = 0; y < frame.height(); ++y) {
        const std::uint8_t* pixel = frame.constScanLine(y);
        const std::array<int, 8>& offsets = offsets_[y & 7];
        for (int x = 0; x < frame.width(); ++x, pixel += 4, ++indices) {
            if (leftOut(pixel, transparent)) {
                *indices = static_cast<std::uint8_t>(transparent_);
            } else if ((pixel[0] | pixel[1] | pixel[2]) == 0) {
                *indices = 0;
            } else {
                const int offset = offsets[x & 7];
                auto dithered = [offset](int value) { return std::clamp(value + offset, 0, 255); };
                *indices = nearest(dithered(pixel[0]), dithered(pixel[1]), dithered(pixel[2]));
            }
        }
    }
}
