// The four special objects that the Rubber Stamp places, drawn in the tile
// set's palette at 16 pixels per footprint cell and lit like the tiles; the
// strip that the Special Objects palette shows; and the C++ source that gives
// the core library the pictures.

#include "art.h"

#include <numbers>

namespace art {
namespace {

constexpr double kRoot2 = std::numbers::sqrt2;

// A pixel seen from the middle of its picture.
struct At {
    double x, y, r; // offset of the pixel centre, and its distance
    At(int px, int py, double c) : x(px + 0.5 - c), y(py + 0.5 - c), r(std::hypot(x, y)) {}
    double angle() const { return std::atan2(y, x); }
};

// A slope falling away from a raised part; (ax, ay) points into the part.
int slopeLevel(double ax, double ay) {
    return level(lit(-0.7 * ax, -0.7 * ay, 0.71));
}
// A ball of radius `radius` round the pixel's centre offset.
int ballLevel(const At& p, double radius) {
    const double nx = p.x / radius, ny = p.y / radius;
    return level(lit(nx, ny, std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny))));
}

// Distance along the circle from the nearest of `count` evenly spaced marks.
double arcFromMark(const At& p, int count, double phase = 0) {
    const double step = 2 * std::numbers::pi / count;
    const double a = std::remainder(p.angle() - phase, step);
    return std::abs(a) * p.r;
}

// --------------------------------------------------------------- 6 x 6: red

// Reactor station: a riveted octagonal hull, a ring of living quarters
// round a trench, and the glowing core held by four spokes.
Picture reactorStation() {
    constexpr int kSize = 96;
    Picture pic(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const At p(x, y, kSize / 2.0);
            const double ex = 46 - std::abs(p.x), ey = 46 - std::abs(p.y);
            const double ed = (66 - std::abs(p.x) - std::abs(p.y)) / kRoot2;
            const double d = std::min({ex, ey, ed});
            if (d < 0)
                continue;
            const double sx = p.x < 0 ? 1 : -1, sy = p.y < 0 ? 1 : -1;
            int l;
            if (d < 3) { // bevelled rim of the hull
                l = d == ex   ? slopeLevel(sx, 0)
                    : d == ey ? slopeLevel(0, sy)
                              : slopeLevel(sx / kRoot2, sy / kRoot2);
                l += d < 1 ? 1 : 0;
            } else { // plates, one per footprint cell
                const int gx = x % 16, gy = y % 16;
                l = 8;
                if (gx == 0 || gy == 0)
                    l = 4;
                else if (gx == 1 || gy == 1)
                    l = 11;
                else if ((gx == 4 || gx == 12) && (gy == 4 || gy == 12))
                    l = 13; // rivets
                else if ((gx == 5 || gx == 13) && (gy == 5 || gy == 13))
                    l = 5;
            }
            u8 c = ink(Red, l);

            if (p.r < 36.5 && p.r >= 34) // trench round the ring
                c = ink(Red, 2);
            if (p.r < 34 && p.r >= 22) { // the ring, in segments with lit windows
                l = tubeLevel((p.r - 28) / 6, p.x / p.r, p.y / p.r);
                if (arcFromMark(p, 12) < 1)
                    l = 3;
                else if (std::abs(p.r - 28) < 1.2 && arcFromMark(p, 24, std::numbers::pi / 24) < 1)
                    c = ink(Yellow, 14), l = -1;
                if (l >= 0)
                    c = ink(Red, l + 1);
            }
            if (p.r < 22 && p.r >= 17) { // inner trench crossed by spokes
                c = ink(Red, 1);
                if (std::abs(p.x) < 2.5)
                    c = ink(Steel, tubeLevel(p.x / 2.5, 1, 0));
                if (std::abs(p.y) < 2.5)
                    c = ink(Steel, tubeLevel(p.y / 2.5, 0, 1));
            }
            if (p.r < 17) { // the core glows from within
                const int shade = ballLevel(p, 17);
                if (p.r < 7)
                    c = ink(Yellow, 13 + int(p.r < 4) + int(p.r < 2));
                else if (p.r < 12)
                    c = ink(Orange, std::clamp(shade + 2, 11, 15));
                else
                    c = ink(Red, std::clamp(shade + 1, 9, 15));
            }
            pic.set(x, y, c);
        }
    return pic;
}

// ----------------------------------------------------------- 5 x 5: magenta

