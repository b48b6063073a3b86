#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace krav {

// Sizes of a tile set bitmap: 304 x 160 pixels, 8 bits each, 19 x 10 tiles of 16 x 16.
inline constexpr int TILESET_WIDTH = 304;
inline constexpr int TILESET_HEIGHT = 160;
inline constexpr int TILE_SIZE = 16;
inline constexpr int TILES_ACROSS = TILESET_WIDTH / TILE_SIZE;
inline constexpr int TILESET_PIXEL_BYTES = TILESET_WIDTH * TILESET_HEIGHT; // 48,640
inline constexpr int BMP_FILE_HEADER_SIZE = 14;
inline constexpr int BMP_INFO_HEADER_SIZE = 40;
inline constexpr int BMP_COLOUR_TABLE_SIZE = 1024;
inline constexpr int BMP_PIXELS_OFFSET =
    BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE + BMP_COLOUR_TABLE_SIZE;          // 1078
inline constexpr int BMP_STANDARD_SIZE = BMP_PIXELS_OFFSET + TILESET_PIXEL_BYTES; // 49,718

// Kinds of tile set change.
inline constexpr int TILESET_IMPORTED = 5000;
inline constexpr int TILESET_BUILTIN = 5001;

struct TileRect {
    int x, y, width, height;
};

// Rectangle of tile picture index (0..189) in the tile set picture, origin top-left.
constexpr TileRect TileRectOf(int index) {
    return {(index % TILES_ACROSS) * TILE_SIZE, (index / TILES_ACROSS) * TILE_SIZE, TILE_SIZE,
            TILE_SIZE};
}

// One tile set: what is drawn, and what the level writer needs to write the BMP back.
struct TileSetBitmap {
    // The BMP file header as read ("BM", bfSize, reserved, bfOffBits), or made up for the
    // built-in tile set.
    std::array<std::uint8_t, BMP_FILE_HEADER_SIZE> fileHeader{};
    // The information header as read (built-in: made up, height -160).
    std::array<std::uint8_t, BMP_INFO_HEADER_SIZE> infoHeader{};
    // 256 entries of blue, green, red, reserved.
    std::array<std::uint8_t, BMP_COLOUR_TABLE_SIZE> colourTable{};
    // 160 stored rows of 304 bytes, in the order of the bitmap they came from.
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(TILESET_PIXEL_BYTES);
    // True when the first stored row is the top row of the picture (the built-in tile set).
    bool topDown = false;
    // Bytes some level files carry between the pixels and bfSize; written back unchanged.
    std::vector<std::uint8_t> trailingBytes;

    std::uint32_t FileSize() const;    // bfSize as read
    std::uint32_t PixelOffset() const; // bfOffBits as read

    // Colour index of the picture pixel (x, y), origin top-left.
    std::uint8_t PixelAt(int x, int y) const {
        const int storedRow = topDown ? y : TILESET_HEIGHT - 1 - y;
        return pixels[static_cast<std::size_t>(storedRow) * TILESET_WIDTH + x];
    }
    // Red, green and blue of a colour table entry, as 0xRRGGBB.
    std::uint32_t ColourRgb(int index) const;
};

} // namespace krav
