// Draws the editor's built-in pictures with our own code and writes them out:
// the tile set as a BMP that people and other tools can open and as C++ arrays
// that the core library compiles in; the special objects, cursors, toolbar
// buttons and application icon (art_*.cpp) as XPM files for the application's
// resources, plus the few C++ sources that need their data.
//
// Usage: krav_make_art ART_DIR DOCUMENT_DIR RENDER_DIR VIEW_DIR
// The build runs it into its own tree (resources/tools/CMakeLists.txt); a file
// whose content is unchanged is not rewritten.
//
// Every picture is made of small drawing functions, one per family of tiles.
// The output depends on nothing but these sources, so it is reproducible.

#include "art.h"

#include <bit>
#include <filesystem>
#include <iostream>
#include <numbers>

using namespace art;

// ------------------------------------------------------------------ palette

Palette art::makePalette() {
    // Mid tone of each ramp sits at level 10; lower levels darken, higher ones whiten.
    const Rgb mids[12] = {{150, 150, 150}, {116, 134, 166}, {156, 130, 102}, {118, 146, 112},
                          {50, 110, 236},  {252, 214, 24},  {44, 206, 64},   {26, 212, 226},
                          {224, 44, 40},   {244, 136, 28},  {150, 80, 214},  {40, 54, 110}};
    Palette pal{};
    for (int ramp = 0; ramp < 12; ++ramp)
        for (int l = 0; l < 16; ++l) {
            auto shade = [l](int v) {
                const double out = l <= 10 ? v * (0.06 + 0.94 * std::pow(l / 10.0, 1.2))
                                           : v + (255 - v) * 0.8 * (l - 10) / 5.0;
                return int(std::lround(out));
            };
            const Rgb m = mids[ramp];
            pal[ramp * 16 + l] = {shade(m.r), shade(m.g), shade(m.b)};
        }
    for (int i = 0; i < 64; ++i) {
        const int v = int(std::lround(i * 255.0 / 63));
        pal[192 + i] = {v, v, v};
    }
    pal[0] = {0, 0, 0}; // empty pixels are space
    return pal;
}

namespace {

// -------------------------------------------------------------------- tiles

constexpr int kTile = 16;

struct Tile {
    std::array<u8, kTile * kTile> px{};
    u8 get(int x, int y) const { return px[y * kTile + x]; }
    void set(int x, int y, u8 c) {
        if (x >= 0 && x < kTile && y >= 0 && y < kTile)
            px[y * kTile + x] = c;
    }
    void fill(int x0, int y0, int x1, int y1, u8 c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                set(x, y, c);
    }
    void line(int x0, int y0, int x1, int y1, u8 c) {
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        for (int err = dx + dy;;) {
            set(x0, y0, c);
            if (x0 == x1 && y0 == y1)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy)
                err += dy, x0 += sx;
            if (e2 <= dx)
                err += dx, y0 += sy;
        }
    }
    // Transforms let one drawing serve several orientations.
    Tile transposed() const {
        return remap([](int x, int y) { return std::pair{y, x}; });
    }
    Tile flippedX() const {
        return remap([](int x, int y) { return std::pair{kTile - 1 - x, y}; });
    }
    Tile flippedY() const {
        return remap([](int x, int y) { return std::pair{x, kTile - 1 - y}; });
    }
    template <class F> Tile remap(F from) const {
        Tile t;
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x) {
                const auto [sx, sy] = from(x, y);
                t.set(x, y, get(sx, sy));
            }
        return t;
    }
    // Paints `top` over this tile wherever `top` is not empty.
    Tile over(const Tile& top) const {
        Tile t = *this;
        for (std::size_t i = 0; i < px.size(); ++i)
            if (top.px[i] != 0)
                t.px[i] = top.px[i];
        return t;
    }
};

// -------------------------------------------------------- frames of pieces

// Sides of a piece that are outer edges of the structure; open sides join
// the neighbouring piece of the same set.
enum : int { kL = 1, kT = 2, kR = 4, kB = 8, kAll = 15 };

// Where a pixel lies relative to the nearest outer edge of the rectangle.
struct Edge {
    double d = 1e9;        // distance from that edge
    double ax = 0, ay = 0; // unit vector pointing away from it, inwards
    double along = 0;      // position along the edge
};

