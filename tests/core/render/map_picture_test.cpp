// Pictures of the map drawn band by band: the very pixels of one whole-picture render, however
// the bands cut the cells and the objects that lie across them.
#include "document/CKRAVDoc.h"
#include "render/BuiltinObjectPictures.h"
#include "render/MapPicture.h"
#include "support/FakePrompt.h"

#include <gtest/gtest.h>
#include <vector>

namespace krav {
namespace {

class MapPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnNewDocument(prompt));
        Cell* cells = doc.GetCells();
        // Tiles over the corner and the map's last cells, some cells left empty, a flag.
        for (int row = 0; row < 60; ++row)
            for (int col = 0; col < 60; ++col)
                if ((row * 7 + col) % 11 != 0)
                    cells[row * MAP_SIZE + col] = static_cast<Cell>((row * 13 + col) % TILE_COUNT);
        cells[1023 * MAP_SIZE + 1023] = 99;
        cells[1022 * MAP_SIZE + 1020] = FLAG_CELL;
        // Objects across the bands' edges at every zoom, one hanging into the map's corner.
        Place(OBJECT_6X6, 6, 7, 18);
        Place(OBJECT_5X5, 5, 20, 30);
        Place(OBJECT_2X2, 2, 40, 25);
        Place(OBJECT_1X1, 1, 16, 24);
        Place(OBJECT_5X5, 5, 1018, 1019);
        radar.Build(doc.GetCells());
    }

    void Place(Cell base, int side, int col, int row) {
        for (int dy = 0; dy < side; ++dy)
            for (int dx = 0; dx < side; ++dx)
                doc.GetCells()[(row + dy) * MAP_SIZE + col + dx] =
                    base + static_cast<Cell>(dy * side + dx);
    }

    RenderSource Source() const {
        return {doc.GetCells(), doc.GetTileSet(), &radar, &BuiltinObjectPictures()};
    }

    // The whole picture in one render, as krav-lvl render drew it before it drew bands.
    std::vector<std::uint32_t> WholePicture(const PictureRequest& request) const {
        const int width = static_cast<int>(request.Width());
        const int height = static_cast<int>(request.Height());
        const bool grid = request.grid && request.zoom.factor > LOW_ZOOM_LIMIT;
        const ViewGeometry view = ViewGeometry::OfArea(width, height, request.zoom.factor,
                                                       request.zoom.cellSize, request.area, grid);
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        MapRenderer renderer;
        renderer.Render(Source(), view, view.ClientRect(), pixels.data(), width);
        return pixels;
    }

    std::vector<std::uint32_t> InBands(const PictureRequest& request, std::size_t bandPixels,
                                       int& bands) const {
        const int width = static_cast<int>(request.Width());
        std::vector<std::uint32_t> pixels;
        bands = 0;
        const bool done = DrawMapPicture(
            Source(), request,
            [&](const std::uint32_t* band, int firstRow, int rows) {
                EXPECT_EQ(static_cast<std::size_t>(firstRow) * width, pixels.size());
                pixels.insert(pixels.end(), band, band + static_cast<std::size_t>(rows) * width);
                ++bands;
                return true;
            },
            bandPixels);
        EXPECT_TRUE(done);
        return pixels;
    }

    test::FakePrompt prompt;
    CKRAVDoc doc;
    RadarPicture radar;
};

TEST_F(MapPictureTest, BandsGiveTheWholePicturesPixelsAtEveryZoom) {
    const Rect areas[] = {{5, 15, 45, 50}, {1000, 1010, 1024, 1024}, {0, 0, 64, 64}};
    for (const PictureZoom& zoom : PICTURE_ZOOMS)
        for (const Rect& area : areas)
            for (const bool grid : {false, true}) {
                SCOPED_TRACE(std::string(zoom.text) + (grid ? " grid " : " ") +
                             std::to_string(area.left) + "," + std::to_string(area.top));
                const PictureRequest request{area, zoom, grid};
                const std::vector<std::uint32_t> whole = WholePicture(request);
                // One row of cells a band, then a few rows, then everything at once.
                const std::size_t rowPixels = static_cast<std::size_t>(request.Width());
                for (const std::size_t cellRows : {1, 3, 10000}) {
                    int bands = 0;
                    const std::size_t bandPixels = cellRows * rowPixels * zoom.cellSize;
                    EXPECT_TRUE(InBands(request, bandPixels, bands) == whole) << cellRows;
                    const int expectedBands = (area.Height() + static_cast<int>(cellRows) - 1) /
                                              static_cast<int>(cellRows);
                    EXPECT_EQ(bands, expectedBands);
                }
            }
}

TEST_F(MapPictureTest, ARowOfCellsLargerThanTheBandIsOneBand) {
    const PictureRequest request{{0, 0, 1024, 4}, PICTURE_ZOOMS[5], true};
    int bands = 0;
    EXPECT_TRUE(InBands(request, 16, bands) == WholePicture(request));
    EXPECT_EQ(bands, 4);
}

TEST_F(MapPictureTest, TheSinkStopsTheDrawing) {
    int bands = 0;
    const PictureRequest request{{0, 0, 64, 64}, PICTURE_ZOOMS[4], false};
    const bool done = DrawMapPicture(
        Source(), request, [&](const std::uint32_t*, int, int) { return ++bands < 3; },
        64 * 16 * 16);
    EXPECT_FALSE(done);
    EXPECT_EQ(bands, 3);
}

} // namespace
} // namespace krav
