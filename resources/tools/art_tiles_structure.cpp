// The grey structure of the built-in tile set: frames of pieces that join their
// neighbours into walls, hulls and pipe frames, and the small pieces (pipes, girders,
// vents, panels, crates, slabs and wedges).

#include "art_tiles.h"

#include <bit>

namespace art {
namespace {

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

} // namespace

// Raised plate with a bevel on its outer edges; the building block of many tiles.
void bevelRect(Tile& t, int m, int x0, int y0, int x1, int y1, int sides, int base) {
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

} // namespace art