// With a radius, corners where two outer edges meet are rounded off.
Edge nearestEdge(int x, int y, int x0, int y0, int x1, int y1, int sides, double radius = 0) {
    const double px = x + 0.5, py = y + 0.5;
    Edge e;
    auto consider = [&](int side, double d, double ax, double ay, double along) {
        if ((sides & side) && d < e.d)
            e = {d, ax, ay, along};
    };
    consider(kL, px - x0, 1, 0, py - y0);
    consider(kT, py - y0, 0, 1, px - x0);
    consider(kR, x1 + 1 - px, -1, 0, py - y0);
    consider(kB, y1 + 1 - py, 0, -1, px - x0);
    if (radius > 0)
        for (const auto& [h, v] : {std::pair{kL, kT}, {kR, kT}, {kL, kB}, {kR, kB}}) {
            if (!(sides & h) || !(sides & v))
                continue;
            const double cx = h == kL ? x0 + radius : x1 + 1 - radius;
            const double cy = v == kT ? y0 + radius : y1 + 1 - radius;
            if ((h == kL ? px < cx : px > cx) && (v == kT ? py < cy : py > cy)) {
                const double len = std::hypot(cx - px, cy - py);
                e = {radius - len, (cx - px) / len, (cy - py) / len, 0};
            }
        }
    return e;
}
bool facesLight(const Edge& e) {
    return e.ax > 0 || e.ay > 0;
}

// Raised plate with a bevel on its outer edges; the building block of many tiles.
void bevelRect(Tile& t, int m, int x0, int y0, int x1, int y1, int sides, int base = 9) {
    static constexpr int kLit[3] = {14, 12, 11}, kShade[3] = {3, 5, 7};
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const Edge e = nearestEdge(x, y, x0, y0, x1, y1, sides);
            const int d = int(e.d);
            const int shift = base - 9;
            t.set(x, y, ink(m, d < 3 ? (facesLight(e) ? kLit[d] : kShade[d]) + shift : base));
        }
}

// Plates joined by seams, riveted at the corners.
Tile plateBlock(int m, int sides) {
    Tile t;
    bevelRect(t, m, 0, 0, 15, 15, sides);
    for (int i = 0; i < kTile; ++i) {
        if (!(sides & kL))
            t.set(0, i, ink(m, 6)), t.set(1, i, ink(m, 11));
        if (!(sides & kT))
            t.set(i, 0, ink(m, 6)), t.set(i, 1, ink(m, 11));
    }
    if (!(sides & kL) && !(sides & kT))
        t.set(0, 1, ink(m, 6)), t.set(1, 0, ink(m, 6));
    for (const int rx : {4, 11})
        for (const int ry : {4, 11})
            t.set(rx, ry, ink(m, 14)), t.set(rx + 1, ry + 1, ink(m, 5)),
                t.set(rx + 1, ry, ink(m, 7));
    return t;
}

// A thick pipe running round the outer edges with a grating inside.
Tile pipeFrame(int m, int sides) {
    Tile t;
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const Edge e = nearestEdge(x, y, 0, 0, 15, 15, sides, 8);
            if (e.d < 0.5)
                continue;
            if (e.d < 6.5) {
                int l = tubeLevel((e.d - 3.5) / 3, e.ax, e.ay);
                const int a = int(e.along);
                if (e.along > 0 && (a == 7 || a == 8))
                    l += 2; // collar between pipe lengths
                if (e.along > 0 && (a == 6 || a == 9))
                    l -= 3;
                t.set(x, y, ink(m, l));
            } else if (e.d < 7.5) {
                t.set(x, y, ink(m, 1));
            } else {
                const bool bar = x % 4 == 2 || y % 4 == 2;
                t.set(x, y, ink(m, bar ? (x % 4 == 2 && y % 4 == 2 ? 8 : 6) : 2));
            }
        }
    return t;
}