// Warp gate: a ring of emitters on four pylons round a swirling vortex.
Picture warpGate() {
    constexpr int kSize = 80;
    Picture pic(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const At p(x, y, kSize / 2.0);
            u8 c = 0;
            // Pylons in the corner cells, joined to the ring by struts.
            const double ox = 40 - std::abs(p.x), oy = 40 - std::abs(p.y);
            if (ox < 15 && oy < 15 && ox > 1 && oy > 1) {
                const double d = std::min({ox - 1, oy - 1, 15 - ox, 15 - oy});
                const double ax = ox - 1 < 15 - ox ? (p.x < 0 ? 1 : -1) : (p.x < 0 ? -1 : 1);
                const double ay = oy - 1 < 15 - oy ? (p.y < 0 ? 1 : -1) : (p.y < 0 ? -1 : 1);
                const bool alongX = std::min(ox - 1, 15 - ox) <= std::min(oy - 1, 15 - oy);
                c = ink(Violet, d < 2 ? slopeLevel(alongX ? ax : 0, alongX ? 0 : ay) : 6);
                if (std::abs(ox - 8) < 2.5 && std::abs(oy - 8) < 2.5)
                    c = ink(Red, std::abs(ox - 8) < 1 && std::abs(oy - 8) < 1 ? 15 : 12);
            }
            const double across = std::abs(std::abs(p.x) - std::abs(p.y)) / kRoot2;
            if (across < 2.6 && p.r > 34 && p.r < 45) {
                const double sgn = (std::abs(p.x) > std::abs(p.y)) == (p.x * p.y > 0) ? 1 : -1;
                c = ink(Steel, tubeLevel(sgn * across / 2.6, -1 / kRoot2, 1 / kRoot2));
            }
            if (p.r < 38 && p.r >= 27) { // the ring, with eight emitters
                const double s = (p.r - 32.5) / 5.5;
                c = ink(Violet, tubeLevel(s, p.x / p.r, p.y / p.r));
                const double arc = arcFromMark(p, 8, std::numbers::pi / 8);
                if (arc < 4.5)
                    c = ink(Red, tubeLevel(s, p.x / p.r, p.y / p.r) + (arc < 1.5 ? 2 : 0));
                else if (arc < 5.5)
                    c = ink(Violet, 2);
            }
            if (p.r < 27) { // vortex: arms of red and violet, brighter inwards
                const double arm = std::sin(4 * p.angle() + p.r * 0.33);
                const double glow = 1 - p.r / 27;
                const int l = int(std::lround(3 + 9 * glow + 2.5 * arm));
                c = ink(arm > 0 ? Violet : Red, std::min(l, 14));
                if (p.r < 4.5)
                    c = ink(Violet, 15 - int(p.r / 2));
                if (p.r > 25.8)
                    c = ink(Violet, 1);
            }
            pic.set(x, y, c);
        }
    return pic;
}

// -------------------------------------------------------------- 2 x 2: grey

// Gun turret: a domed mount with a barrel, on a riveted base plate.
Picture turret() {
    constexpr int kSize = 32;
    Picture pic(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const At p(x, y, kSize / 2.0);
            const double ex = 16 - std::abs(p.x), ey = 16 - std::abs(p.y);
            int l = 8;
            if (std::min(ex, ey) < 2)
                l = ex < ey ? slopeLevel(p.x < 0 ? 1 : -1, 0) : slopeLevel(0, p.y < 0 ? 1 : -1);
            if ((x == 3 || x == 27) && (y == 3 || y == 27))
                l = 14;
            if ((x == 4 || x == 28) && (y == 4 || y == 28))
                l = 4;
            if (p.r < 13 && p.r >= 11.5) // turntable seat
                l = p.x + p.y < 0 ? 5 : 11;
            u8 c = ink(Grey, l);
            if (p.r < 11.5 && p.r >= 9.5)
                c = ink(Grey, 2);
            if (p.r < 9.5)
                c = ink(Steel, ballLevel(p, 9.5));
            // Barrel pointing to the upper right, over the dome.
            const double along = (p.x - p.y) / kRoot2, across = (p.x + p.y) / kRoot2;
            if (along > 3 && along < 16 && std::abs(across) < 3) {
                int b = tubeLevel(across / 2.2, 1 / kRoot2, 1 / kRoot2);
                if (along > 12.5 && along < 14.5)
                    b += 2; // muzzle collar
                c = ink(Grey, std::abs(across) > 2.2 || along > 15 ? 2 : b);
            }
            pic.set(x, y, c);
        }
    return pic;
}

// -------------------------------------------------------------- 1 x 1: grey

// Space mine: a spiked ball with a red sensor in the middle.
Picture mine() {
    constexpr int kSize = 16;
    Picture pic(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const At p(x, y, kSize / 2.0);
            const double thin = std::min(std::abs(p.x), std::abs(p.y));
            if (thin < 1 && p.r < 7) // straight spikes, lit on their upper left half
                pic.set(x, y, ink(Grey, (std::abs(p.x) < 1 ? p.x : p.y) < 0 ? 13 : 7));
            if (std::abs(std::abs(p.x) - std::abs(p.y)) < 0.8 && p.r < 6.6)
                pic.set(x, y, ink(Grey, p.x + p.y < 0 ? 12 : 6));
            if (p.r < 5.2)
                pic.set(x, y, ink(Grey, 2));
            if (p.r < 4.4)
                pic.set(x, y, ink(Grey, ballLevel(p, 4.4)));
        }
    pic.set(7, 7, ink(Red, 15)), pic.set(8, 7, ink(Red, 11));
    pic.set(7, 8, ink(Red, 11)), pic.set(8, 8, ink(Red, 7));
    return pic;
}

