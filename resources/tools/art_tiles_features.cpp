// The tiles with a job of their own in the built-in tile set: odd wall pieces, doors, the
// flag, the green pad, debris, energy fields, glass and warps.

#include "art_tiles.h"

#include <numbers>

namespace art {

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
Tile energyField(int from) {
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

} // namespace art