// Armoured hull: riveted rim round dark, hatched plating.
Tile hullFrame(int m, int sides) {
    Tile t;
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const Edge e = nearestEdge(x, y, 0, 0, 15, 15, sides, 3);
            const int d = int(std::floor(e.d));
            const bool light = facesLight(e);
            int l;
            if (d < 0)
                continue;
            else if (d == 0)
                l = light ? 13 : 4;
            else if (d <= 4)
                l = light ? 11 : 8;
            else if (d == 5)
                l = 2;
            else
                l = ((x + y) & 7) < 2 ? 4 : 7;
            if (d == 2 && int(e.along) % 4 == 2)
                l = 15; // rivets
            if (d == 3 && int(e.along) % 4 == 2)
                l = 5;
            t.set(x, y, ink(m, l));
        }
    return t;
}

// ------------------------------------------------------------- small pieces

// A pipe through the tile centre joining the given sides; one side gets a cap.
Tile pipeRun(int m, int conn) {
    Tile t;
    const int n = std::popcount(unsigned(conn));
    const bool bend = n == 2 && conn != (kL | kR) && conn != (kT | kB);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            int l = -1;
            if (bend) {
                const double cx = conn & kL ? 0 : 16, cy = conn & kT ? 0 : 16;
                const double r = std::hypot(px - cx, py - cy);
                if (std::abs(r - 8) < 3)
                    l = tubeLevel((r - 8) / 3, (px - cx) / r, (py - cy) / r);
            } else {
                const bool h = ((conn & kL) && px <= 8.5) || ((conn & kR) && px >= 7.5);
                const bool v = ((conn & kT) && py <= 8.5) || ((conn & kB) && py >= 7.5);
                if (h && std::abs(py - 8) < 3)
                    l = tubeLevel((py - 8) / 3, 0, 1);
                if (v && std::abs(px - 8) < 3)
                    l = std::max(l, tubeLevel((px - 8) / 3, 1, 0));
            }
            if (l >= 0)
                t.set(x, y, ink(m, l));
        }
    if (n != 2) { // junction box or end cap
        const int r = n == 1 ? 4 : 5;
        for (int y = 8 - r; y < 8 + r; ++y)
            for (int x = 8 - r; x < 8 + r; ++x) {
                const double dx = (x + 0.5 - 8) / r, dy = (y + 0.5 - 8) / r;
                const double q = dx * dx + dy * dy;
                if (n == 1 && q > 1)
                    continue;
                t.set(x, y,
                      ink(m, n == 1 ? level(lit(dx, dy, std::sqrt(std::max(0.0, 1 - q)))) : 0));
            }
        if (n > 2)
            bevelRect(t, m, 8 - r, 8 - r, 7 + r, 7 + r, kAll);
        if (n > 2)
            t.set(7, 7, ink(m, 5)), t.set(8, 8, ink(m, 12));
    }
    return t;
}

// Horizontal pipe with a flange collar, or with a hand wheel valve.
Tile pipeFitting(int m, bool valve) {
    Tile t = pipeRun(m, kL | kR);
    for (int y = 3; y <= 12; ++y)
        for (int x = 6; x <= 9; ++x)
            t.set(x, y, ink(m, x == 6 ? 13 : x == 9 ? 4 : tubeLevel((y + 0.5 - 8) / 5, 0, 1)));
    if (valve) {
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x) {
                const double r = std::hypot(x + 0.5 - 8, y + 0.5 - 8);
                if (r > 4.5 && r < 6.6)
                    t.set(x, y, ink(m, y < 8 ? 12 : 6));
            }
        t.line(4, 8, 11, 8, ink(m, 7));
        t.line(8, 4, 8, 11, ink(m, 7));
        t.fill(7, 7, 8, 8, ink(Red, 10));
    }
    return t;
}

// Truss girder: two rails with an X brace per span, optionally ended by a plate.
Tile girder(int m, bool endLeft) {
    Tile t;
    const int x0 = endLeft ? 4 : 0;
    t.line(x0 + 1, 5, 14, 10, ink(m, 11)), t.line(x0 + 1, 6, 14, 11, ink(m, 6));
    t.line(x0 + 1, 10, 14, 5, ink(m, 9)), t.line(x0 + 1, 11, 14, 6, ink(m, 4));
    for (int x = x0; x < kTile; ++x) {
        t.set(x, 2, ink(m, 13)), t.set(x, 3, ink(m, 10)), t.set(x, 4, ink(m, 5));
        t.set(x, 11, ink(m, 13)), t.set(x, 12, ink(m, 10)), t.set(x, 13, ink(m, 5));
    }
    t.fill(15, 5, 15, 10, ink(m, 6));
    if (!endLeft)
        t.fill(0, 5, 0, 10, ink(m, 11));
    else
        bevelRect(t, m, 0, 1, 3, 14, kAll);
    return t;
}

