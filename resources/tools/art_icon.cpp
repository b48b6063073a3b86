// The application icon: a little space station laid out on an editing grid,
// with a pencil at work on it, on a dark rounded square. Drawn afresh for
// every size so that the grid and plates stay on whole pixels; the round
// parts are smoothed by sampling each pixel several times. The PNGs keep
// the smooth edges; XPM can only switch a pixel on or off.

#include "art.h"

#include <functional>
#include <numbers>
#include <optional>

namespace art {
namespace {

struct Colour {
    double r, g, b; // 0..255
};
Colour hex(std::uint32_t rgb) {
    return {double(rgb >> 16 & 0xff), double(rgb >> 8 & 0xff), double(rgb & 0xff)};
}
Colour mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Straight (not premultiplied) colour with a coverage per pixel.
struct Canvas {
    int size;
    std::vector<Colour> colour;
    std::vector<double> alpha;
    explicit Canvas(int n) : size(n), colour(std::size_t(n) * n, {0, 0, 0}), alpha(colour.size()) {}

    void put(int x, int y, Colour c, double a = 1) {
        const std::size_t i = std::size_t(y) * size + x;
        const double out = a + alpha[i] * (1 - a);
        if (out > 0)
            colour[i] = mix(colour[i], c, a / out);
        alpha[i] = out;
    }
    // Paints a shape given in units of the icon's width (0..1); the shape
    // answers a colour where it covers a point.
    void paint(const std::function<std::optional<Colour>(double u, double v)>& shape) {
        constexpr int kSamples = 4;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                Colour sum{0, 0, 0};
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx) {
                        const double u = (x + (sx + 0.5) / kSamples) / size;
                        const double v = (y + (sy + 0.5) / kSamples) / size;
                        if (const auto c = shape(u, v)) {
                            sum = {sum.r + c->r, sum.g + c->g, sum.b + c->b};
                            ++hits;
                        }
                    }
                if (hits > 0)
                    put(x, y, {sum.r / hits, sum.g / hits, sum.b / hits},
                        double(hits) / (kSamples * kSamples));
            }
    }
    Image image() const {
        Image im(size, size);
        for (std::size_t i = 0; i < colour.size(); ++i) {
            auto channel = [](double v) {
                return std::uint32_t(std::lround(std::clamp(v, 0.0, 255.0)));
            };
            const std::uint32_t a = channel(alpha[i] * 255);
            im.pixels[i] = a << 24 | channel(colour[i].r) << 16 | channel(colour[i].g) << 8 |
                           channel(colour[i].b);
        }
        return im;
    }
};

// XPM knows only on or off, so half-covered edge pixels are decided here.
Image hardEdged(Image im) {
    for (std::uint32_t& p : im.pixels)
        p = p >> 24 >= 128 ? p | 0xff000000u : 0;
    return im;
}

bool insideRoundedSquare(double u, double v, double inset, double radius) {
    const double dx = std::max({inset + radius - u, u - (1 - inset - radius), 0.0});
    const double dy = std::max({inset + radius - v, v - (1 - inset - radius), 0.0});
    return u >= inset && u <= 1 - inset && v >= inset && v <= 1 - inset &&
           dx * dx + dy * dy <= radius * radius;
}

// Cells of the station on an 8 x 8 lattice: plates, the red core, a cyan
// warp and a yellow flag.
// clang-format off
constexpr const char* kStation[8] = {
    "........",
    ".w.#..y.",
    "..###...",
    ".##R##..",
    "..###...",
    "...#....",
    "........",
    "........",
};
// clang-format on

void drawPlate(Canvas& c, int left, int top, int cell, Colour base, Colour light, Colour dark) {
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
            Colour k = base;
            if (cell >= 4 && (x == 0 || y == 0))
                k = light;
            else if (cell >= 4 && (x == cell - 1 || y == cell - 1))
                k = dark;
            c.put(left + x, top + y, k);
        }
}

