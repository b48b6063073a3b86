// The whole map at a glance: the Radar's "Whole Map" (a dense 1024 x 1024 map reduced and
// drawn into a 250 x 250 window, at most 2 ms), and the map view's paint of 1920 x 1080 at the
// low zooms with detailed tiles (at most twice one copy of a picture that size, 2.5 times at
// 1:16).
#include "DenseMap.h"
#include "ImageCopy.h"
#include "Ratio.h"
#include "document/LoadTileSet.h"
#include "editing/RadarPicture.h"
#include "palettes/CRadarWnd.h"
#include "render/BuiltinObjectPictures.h"
#include "render/MapRenderer.h"

#include <QImage>
#include <cstring>
#include <vector>

namespace krav {
namespace {

constexpr int RADAR_SIDE = 250;

// A new picture for the window, as when another view becomes active: reduced and painted.
void BM_radar_whole_map_250(benchmark::State& state) {
    const std::vector<Cell> cells = bench::DenseMap();
    RadarPicture picture;
    picture.Build(cells.data());
    CRadarWnd radar(nullptr);
    radar.resize(RADAR_SIDE, RADAR_SIDE);
    radar.SetWholeMap(true);
    QImage shown(RADAR_SIDE, RADAR_SIDE, QImage::Format_RGB32);
    const Rect viewArea{400, 400, 520, 467};
    std::vector<std::uint8_t> copy(MAP_CELLS);
    // Two documents taking turns, so that each time the picture is made anew.
    const int keys[2] = {0, 1};
    int turn = 0;
    radar.ShowDocument(&keys[turn], &picture, viewArea);
    radar.render(&shown);
    if (radar.Overview().Side() != RADAR_SIDE)
        return state.SkipWithError("the radar's client is not 250 x 250");
    bench::RunWithBaseline(
        state,
        [&] {
            turn = 1 - turn;
            radar.ShowDocument(&keys[turn], &picture, viewArea);
            radar.render(&shown);
            benchmark::DoNotOptimize(shown.bits());
        },
        // Reading every cell's radar colour once.
        [&] {
            std::memcpy(copy.data(), picture.Kinds(), copy.size());
            benchmark::DoNotOptimize(copy.data());
        },
        {0, 2.0});
}
BENCHMARK(BM_radar_whole_map_250)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The renderer's part of the view's paint, which is all the toggle changes.
void BM_paint_detailed_tiles(benchmark::State& state, double zoom, int cellSize) {
    const std::vector<Cell> cells = bench::DenseMap();
    const auto tileSet = LoadBuiltInTileSet();
    RadarPicture radar;
    radar.Build(cells.data());
    const int width = bench::CLIENT_WIDTH;
    const int height = bench::CLIENT_HEIGHT;
    const ViewGeometry view = ViewGeometry::OfArea(
        width, height, zoom, cellSize, {0, 0, width / cellSize, height / cellSize}, false);
    const RenderSource source{cells.data(), tileSet.get(), &radar, &BuiltinObjectPictures(), true};
    MapRenderer renderer;
    QImage out(width, height, QImage::Format_RGB32);
    const auto paint = [&] {
        renderer.Render(source, view, view.ClientRect(),
                        reinterpret_cast<std::uint32_t*>(out.bits()), out.bytesPerLine() / 4);
        benchmark::DoNotOptimize(out.bits());
    };
    // At 1:16 each pixel is a whole cell: the 1920 x 1080 pixels read 2 million cells and a
    // shrunk picture each, and place the objects, against a copy that reads one pixel each.
    bench::RunWithBaseline(state, paint, bench::ImageCopy(), {cellSize == 1 ? 2.5 : 2.0});
}
BENCHMARK_CAPTURE(BM_paint_detailed_tiles, 1to4, 0.25, 4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_paint_detailed_tiles, 1to8, 0.125, 2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_paint_detailed_tiles, 1to16, 0.0625, 1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace krav