Tile girderCross(int m) {
    Tile t = girder(m, false).over(girder(m, false).transposed());
    bevelRect(t, m, 4, 4, 11, 11, kAll);
    t.set(7, 7, ink(m, 14)), t.set(8, 8, ink(m, 5));
    return t;
}

// Framed vent with slats, or a floor grating.
Tile vent(int m, bool grating) {
    Tile t;
    bevelRect(t, m, 0, 0, 15, 15, kAll);
    t.fill(2, 2, 13, 13, ink(m, 1));
    for (int y = 2; y <= 13; ++y)
        for (int x = 2; x <= 13; ++x) {
            if (grating) {
                if ((x + y) % 4 == 0)
                    t.set(x, y, ink(m, 10));
                if ((x - y + 16) % 4 == 0)
                    t.set(x, y, ink(m, 7));
            } else if (y % 3 != 1) {
                t.set(x, y, ink(m, y % 3 == 2 ? 11 : 6));
            }
        }
    return t;
}

Tile panel(int m, int kind) {
    Tile t;
    bevelRect(t, m, 0, 0, 15, 15, kAll);
    switch (kind) {
    case 0: // riveted hatch cover with an X brace
        t.line(3, 3, 12, 12, ink(m, 12)), t.line(3, 12, 12, 3, ink(m, 12));
        t.line(4, 3, 12, 11, ink(m, 6)), t.line(4, 12, 12, 4, ink(m, 6));
        break;
    case 1: // control console: dark screen and signal lights
        t.fill(3, 3, 12, 8, ink(Navy, 2));
        t.line(4, 6, 7, 4, ink(Cyan, 9)), t.line(7, 4, 11, 7, ink(Cyan, 9));
        t.set(4, 11, ink(Red, 11)), t.set(7, 11, ink(Green, 11)), t.set(10, 11, ink(Yellow, 11));
        t.set(12, 11, ink(m, 5));
        break;
    case 2: { // machinery: fan in a housing
        for (int y = 2; y <= 13; ++y)
            for (int x = 2; x <= 13; ++x) {
                const double dx = x + 0.5 - 8, dy = y + 0.5 - 8, r = std::hypot(dx, dy);
                if (r > 6)
                    continue;
                const double a = std::atan2(dy, dx) + r * 0.25;
                t.set(x, y, ink(m, r < 1.6 ? 13 : std::sin(4 * a) > 0.2 ? 11 : 3));
            }
        break;
    }
    case 3: // round hatch with a handle
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x) {
                const double dx = x + 0.5 - 8, dy = y + 0.5 - 8, r = std::hypot(dx, dy);
                if (r < 6.5)
                    t.set(x, y, ink(m, r > 5.2 ? (dx + dy < 0 ? 5 : 13) : r > 4.4 ? 3 : 9));
            }
        t.fill(5, 7, 10, 8, ink(m, 12)), t.fill(5, 9, 10, 9, ink(m, 4));
        break;
    }
    return t;
}

Tile crate() {
    Tile t;
    bevelRect(t, Rust, 0, 0, 15, 15, kAll, 8);
    t.line(2, 3, 12, 13, ink(Rust, 11)), t.line(3, 2, 13, 12, ink(Rust, 11));
    t.line(2, 4, 11, 13, ink(Rust, 5));
    for (int i = 2; i <= 13; ++i)
        t.set(i, 2, ink(Rust, 5)), t.set(i, 13, ink(Rust, 11));
    return t;
}

// Half-thickness slab against one side, joining neighbours along that side.
Tile slab(int m, int side) {
    Tile t;
    if (side == kT)
        bevelRect(t, m, 0, 0, 15, 7, kT | kB);
    if (side == kB)
        bevelRect(t, m, 0, 8, 15, 15, kT | kB);
    if (side == kL)
        bevelRect(t, m, 0, 0, 7, 15, kL | kR);
    if (side == kR)
        bevelRect(t, m, 8, 0, 15, 15, kL | kR);
    return t;
}

