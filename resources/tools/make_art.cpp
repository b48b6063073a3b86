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

#include "art_tiles.h"

#include <filesystem>
#include <iostream>

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
