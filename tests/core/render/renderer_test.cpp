// The map view's pictures at every zoom: tiles, objects drawn whole from their anchors, the
// grid under the tiles, the white edge past the map, the radar picture at the low zooms, and
// floating blocks.
#include "core/render/MapRenderFixture.h"
#include "render/MapRenderer.h"
#include "render/WideStores.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace krav {
namespace {

using namespace render_test;

// Golden pictures are kept run-length coded (they are mostly flat colour): "KRAVRLE1", width
// and height, then (count, pixel) pairs, all 32-bit little-endian. A mismatch leaves both
// pictures as PPM files for a look.
std::string GoldenPath(const std::string& name) {
    return std::string(KRAV_SOURCE_DIR) + "/tests/golden/" + name + ".rle";
}

void PutU32(std::string& bytes, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
}
std::uint32_t GetU32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return v;
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

std::string EncodeRuns(const Picture& picture) {
    std::string bytes = "KRAVRLE1";
    PutU32(bytes, picture.width);
    PutU32(bytes, picture.height);
    for (std::size_t i = 0; i < picture.pixels.size();) {
        std::size_t end = i;
        while (end < picture.pixels.size() && picture.pixels[end] == picture.pixels[i])
            ++end;
        PutU32(bytes, static_cast<std::uint32_t>(end - i));
        PutU32(bytes, picture.pixels[i]);
        i = end;
    }
    return bytes;
}

bool DecodeRuns(const std::string& bytes, Picture& picture) {
    if (bytes.size() < 16 || bytes.compare(0, 8, "KRAVRLE1") != 0 || (bytes.size() - 16) % 8)
        return false;
    picture.width = static_cast<int>(GetU32(bytes, 8));
    picture.height = static_cast<int>(GetU32(bytes, 12));
    picture.pixels.clear();
    for (std::size_t at = 16; at < bytes.size(); at += 8)
        picture.pixels.insert(picture.pixels.end(), GetU32(bytes, at), GetU32(bytes, at + 4));
    return picture.pixels.size() == static_cast<std::size_t>(picture.width) * picture.height;
}

void WritePpm(const std::string& path, const Picture& picture) {
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    for (const std::uint32_t p : picture.pixels) {
        const char rgb[3] = {static_cast<char>(p >> 16 & 0xFF), static_cast<char>(p >> 8 & 0xFF),
                             static_cast<char>(p & 0xFF)};
        file.write(rgb, 3);
    }
}

void ExpectMatchesGolden(const std::string& name, const Picture& actual) {
    const std::string path = GoldenPath(name);
    const char* update = std::getenv("KRAV_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << EncodeRuns(actual);
        std::cout << "wrote " << path << '\n';
        return;
    }
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    Picture golden;
    if (!file || !DecodeRuns(bytes, golden)) {
        ADD_FAILURE() << "no readable golden picture " << path
                      << "; make it with KRAV_UPDATE_GOLDEN=1 once the picture is right";
        return;
    }
    if (golden.width == actual.width && golden.height == actual.height &&
        golden.pixels == actual.pixels)
        return;
    const std::string actualPath = ::testing::TempDir() + name + ".actual.ppm";
    const std::string goldenPath = ::testing::TempDir() + name + ".golden.ppm";
    WritePpm(actualPath, actual);
    WritePpm(goldenPath, golden);
    std::string where = "a different size";
    if (golden.width == actual.width && golden.height == actual.height) {
        const auto i = static_cast<int>(
            std::mismatch(golden.pixels.begin(), golden.pixels.end(), actual.pixels.begin()).first -
            golden.pixels.begin());
        where = "pixel (" + std::to_string(i % actual.width) + ", " +
                std::to_string(i / actual.width) + ")";
    }
    ADD_FAILURE() << name << " differs from its golden picture first at " << where << ": see "
                  << actualPath << " and " << goldenPath
                  << "; if the change is intended, run with KRAV_UPDATE_GOLDEN=1";
}

TEST_F(MapRender, MatchesTheGoldenPictureAtEachZoom) {
    for (const Zoom& zoom : ZOOMS) {
        SCOPED_TRACE(zoom.name);
        const ViewGeometry view = View(zoom);
        ExpectMatchesGolden(std::string("map_view_") + zoom.name,
                            {view.ClientWidth(), view.ClientHeight(), DrawClient(view)});
    }
}

// Where the processor has wider stores, cells are copied with them: the same pixels as with
// the 16-byte stores, at every zoom, with detailed tiles or without.
TEST_F(MapRender, WideAndNarrowStoresDrawTheSamePixels) {
    if (!WideStoresAvailable())
        GTEST_SKIP() << "this processor has no wider stores";
    struct NarrowStores {
        NarrowStores() { AllowWideStores(false); }
        ~NarrowStores() { AllowWideStores(true); }
    };
    for (const Zoom& zoom : ZOOMS)
        for (const bool detailed : {false, true}) {
            SCOPED_TRACE(std::string(zoom.name) + (detailed ? ", detailed tiles" : ""));
            const ViewGeometry view = View(zoom);
            RenderSource source = Source();
            source.detailedTiles = detailed;
            const auto draw = [&] {
                std::vector<std::uint32_t> out(
                    static_cast<std::size_t>(view.ClientWidth()) * view.ClientHeight(), 0);
                MapRenderer renderer;
                renderer.Render(source, view, view.ClientRect(), out.data(), view.ClientWidth());
                return out;
            };
            const auto wide = draw();
            const NarrowStores narrow;
            EXPECT_EQ(draw(), wide);
        }
}

std::vector<std::uint32_t> Crop(const std::vector<std::uint32_t>& pixels, int width,
                                const Rect& r) {
    std::vector<std::uint32_t> part;
    for (int y = r.top; y < r.bottom; ++y)
        part.insert(part.end(), pixels.begin() + y * width + r.left,
                    pixels.begin() + y * width + r.right);
    return part;
}

// A repaint of part of the window must show what a paint of the whole window shows there.
TEST_F(MapRender, ClipsShowTheirPartOfTheWholePicture) {
    for (const Zoom& zoom : ZOOMS) {
        SCOPED_TRACE(zoom.name);
        const ViewGeometry view = View(zoom);
        const int w = view.ClientWidth();
        const int h = view.ClientHeight();
        const auto whole = DrawClient(view);
        const Rect clips[] = {{0, 0, 1, 1},
                              {w / 3, h / 4, w * 2 / 3 + 1, h - 1},
                              {0, h / 2, w, h / 2 + 1},
                              {w - 3, h - 5, w, h},
                              {1, 1, w / 2, h / 3},
                              // Past the map's edge by a cell and more: nothing but black.
                              {w - view.CellWidth(), 0, w, h},
                              {0, h - view.CellHeight(), w, h}};
        MapRenderer renderer;
        for (const Rect& clip : clips) {
            SCOPED_TRACE(::testing::Message() << "clip " << clip.left << ", " << clip.top << ", "
                                              << clip.right << ", " << clip.bottom);
            EXPECT_EQ(Draw(renderer, view, clip), Crop(whole, w, clip));
        }
    }
}

TEST_F(MapRender, ReusedRendererDrawsAsAFreshOne) {
    MapRenderer reused;
    for (const int z : {4, 5, 3, 0, 4}) {
        SCOPED_TRACE(ZOOMS[z].name);
        const ViewGeometry view = View(ZOOMS[z]);
        EXPECT_EQ(Draw(reused, view, view.ClientRect()), DrawClient(view));
    }
    // A new tile set for the level, in the same place.
    for (int i = 0; i < TILE_COUNT; ++i)
        tiles.colourTable[i * 4] ^= 0xFF;
    reused.ForgetTiles();
    const ViewGeometry view = View(ZOOMS[4]);
    EXPECT_EQ(Draw(reused, view, view.ClientRect()), DrawClient(view));
}

TEST_F(MapRender, ObjectAnchoredFarAboveTheClipIsStillDrawnWhole) {
    // Only the 6 x 6 object's last row is in the view: its picture's bottom frame shows there.
    const ViewGeometry base = View(ZOOMS[4]);
    const ViewGeometry view =
        ViewGeometry::OfArea(base.ClientWidth(), base.ClientHeight(), base.Zoom(), base.CellWidth(),
                             {ORIGIN_COL, ORIGIN_ROW + 3, MAP_SIZE, MAP_SIZE}, base.IsGridShown());
    const auto pixels = DrawClient(view);
    const int c = view.CellWidth();
    EXPECT_EQ(pixels[(c - 1) * view.ClientWidth() + c], OBJECT_FRAME[0]);
    EXPECT_EQ(pixels[(c - 3) * view.ClientWidth() + c], OBJECT_FILL[0]);
}

// Floating blocks.
class BlockRender : public MapRender {
protected:
    // 4 x 3 cells: a whole 2 x 2 object, tiles, a flag, the 1 x 1 object and empty cells.
    static constexpr int COLUMNS = 4;
    static constexpr int ROWS = 3;
    const std::vector<Cell> block = {
        3, EMPTY_CELL,     OBJECT_1X1,     20,        OBJECT_2X2, OBJECT_2X2 + 1, EMPTY_CELL,
        5, OBJECT_2X2 + 2, OBJECT_2X2 + 3, FLAG_CELL, EMPTY_CELL};
    static constexpr std::uint32_t UNTOUCHED = 0xFF123456u;