// Right-angled wedge filling the corner on the given sides, bevelled on its slope.
Tile wedge(int m, int corner) {
    Tile t;
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const int u = corner & kR ? x : 15 - x, v = corner & kB ? y : 15 - y;
            const int d = u + v - 15; // steps inside the slope
            if (d < 0)
                continue;
            const bool faceLit = (corner & kB) != 0 && (corner & kR) != 0;
            const bool faceDark = !(corner & kB) && !(corner & kR);
            const int edge = faceLit ? 13 : faceDark ? 4 : 7;
            t.set(x, y, ink(m, d < 2 ? edge : 9));
        }
    return t;
}

// -------------------------------------------------------- odd wall pieces

Tile oddWall(int kind) {
    Tile t;
    switch (kind) {
    case 0: // armour: dark and heavily braced
        bevelRect(t, Grey, 0, 0, 15, 15, kAll, 5);
        bevelRect(t, Grey, 3, 3, 12, 12, kAll, 6);
        for (const int c : {1, 14})
            t.set(c, 1, ink(Grey, 13)), t.set(c, 14, ink(Grey, 13));
        t.fill(6, 6, 9, 9, ink(Grey, 3));
        break;
    case 1: { // cracked wall
        t = plateBlock(Grey, kAll);
        const int path[][2] = {{2, 15}, {5, 11}, {4, 8}, {8, 6}, {9, 2}, {12, 0}};
        for (int i = 0; i + 1 < 6; ++i) {
            t.line(path[i][0], path[i][1], path[i + 1][0], path[i + 1][1], ink(Grey, 1));
            t.line(path[i][0] + 1, path[i][1], path[i + 1][0] + 1, path[i + 1][1], ink(Grey, 12));
        }
        t.line(8, 6, 13, 9, ink(Grey, 1)), t.line(8, 7, 13, 10, ink(Grey, 12));
        break;
    }
    case 2: // warning block: dark diagonal bands
        bevelRect(t, Grey, 0, 0, 15, 15, kAll, 10);
        for (int y = 3; y <= 12; ++y)
            for (int x = 3; x <= 12; ++x)
                if ((x + y) % 6 < 3)
                    t.set(x, y, ink(Grey, 3));
        break;
    case 3: { // spiked block: three spikes on each side round a small core
        Tile top;
        for (const int s : {2, 6, 10})
            for (int k = 0; k < 3; ++k)
                for (int x = s + 1 - k; x <= s + 2 + k; ++x)
                    top.set(x, k, ink(Grey, x <= s + 1 ? 13 - k : 8 - k));
        for (const Tile& side :
             {top, top.flippedY(), top.transposed(), top.transposed().flippedX()})
            t = t.over(side);
        bevelRect(t, Grey, 3, 3, 12, 12, kAll);
        t.set(7, 7, ink(Grey, 14)), t.set(8, 8, ink(Grey, 4));
        break;
    }
    }
    return t;
}

// ------------------------------------------------------------------ doors

// Horizontal door half with its post on the left; the panel meets its twin
// on the right. An open door keeps only the stub of the retracted panel.
Tile door(bool open) {
    Tile t;
    bevelRect(t, Steel, 0, 1, 3, 14, kAll, 7);
    t.set(1, 3, ink(open ? Green : Red, 12));
    const int end = open ? 6 : 15;
    for (int x = 4; x <= end; ++x) {
        const int ys[] = {4, 5, 10, 11};
        t.fill(x, 6, x, 9, ink(Blue, 9));
        t.set(x, ys[0], ink(Blue, 13)), t.set(x, ys[1], ink(Blue, 11));
        t.set(x, ys[2], ink(Blue, 7)), t.set(x, ys[3], ink(Blue, 4));
    }
    if (open) {
        for (int x = 7; x <= 15; x += 2)
            t.set(x, 7, ink(Blue, 6)), t.set(x, 8, ink(Blue, 4));
        t.line(6, 4, 6, 11, ink(Blue, 5));
    } else {
        for (const int cx : {7, 11}) // chevrons pointing at the seam
            for (int k = 0; k < 2; ++k)
                t.set(cx + k, 6 + k, ink(Blue, 14)), t.set(cx + k, 9 - k, ink(Blue, 14));
        t.line(15, 4, 15, 11, ink(Blue, 3));
    }
    return t;
}

