// The Import Tileset dialog's placeholder: a grey field with a red prohibition sign over the
// words "TileSet Bitmap", shown when the selected file gives no tile set.

#include "art.h"

#include <cmath>
#include <map>

using namespace art;

namespace {

constexpr int kWidth = 304;
constexpr int kHeight = 160;
constexpr int kScale = 3; // screen pixels per font pixel

// A 5 x 7 font, just the letters needed.
const std::map<char, std::array<const char*, 7>> kGlyphs = {
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'i', {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'t', {".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'p', {".....", ".....", "####.", "#...#", "####.", "#....", "#...."}},
    {' ', {".....", ".....", ".....", ".....", ".....", ".....", "....."}},
};

void drawText(Image& im, const std::string& text, int top, std::uint32_t colour) {
    const int advance = 6 * kScale;
    int left = (kWidth - static_cast<int>(text.size()) * advance + kScale) / 2;
    for (const char c : text) {
        const auto& rows = kGlyphs.at(c);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 5; ++x)
                if (rows[y][x] == '#')
                    for (int dy = 0; dy < kScale; ++dy)
                        for (int dx = 0; dx < kScale; ++dx)
                            im.set(left + x * kScale + dx, top + y * kScale + dy, colour);
        left += advance;
    }
}

} // namespace

bool art::writePlaceholder(const OutDirs& out) {
    const std::uint32_t field = opaque(0xc0c0c0);
    const std::uint32_t shade = opaque(0x808080);
    const std::uint32_t words = opaque(0x202020);
    const std::uint32_t red = opaque(0xd01818);
    Image im(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            im.set(x, y, (x == 0 || y == 0 || x == kWidth - 1 || y == kHeight - 1) ? shade : field);
    drawText(im, "TileSet Bitmap", (kHeight - 7 * kScale) / 2, words);

    // The sign: a ring and the bar from its upper left to its lower right, over the words.
    const double cx = kWidth / 2.0, cy = kHeight / 2.0, outer = 70, inner = 58, bar = 6;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double r = std::hypot(dx, dy);
            const bool ring = r <= outer && r >= inner;
            const bool onBar = r < inner && std::abs(dx - dy) / std::sqrt(2.0) <= bar;
            if (ring || onBar)
                im.set(x, y, red);
        }
    return writeFile(out.art + "/tileset_placeholder.xpm",
                     encodeXpm(im, "tileset_placeholder", "Import Tileset: nothing to preview"));
}
