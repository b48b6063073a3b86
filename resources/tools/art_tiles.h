// The tiles of the built-in tile set: a 16 x 16 palette picture and the drawings of its
// pieces. art_tiles_structure.cpp draws the grey structure, art_tiles_features.cpp the doors,
// flag, pad, odd walls, energy, glass and warps; make_art.cpp lays them out in the set.

#pragma once

#include "art.h"

#include <utility>

namespace art {

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

// Sides of a piece that are outer edges of the structure; open sides join
// the neighbouring piece of the same set.
enum : int { kL = 1, kT = 2, kR = 4, kB = 8, kAll = 15 };

// ---------------------------------------------------- art_tiles_structure.cpp

// Raised plate with a bevel on its outer edges; the building block of many tiles.
void bevelRect(Tile& t, int m, int x0, int y0, int x1, int y1, int sides, int base = 9);
Tile plateBlock(int m, int sides);
Tile pipeFrame(int m, int sides);
Tile hullFrame(int m, int sides);
Tile pipeRun(int m, int conn);
Tile pipeFitting(int m, bool valve);
Tile girder(int m, bool endLeft);
Tile girderCross(int m);
Tile vent(int m, bool grating);
Tile panel(int m, int kind);
Tile crate();
Tile slab(int m, int side);
Tile wedge(int m, int corner);

// ------------------------------------------------------ art_tiles_features.cpp

Tile oddWall(int kind);
Tile door(bool open);
Tile flag();
Tile debris(int m);
Tile greenPad();
Tile energyField(int from = 0);
Tile emitter();
Tile fieldCross();
Tile glass(int shape);
Tile warp(int kind);

} // namespace art