// ------------------------------------------------------------ flag and pad

Tile flag() {
    Tile t;
    t.fill(0, 14, 6, 15, ink(Grey, 6)), t.fill(0, 14, 6, 14, ink(Grey, 11));
    t.fill(2, 1, 3, 13, ink(Grey, 12)), t.fill(3, 1, 3, 13, ink(Grey, 7));
    t.fill(2, 0, 3, 0, ink(Yellow, 15));
    for (int x = 4; x <= 15; ++x) {
        const double phase = (x - 4) * 0.6;
        const int top = 1 + int(std::lround(std::sin(phase))), bottom = top + 9;
        for (int y = top; y <= bottom; ++y) {
            int l = 11 + int(std::lround(2.5 * std::cos(phase)));
            if (y == top)
                l += 2;
            if (y == bottom)
                l -= 4;
            t.set(x, y, ink(Yellow, l));
        }
    }
    return t;
}

// Loose debris: a few small broken plates.
Tile debris(int m) {
    Tile t;
    bevelRect(t, m, 1, 9, 7, 14, kAll);
    bevelRect(t, m, 9, 3, 14, 8, kAll);
    bevelRect(t, m, 3, 2, 6, 5, kAll);
    bevelRect(t, m, 10, 11, 13, 14, kAll);
    return t;
}

Tile greenPad() {
    Tile t;
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const double dx = x + 0.5 - 8, dy = y + 0.5 - 8, r = std::hypot(dx, dy);
            if (r > 7.5)
                continue;
            if (r > 5.5)
                t.set(x, y, ink(Grey, tubeLevel((r - 6.5), dx / r, dy / r)));
            else
                t.set(x, y, ink(Green, int(15 - r * 1.3)));
        }
    t.line(8, 3, 8, 12, ink(Green, 6)), t.line(3, 8, 12, 8, ink(Green, 6));
    t.fill(7, 7, 8, 8, ink(Green, 15));
    return t;
}

// ---------------------------------------------------------------- energy

// Braided horizontal beam between two guide lines; `from` trims the left end.
Tile energyField(int from = 0) {
    Tile t;
    for (int x = from; x < kTile; ++x) {
        const double a = 2 * std::numbers::pi * (x + 0.5) / kTile;
        const double c1 = 8 + 2.6 * std::sin(a), c2 = 8 - 2.6 * std::sin(a);
        for (int y = 3; y <= 12; ++y) {
            const double py = y + 0.5;
            const double glow =
                std::max(4.2 - 2 * std::abs(py - c1), 1.0 - 1.2 * std::abs(py - c2) + 1.6);
            int l = std::clamp(int(std::lround(2 + 3 * glow)), 2, 15);
            if (y == 3 || y == 12)
                l = 7;
            t.set(x, y, ink(Cyan, l));
        }
    }
    return t;
}

// Beam projector on the left feeding a beam to the right.
Tile emitter() {
    Tile t = energyField(6);
    bevelRect(t, Steel, 0, 1, 5, 14, kAll, 7);
    t.fill(2, 5, 4, 10, ink(Navy, 3));
    t.fill(5, 5, 6, 10, ink(Cyan, 14)), t.fill(6, 6, 6, 9, ink(Cyan, 15));
    return t;
}

Tile fieldCross() {
    Tile h = energyField(), v = energyField().transposed(), t;
    for (std::size_t i = 0; i < t.px.size(); ++i)
        t.px[i] = std::max(h.px[i], v.px[i]);
    for (int y = 5; y <= 10; ++y)
        for (int x = 5; x <= 10; ++x)
            if (std::hypot(x - 7.5, y - 7.5) < 2.9)
                t.set(x, y, ink(Cyan, std::hypot(x - 7.5, y - 7.5) < 1.5 ? 15 : 13));
    return t;
}