// -------------------------------------------------------------------- strip

u8 nearest(const Palette& pal, double r, double g, double b) {
    int best = 0;
    double bestDistance = 1e18;
    for (int i = 0; i < 256; ++i) {
        const double dr = pal[i].r - r, dg = pal[i].g - g, db = pal[i].b - b;
        const double distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance)
            bestDistance = distance, best = i;
    }
    return u8(best);
}

// Resizes by averaging the source area under each new pixel, then takes the
// palette's nearest colour.
Picture resized(const Picture& src, int size, const Palette& pal) {
    Picture out(size, size);
    const double scale = double(src.width) / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0, total = 0;
            const double x0 = x * scale, x1 = x0 + scale, y0 = y * scale, y1 = y0 + scale;
            for (int sy = int(y0); sy < int(std::ceil(y1)); ++sy)
                for (int sx = int(x0); sx < int(std::ceil(x1)); ++sx) {
                    const double w = (std::min(x1, sx + 1.0) - std::max(x0, double(sx))) *
                                     (std::min(y1, sy + 1.0) - std::max(y0, double(sy)));
                    const Rgb c = pal[src.get(sx, sy)];
                    r += w * c.r, g += w * c.g, b += w * c.b, total += w;
                }
            out.set(x, y, nearest(pal, r / total, g / total, b / total));
        }
    return out;
}

// The palette window shows the objects in 50-pixel cells. The big two are
// halved, keeping their relative size; the small two are shown at 32 pixels
// so that they stay crisp and easy to hit.
Picture strip(const std::array<Picture, 4>& objects, const Palette& pal) {
    Picture out(201, 50);
    const int shown[4] = {48, 40, 32, 32};
    for (int i = 0; i < 4; ++i) {
        const Picture small = resized(objects[std::size_t(i)], shown[i], pal);
        const int left = 50 * i + (50 - shown[i]) / 2, top = (50 - shown[i]) / 2;
        for (int y = 0; y < small.height; ++y)
            for (int x = 0; x < small.width; ++x)
                out.set(left + x, top + y, small.get(x, y));
    }
    return out;
}

// --------------------------------------------------------------------- C++

std::string encodeCpp(const std::array<Picture, 4>& objects) {
    static const char* const kNames[4] = {"kObject500", "kObject600", "kObject700", "kObject800"};
    std::string out = "// Generated by resources/tools/art_objects.cpp; do not edit.\n\n"
                      "#include \"render/BuiltinObjectPictures.h\"\n\n"
                      "#include \"document/BuiltinTileSet.h\"\n\n"
                      "namespace krav {\n"
                      "namespace {\n\n";
    for (std::size_t i = 0; i < 4; ++i) {
        writeArray(out, kNames[i], objects[i].pixels, 16);
        out += "\n";
    }
    out += R"(} // namespace

const ObjectPictureSet& BuiltinObjectPictures() {
    static const ObjectPictureSet set = [] {
        ObjectPictureSet s;
        const unsigned char* const pixels[4] = {kObject500, kObject600, kObject700, kObject800};
        const int sizes[4] = {96, 80, 32, 16};
        for (std::size_t i = 0; i < 4; ++i) {
            s.pictures[i].size = sizes[i];
            s.pictures[i].pixels.assign(pixels[i], pixels[i] + sizes[i] * sizes[i]);
        }
        for (std::size_t c = 0; c < 256; ++c) { // the table holds blue, green, red, 0
            const unsigned char* entry = builtin_tileset::COLOUR_TABLE + 4 * c;
            s.colours[c] = 0xFF000000u | std::uint32_t(entry[2]) << 16 |
                           std::uint32_t(entry[1]) << 8 | entry[0];
        }
        return s;
    }();
    return set;
}

} // namespace krav
)";
    return out;
}

} // namespace

bool writeObjects(const Palette& pal, const OutDirs& out) {
    const std::array<Picture, 4> objects = {reactorStation(), warpGate(), turret(), mine()};
    bool ok = writeFile(out.render + "/BuiltinObjectPicturesData.cpp", encodeCpp(objects));
    ok = writeFile(out.art + "/strip205.xpm",
                   encodeXpm(toImage(strip(objects, pal), pal), "strip205")) &&
         ok;
    return ok;
}

} // namespace art