// Sizes from 32 up: cells of at least four pixels.
Image appIcon(int size) {
    Canvas c(size);
    const Colour rim = hex(0x070b18), upper = hex(0x1d2d60), lower = hex(0x0a1230);
    const double border = std::max(1.0, size / 32.0) / size;
    c.paint([&](double u, double v) -> std::optional<Colour> {
        if (!insideRoundedSquare(u, v, 0.02, 0.17))
            return std::nullopt;
        if (!insideRoundedSquare(u, v, 0.02 + border, 0.17 - border))
            return rim;
        return mix(upper, lower, v);
    });

    const double stars[][2] = {{0.80, 0.16}, {0.14, 0.84}, {0.66, 0.83}, {0.87, 0.42}};
    for (const auto& s : stars)
        c.put(int(s[0] * size), int(s[1] * size), hex(0xe8f0ff), 0.9);
    const int cell = size / 8; // the editing grid
    for (int i = cell; i <= 7 * cell; ++i)
        for (int k = 1; k <= 7; ++k) {
            c.put(k * cell, i, hex(0x3d5fa8), 0.55);
            if (i % cell != 0)
                c.put(i, k * cell, hex(0x3d5fa8), 0.55);
        }
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col) {
            const int left = col * cell + 1, top = row * cell + 1, inner = cell - 1;
            switch (kStation[row][col]) {
            case '#':
                drawPlate(c, left, top, inner, hex(0x8e9aae), hex(0xd6dde8), hex(0x4a5468));
                break;
            case 'R':
                drawPlate(c, left, top, inner, hex(0xe03028), hex(0xffb070), hex(0x801818));
                break;
            case 'w':
                drawPlate(c, left, top, inner, hex(0x1ac8dc), hex(0xb8f6ff), hex(0x0e6a80));
                break;
            case 'y':
                drawPlate(c, left, top, inner, hex(0xf4c820), hex(0xfff0a0), hex(0x9a7408));
                break;
            }
        }

    // The pencil lies from its tip, over the station's lower right, to the
    // icon's corner; (along, across) are measured on its axis.
    const double tipU = 0.53, tipV = 0.53, length = 0.50, half = 0.085;
    auto axis = [&](double u, double v) {
        const double du = u - tipU, dv = v - tipV;
        return std::pair{(du + dv) / std::numbers::sqrt2, (du - dv) / std::numbers::sqrt2};
    };
    auto pencil = [&](double u, double v, double grow) -> std::optional<Colour> {
        const auto [along, across] = axis(u, v);
        const double cone = 0.16;
        const double width = along < cone ? half * along / cone : half;
        if (along < -grow * 1.4 || along > length + grow || std::abs(across) > width + grow)
            return std::nullopt;
        if (grow > 0)
            return rim;
        const double s = across / half; // -1 .. 1 across the body, light side first
        if (along < 0.055)
            return hex(0x2a2a30); // lead
        if (along < cone)
            return mix(hex(0xf0c890), hex(0xb88450), (s + 1) / 2); // sharpened wood
        if (along > length - 0.09)
            return mix(hex(0xffb4c4), hex(0xc86880), (s + 1) / 2); // eraser
        if (along > length - 0.15)
            return mix(hex(0xe8ecf0), hex(0x8890a0), (s + 1) / 2); // ferrule
        return s < -0.33 ? hex(0xffe070) : s < 0.33 ? hex(0xf4b818) : hex(0xc88a08);
    };
    const double outline = std::max(1.0, size / 40.0) / size;
    c.paint([&](double u, double v) { return pencil(u, v, outline); });
    c.paint([&](double u, double v) { return pencil(u, v, 0); });
    return c.image();
}

// At 16 pixels a cell is two pixels wide: there the same picture is drawn
// by hand, with the station's cells and a slimmer pencil.
Image smallAppIcon() {
    // clang-format off
    const std::vector<Ink> legend = {
        {' ', 0},
        {'k', opaque(0x070b18)}, // rim and outlines
        {'n', opaque(0x142050)}, // space
        {'l', opaque(0xd6dde8)}, // plates, lit corner
        {'g', opaque(0x8e9aae)}, // plates
        {'r', opaque(0xe03028)}, // core
        {'c', opaque(0x1ac8dc)}, // warp
        {'y', opaque(0xf4c020)}, // flag, pencil
        {'Y', opaque(0xffe070)}, // pencil, lit side
        {'u', opaque(0xc88a08)}, // pencil, shaded side
        {'O', opaque(0xf0c890)}, // sharpened wood
        {'p', opaque(0xffb4c4)}, // eraser
    };
    return fromText(16, 16, legend,
                    {
                        " kkkkkkkkkkkkkk ",
                        "knnnnnnnnnnnnnnk",
                        "knccnnlgnnnnyynk",
                        "knccnnggnnnnyynk",
                        "knnnlglglgnnnnnk",
                        "knnnggggggnnnnnk",
                        "knlglgrrlglgnnnk",
                        "knggggrrgkkgnnnk",
                        "knnnlglgkOknnnnk",
                        "knnngggkOOuknnnk",
                        "knnnnnlkkYyuknnk",
                        "knnnnnggnkYyuknk",
                        "knnnnnnnnnkYyukk",
                        "knnnnnnnnnnkYllk",
                        "knnnnnnnnnnnklpk",
                        " kkkkkkkkkkkkkk ",
                    });
    // clang-format on
}

} // namespace

bool writeAppIcon(const OutDirs& out) {
    bool ok = true;
    for (const int size : {64, 48, 32, 16}) {
        const Image icon = size == 16 ? smallAppIcon() : appIcon(size);
        const std::string name = "krav" + std::to_string(size);
        ok = writeFile(out.art + "/" + name + ".xpm", encodeXpm(hardEdged(icon), name)) && ok;
        if (size >= 48)
            ok = writeFile(out.art + "/" + name + ".png", encodePng(icon)) && ok;
    }
    return ok;
}

} // namespace art