// Glass: dark tinted body, bright rim and a glint. `shape` 0 block, 1 pane, 2 wedge.
Tile glass(int shape) {
    Tile t;
    if (shape == 0) {
        bevelRect(t, Cyan, 0, 0, 15, 15, kAll, 4);
        t.fill(2, 2, 13, 13, ink(Cyan, 3));
    } else if (shape == 1) {
        bevelRect(t, Cyan, 0, 5, 15, 10, kT | kB, 5);
        for (int x = 0; x < kTile; x += 8)
            t.line(x + 2, 9, x + 5, 6, ink(Cyan, 14));
        return t;
    } else {
        t = wedge(Cyan, kR | kB);
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x)
                if (x + y > 16)
                    t.set(x, y, ink(Cyan, (x == 15 || y == 15) ? 6 : 3));
    }
    t.line(shape == 0 ? 4 : 9, shape == 0 ? 8 : 12, shape == 0 ? 8 : 12, shape == 0 ? 4 : 9,
           ink(Cyan, 14));
    t.line(shape == 0 ? 4 : 11, shape == 0 ? 11 : 13, shape == 0 ? 11 : 13, shape == 0 ? 4 : 11,
           ink(Cyan, 11));
    return t;
}

// Round warp gate, spiralling warp, and an energy crystal.
Tile warp(int kind) {
    Tile t;
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const double dx = x + 0.5 - 8, dy = y + 0.5 - 8, r = std::hypot(dx, dy);
            const double a = std::atan2(dy, dx);
            if (kind == 0 && r < 7.5) {
                const int inner = int(std::lround(3 + 6 * std::max(0.0, 1 - r / 2.5) +
                                                  2 * (std::sin(3 * a + r) > 0.5)));
                t.set(x, y,
                      ink(Cyan, r > 5 ? tubeLevel((r - 6.25) / 1.25, dx / r, dy / r) : inner));
            } else if (kind == 1 && r < 7.8) {
                const double arm = 0.5 + 0.5 * std::sin(2 * a - r * 1.1);
                t.set(x, y,
                      ink(Cyan, int(std::lround(2 + arm * 11 * (1.1 - r / 9) + (r < 2 ? 3 : 0)))));
            } else if (kind == 2 && std::abs(dx) / 5.5 + std::abs(dy) / 7.5 <= 1) {
                const int facet = (dx < 0 ? 0 : 1) + (dy < 0 ? 0 : 2);
                static constexpr int kFacet[4] = {14, 10, 8, 4};
                const bool rim = std::abs(dx) / 5.5 + std::abs(dy) / 7.5 > 0.8;
                t.set(x, y, ink(Cyan, kFacet[facet] + (rim ? 1 : -1)));
            }
        }
    if (kind == 2)
        t.set(6, 5, ink(Cyan, 15)), t.set(6, 6, ink(Cyan, 15));
    return t;
}

// ---------------------------------------------------------------- tile set

constexpr int kSetCols = 19, kSetRows = 10;

void place(Picture& pic, int code, const Tile& t) {
    const int p = code - 1, left = p % kSetCols * kTile, top = p / kSetCols * kTile;
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x)
            pic.pixels[std::size_t(top + y) * pic.width + left + x] = t.get(x, y);
}
int codeAt(int row, int col) {
    return row * kSetCols + col + 1;
}