    // The view with the block's cells at its origin and no grid.
    ViewGeometry PutBlockAtOrigin(const Zoom& zoom) {
        const ViewGeometry view = ViewGeometry::OfArea(
            CLIENT_COLS * zoom.cell, CLIENT_ROWS * zoom.cell, zoom.factor, zoom.cell,
            {100, 100, 100 + CLIENT_COLS, 100 + CLIENT_COLS}, false);
        for (int r = 0; r < ROWS; ++r)
            for (int c = 0; c < COLUMNS; ++c)
                cells[(100 + r) * MAP_SIZE + 100 + c] = block[r * COLUMNS + c];
        return view;
    }

    std::vector<std::uint32_t> DrawBlock(MapRenderer& renderer, const ViewGeometry& view, Point at,
                                         const Rect& clip, std::uint32_t background) {
        std::vector<std::uint32_t> out(static_cast<std::size_t>(clip.Width()) * clip.Height(),
                                       background);
        renderer.RenderBlock(Source(), view, block.data(), COLUMNS, ROWS, at, clip, out.data(),
                             clip.Width());
        return out;
    }
};

TEST_F(BlockRender, DrawsItsCellsAsTheViewDrawsThem) {
    for (const Zoom& zoom : ZOOMS) {
        const ViewGeometry view = PutBlockAtOrigin(zoom);
        if (view.IsLowZoom())
            continue;
        SCOPED_TRACE(zoom.name);
        const int c = zoom.cell;
        const Rect blockRect{0, 0, COLUMNS * c, ROWS * c};
        const auto map = DrawClient(view);
        MapRenderer renderer;
        EXPECT_EQ(DrawBlock(renderer, view, {0, 0}, blockRect, BLACK),
                  Crop(map, view.ClientWidth(), blockRect));
        // Cut by a clip that leaves out the 2 x 2 object's anchor row.
        const Rect lower{1, 2 * c, COLUMNS * c - 1, ROWS * c};
        EXPECT_EQ(DrawBlock(renderer, view, {0, 0}, lower, BLACK),
                  Crop(map, view.ClientWidth(), lower));
    }
}

TEST_F(BlockRender, PlaceOnScreenOnlyMovesThePicture) {
    for (const Zoom& zoom : ZOOMS) {
        SCOPED_TRACE(zoom.name);
        const ViewGeometry view = PutBlockAtOrigin(zoom);
        MapRenderer renderer;
        const Rect clip{0, 0, 5 * zoom.cell, 4 * zoom.cell};
        for (const Point at : {Point{1, 1}, Point{-5, -7}, Point{zoom.cell + 3, -zoom.cell}}) {
            SCOPED_TRACE(::testing::Message() << "at " << at.x << ", " << at.y);
            EXPECT_EQ(DrawBlock(renderer, view, at, clip, UNTOUCHED),
                      DrawBlock(renderer, view, {0, 0}, clip.Offset(-at.x, -at.y), UNTOUCHED));
        }
    }
}

TEST_F(BlockRender, EmptyCellsLeaveThePixelsAndLowZoomsShowGreyBlocks) {
    for (const Zoom& zoom : ZOOMS) {
        SCOPED_TRACE(zoom.name);
        const ViewGeometry view = PutBlockAtOrigin(zoom);
        const int c = zoom.cell;
        const Rect clip{0, 0, COLUMNS * c + 2, ROWS * c + 2};
        MapRenderer renderer;
        const auto pixels = DrawBlock(renderer, view, {1, 1}, clip, UNTOUCHED);
        for (int r = 0; r < ROWS; ++r)
            for (int col = 0; col < COLUMNS; ++col) {
                const Cell v = block[r * COLUMNS + col];
                const auto cellPixel = [&](int dx, int dy) {
                    return pixels[(1 + r * c + dy) * clip.Width() + 1 + col * c + dx];
                };
                if (v == EMPTY_CELL) {
                    EXPECT_EQ(cellPixel(c / 2, c / 2), UNTOUCHED) << "cell " << col << ", " << r;
                } else if (view.IsLowZoom()) {
                    EXPECT_EQ(cellPixel(0, 0), PLACEHOLDER_GREY) << "cell " << col << ", " << r;
                    EXPECT_EQ(cellPixel(c - 1, c - 1), PLACEHOLDER_GREY)
                        << "cell " << col << ", " << r;
                }
            }
        EXPECT_EQ(pixels[0], UNTOUCHED) << "outside the block";
    }
}

} // namespace
} // namespace krav
