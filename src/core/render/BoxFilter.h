#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace krav {

// Shrinks a square picture of sourceSize pixels to size pixels: each
// pixel is the average, channel by channel and rounded, of the block of source pixels it
// covers, so a tile's colours still show when it is a few pixels wide. source(x, y) gives a
// source pixel as 0xFFRRGGBB; the result is size x size pixels, top row first.
template <typename Source>
std::vector<std::uint32_t> BoxFilter(int sourceSize, int size, Source source) {
    std::vector<std::uint32_t> reduced(static_cast<std::size_t>(size) * size);
    const auto start = [&](int i) { return i * sourceSize / size; };
    // A picture smaller than the result repeats its pixels instead of averaging none.
    const auto end = [&](int i) { return std::max(start(i + 1), start(i) + 1); };
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint32_t red = 0, green = 0, blue = 0, count = 0;
            for (int sy = start(y); sy < end(y); ++sy) {
                for (int sx = start(x); sx < end(x); ++sx) {
                    const std::uint32_t p = source(sx, sy);
                    red += p >> 16 & 0xFF;
                    green += p >> 8 & 0xFF;
                    blue += p & 0xFF;
                    ++count;
                }
            }
            const auto average = [count](std::uint32_t sum) { return (sum + count / 2) / count; };
            reduced[static_cast<std::size_t>(y) * size + x] =
                0xFF000000u | average(red) << 16 | average(green) << 8 | average(blue);
        }
    }
    return reduced;
}

} // namespace krav