// Grey structure, codes 1..161: twelve 3x3 frames (three styles in four
// materials) laid out as they join, single blocks, then the small pieces.
void drawStructures(Picture& pic) {
    using Style = Tile (*)(int, int);
    const Style styles[] = {plateBlock, pipeFrame, hullFrame};
    const int materials[] = {Grey, Steel, Rust, Moss};
    for (int f = 0; f < 12; ++f) {
        const int top = f / 6 * 3, left = f % 6 * 3;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                const int sides =
                    (j == 0 ? kL : 0) | (j == 2 ? kR : 0) | (i == 0 ? kT : 0) | (i == 2 ? kB : 0);
                place(pic, codeAt(top + i, left + j), styles[f / 4](materials[f % 4], sides));
            }
    }
    for (int k = 0; k < 4; ++k)
        place(pic, codeAt(k, 18), plateBlock(materials[k], kAll));
    place(pic, codeAt(4, 18), pipeFrame(Steel, kAll));
    place(pic, codeAt(5, 18), hullFrame(Rust, kAll));

    const int pipes[] = {kL | kR, kT | kB,      kR | kB,      kL | kB,      kT | kR,
                         kT | kL, kL | kR | kB, kL | kR | kT, kT | kB | kR, kT | kB | kL,
                         kAll,    kR,           kL,           kB,           kT};
    int code = codeAt(6, 0);
    for (const int conn : pipes)
        place(pic, code++, pipeRun(Steel, conn));
    place(pic, code++, pipeFitting(Steel, false));
    place(pic, code++, pipeFitting(Steel, false).transposed());
    place(pic, code++, pipeFitting(Steel, true));
    place(pic, code++, pipeFitting(Steel, true).transposed());

    const Tile g = girder(Grey, false), gEnd = girder(Grey, true);
    for (const Tile& t : {g, g.transposed(), girderCross(Grey), gEnd, gEnd.flippedX(),
                          gEnd.transposed(), gEnd.transposed().flippedY()})
        place(pic, code++, t);
    place(pic, code++, vent(Grey, true));
    place(pic, code++, vent(Grey, false));
    place(pic, code++, vent(Grey, false).transposed());
    for (int k = 0; k < 4; ++k)
        place(pic, code++, panel(k == 3 ? Steel : Grey, k));
    place(pic, code++, crate());
    for (const int side : {kT, kB, kL, kR})
        place(pic, code++, slab(Grey, side));

    for (const int m : {Grey, Steel})
        for (const int corner : {kR | kB, kL | kB, kR | kT, kL | kT})
            place(pic, code++, wedge(m, corner));
    place(pic, code++, debris(Grey));
}

void drawTileSet(Picture& pic) {
    drawStructures(pic);
    const Tile closed = door(false), open = door(true);
    int code = 162;
    for (const Tile& d :
         {closed, closed.flippedX(), closed.transposed(), closed.transposed().flippedY(), open,
          open.flippedX(), open.transposed(), open.transposed().flippedY()})
        place(pic, code++, d);
    place(pic, 170, flag());
    place(pic, 171, greenPad());
    for (int k = 0; k < 4; ++k)
        place(pic, 172 + k, oddWall(k));

    const Tile field = energyField(), emit = emitter();
    code = 176;
    for (const Tile& t :
         {field, field.transposed(), emit, emit.flippedX(), emit.transposed(),
          emit.transposed().flippedY(), fieldCross(), glass(0), glass(1), glass(1).transposed(),
          glass(2), glass(2).flippedX(), warp(0), warp(1), warp(2)})
        place(pic, code++, t);
}

// ------------------------------------------------------------------ output

// One line per tile row (16 pixels), so a changed tile shows up as a small diff.
std::string encodeCpp(const Picture& pic, const Palette& pal) {
    std::string out = "// Generated by resources/tools/make_art.cpp; do not edit.\n\n"
                      "#include \"document/BuiltinTileSet.h\"\n\n"
                      "namespace krav::builtin_tileset {\n\n";
    writeArray(out, "COLOUR_TABLE", colourTable(pal), 16);
    out += "\n";
    writeArray(out, "PIXELS", pic.pixels, kTile);
    out += "\n} // namespace krav::builtin_tileset\n";
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: krav_make_art ART_DIR DOCUMENT_DIR RENDER_DIR VIEW_DIR\n";
        return 2;
    }
    namespace fs = std::filesystem;
    const OutDirs out{argv[1], argv[2], argv[3], argv[4]};
    std::error_code error;
    for (const fs::path& dir : {fs::path(out.art) / "toolbar", fs::path(out.document),
                                fs::path(out.render), fs::path(out.view)})
        fs::create_directories(dir, error);

    try {
        const Palette pal = makePalette();
        Picture tiles(kSetCols * kTile, kSetRows * kTile);
        drawTileSet(tiles);
        bool ok = writeFile(out.art + "/tileset.bmp", encodeBmp(tiles, pal));
        ok = writeFile(out.document + "/BuiltinTileSetData.cpp", encodeCpp(tiles, pal)) && ok;
        ok = writeObjects(pal, out) && ok;
        ok = writeCursors(out) && ok;
        ok = writeToolbar(out) && ok;
        ok = writeAppIcon(out) && ok;
        ok = writePlaceholder(out) && ok;
        return ok ? 0 : 1;
    } catch (const std::exception& e) { // a mistake in the drawing code
        std::cerr << "krav_make_art: " << e.what() << '\n';
        return 1;
    }
}
