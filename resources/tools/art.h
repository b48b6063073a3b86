// What the drawing files of krav_make_art share: the palette of the built-in
// tile set, two kinds of picture (palette indices and true colour), shading
// helpers and the writers for the file formats we produce.

#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace art {

using u8 = std::uint8_t;

// ------------------------------------------------------------------ palette

struct Rgb {
    int r, g, b;
};
using Palette = std::array<Rgb, 256>;

// Twelve ramps of 16 shades, dark to light, then a fine 64-step grey ramp.
enum Ramp { Grey, Steel, Rust, Moss, Blue, Yellow, Green, Cyan, Red, Orange, Violet, Navy };

constexpr u8 ink(int ramp, int level) {
    return u8(ramp * 16 + std::clamp(level, 0, 15));
}

Palette makePalette();

// ----------------------------------------------------------------- lighting

// Brightness 0..1 of a surface facing (nx, ny, nz), lit from the upper left.
inline double lit(double nx, double ny, double nz) {
    const double d = -0.5 * nx - 0.6 * ny + 0.62 * nz;
    return std::clamp(0.12 + 0.88 * d, 0.0, 1.0);
}
inline int level(double brightness) {
    return int(std::lround(2 + 13 * brightness));
}
// Round tube seen across its width: s runs -1..1, and +1 faces (ax, ay).
inline int tubeLevel(double s, double ax, double ay) {
    s = std::clamp(s, -1.0, 1.0);
    return level(lit(s * ax, s * ay, std::sqrt(1 - s * s)));
}

// ----------------------------------------------------------------- pictures

// Palette pictures: the tile set and the special objects.
struct Picture {
    int width, height;
    std::vector<u8> pixels; // top row first
    Picture(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h, 0) {}
    bool inside(int x, int y) const { return x >= 0 && x < width && y >= 0 && y < height; }
    u8 get(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    void set(int x, int y, u8 c) {
        if (inside(x, y))
            pixels[std::size_t(y) * width + x] = c;
    }
};

// True-colour pictures with on/off transparency: toolbar, cursors, icons.
// A pixel is 0xAARRGGBB; alpha 0 is see-through.
struct Image {
    int width, height;
    std::vector<std::uint32_t> pixels;
    Image(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h, 0) {}
    bool inside(int x, int y) const { return x >= 0 && x < width && y >= 0 && y < height; }
    std::uint32_t get(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    void set(int x, int y, std::uint32_t c) {
        if (inside(x, y))
            pixels[std::size_t(y) * width + x] = c;
    }
};

constexpr std::uint32_t opaque(std::uint32_t rgb) {
    return 0xff000000u | rgb;
}

// Pixel art written as text: one string per row, one character per pixel,
// each character looked up in the legend (colour 0 is see-through). Rows
// may be shorter than the picture; the rest stays see-through. A character
// missing from the legend, or a row too long, is a drawing mistake and
// throws std::runtime_error.
struct Ink {
    char key;
    std::uint32_t colour; // 0xAARRGGBB
};
Image fromText(int width, int height, const std::vector<Ink>& legend,
               const std::vector<const char*>& rows);

Image flippedX(const Image& im);
Image transposed(const Image& im);
// Each pixel as a 2 x 2 block: the picture for screens of device pixel ratio 2, as sharp as
// the original.
Image doubled(const Image& im);

// ------------------------------------------------------------------ writers

std::vector<u8> encodeBmp(const Picture& pic, const Palette& pal);
std::vector<u8> colourTable(const Palette& pal); // blue, green, red, 0 per entry
// `name` becomes the C identifier; `comment` (may be empty) goes on a line of its own.
std::string encodeXpm(const Image& im, const std::string& name, const std::string& comment = {});
std::vector<u8> encodePng(const Image& im);
Image toImage(const Picture& pic, const Palette& pal); // every pixel opaque

// Appends "const unsigned char NAME[N] = {...};" with perLine bytes a line.
void writeArray(std::string& out, const char* name, const std::vector<u8>& data,
                std::size_t perLine);

bool writeFile(const std::string& path, const std::string& text);
bool writeFile(const std::string& path, const std::vector<u8>& data);

// ---------------------------------------------------------------- drawings

// Where the outputs go; the build puts them under build/generated.
struct OutDirs {
    std::string art;      // pictures: the editor's resources, the package's icons
    std::string document; // BuiltinTileSetData.cpp, compiled into the core's document library
    std::string render;   // BuiltinObjectPicturesData.cpp, for the core's renderer
    std::string view;     // CursorHotSpots.h, for the editor
};

bool writeObjects(const Palette& pal, const OutDirs& out);
bool writeCursors(const OutDirs& out);
bool writePlaceholder(const OutDirs& out);
bool writeToolbar(const OutDirs& out);
bool writeAppIcon(const OutDirs& out);

} // namespace art
