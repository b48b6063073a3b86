// A picture's colours as a tile set takes them: red, green and blue alone (an RGB32 picture's
// top byte is no part of a colour), at most 256 of them, in the order they first appear or as
// the first entry of the given table that holds them. The picture given is never changed.
#include "TileSetPicture.h"
#include "document/LoadTileSet.h"

#include <QImage>
#include <gtest/gtest.h>
#include <vector>

namespace krav {
namespace {

using Pixels = std::vector<std::uint32_t>;

// The built-in tile set's colours, pixel by pixel, with `top` as every pixel's top byte.
Pixels BuiltInPixels(std::uint32_t top) {
    const auto builtIn = LoadBuiltInTileSet();
    Pixels pixels;
    for (int y = 0; y < TILESET_HEIGHT; ++y)
        for (int x = 0; x < TILESET_WIDTH; ++x)
            pixels.push_back(top << 24 | builtIn->ColourRgb(builtIn->PixelAt(x, y)));
    return pixels;
}

// `colours` colours, 0x000007, 0x000107 ..., in turn; every other pixel's top byte is zero.
Pixels Colours(int colours) {
    Pixels pixels(TILESET_PIXEL_BYTES);
    for (std::size_t p = 0; p < pixels.size(); ++p)
        pixels[p] = (p % 2 ? 0xFF000000u : 0u) | static_cast<std::uint32_t>(p % colours) << 8 | 7;
    return pixels;
}

TEST(TileSetPictureColours, TellsColoursByRedGreenAndBlueAlone) {
    const auto builtIn = LoadBuiltInTileSet();
    // The built-in BMP with entry 1 holding the colour of a later entry that was alone in its
    // table.
    int alone = 2;
    const auto count = [&builtIn](std::uint32_t rgb) {
        int n = 0;
        for (int i = 0; i < 256; ++i)
            n += builtIn->ColourRgb(i) == rgb;
        return n;
    };
    while (count(builtIn->ColourRgb(alone)) > 1)
        ++alone;
    QByteArray twice = BmpPartsOf(*builtIn);
    const int heightAt = BMP_FILE_HEADER_SIZE + 8; // bottom-up, as a level's tile set is
    twice[heightAt] = static_cast<char>(TILESET_HEIGHT);
    twice[heightAt + 1] = twice[heightAt + 2] = twice[heightAt + 3] = 0;
    const int tableStart = BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE;
    for (int b = 0; b < 4; ++b)
        twice[tableStart + 4 + b] = twice[tableStart + alone * 4 + b];
    const std::uint32_t twiceHeld = builtIn->ColourRgb(alone);
    struct Case {
        const char* name;
        Pixels pixels;
        QByteArray parts;
        bool made;        // a tile set, not the built-in one
        std::string note; // or why not
    };
    const std::vector<Case> cases{
        {"the built-in set, top bytes zero", BuiltInPixels(0), {}, false, ""},
        {"the built-in set, top bytes 0x80", BuiltInPixels(0x80), {}, false, ""},
        {"256 colours", Colours(256), {}, true, ""},
        {"257 colours", Colours(257), {}, false, "has 257 colours; a tile set holds at most 256"},
        {"a colour the table holds twice", Pixels(TILESET_PIXEL_BYTES, twiceHeld), twice, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pixels pixels = c.pixels;
        const QImage picture(reinterpret_cast<const uchar*>(pixels.data()), TILESET_WIDTH,
                             TILESET_HEIGHT, TILESET_WIDTH * 4, QImage::Format_RGB32);
        const TileSetChoice choice = TileSetFromImage(picture, c.parts);
        EXPECT_EQ(pixels, c.pixels); // the picture is only read
        EXPECT_EQ(choice.note, c.note);
        ASSERT_EQ(choice.tileSet != nullptr, c.made);
        if (!c.made)
            continue;
        // Every pixel shows its colour; a new table takes the colours in order, a given one
        // gives each colour its first entry.
        for (int y = 0; y < TILESET_HEIGHT; ++y)
            for (int x = 0; x < TILESET_WIDTH; ++x) {
                const std::uint32_t rgb = c.pixels[y * TILESET_WIDTH + x] & 0xFFFFFFu;
                const int index = choice.tileSet->PixelAt(x, y);
                ASSERT_EQ(choice.tileSet->ColourRgb(index), rgb) << x << "," << y;
                ASSERT_EQ(index, c.parts.isEmpty() ? static_cast<int>(rgb >> 8) : 1);
            }
    }
}

} // namespace
} // namespace krav
