// Painting a whole 1024 x 768 map view against copying the same number of pixel bytes.
#include "DenseMap.h"
#include "Ratio.h"
#include "document/LoadTileSet.h"
#include "render/MapRenderer.h"

#include <cstring>
#include <memory>
#include <vector>

namespace krav {
namespace {

constexpr int CLIENT_WIDTH = 1024;
constexpr int CLIENT_HEIGHT = 768;

ObjectPictureSet PlainObjects() {
    ObjectPictureSet objects;
    const int sizes[4] = {96, 80, 32, 16};
    for (int i = 0; i < 4; ++i) {
        objects.pictures[i].size = sizes[i];
        objects.pictures[i].pixels.assign(sizes[i] * sizes[i], static_cast<std::uint8_t>(i + 1));
        objects.colours[i + 1] = 0xFF404040u + 0x202020u * i;
    }
    return objects;
}

void PaintWholeView(benchmark::State& state, double zoom, int cellSize) {
    const std::vector<Cell> cells = bench::DenseMap();
    const auto tileSet = LoadBuiltInTileSet();
    const ObjectPictureSet objects = PlainObjects();
    RadarPicture radar;
    radar.Build(cells.data());
    const ViewGeometry view = ViewGeometry::OfArea(
        CLIENT_WIDTH, CLIENT_HEIGHT, zoom, cellSize,
        {100, 100, 100 + CLIENT_WIDTH / cellSize, 100 + CLIENT_HEIGHT / cellSize},
        zoom > LOW_ZOOM_LIMIT);

    MapRenderer renderer;
    const RenderSource source{cells.data(), tileSet.get(), &radar, &objects};
    std::vector<std::uint32_t> out(CLIENT_WIDTH * CLIENT_HEIGHT);
    std::vector<std::uint32_t> copyFrom(out.size(), 0xFF102030u);
    renderer.Render(source, view, view.ClientRect(), out.data(), CLIENT_WIDTH); // scales the tiles
    bench::RunWithBaseline(
        state,
        [&] {
            renderer.Render(source, view, view.ClientRect(), out.data(), CLIENT_WIDTH);
            benchmark::DoNotOptimize(out.data());
        },
        [&] {
            std::memcpy(out.data(), copyFrom.data(), out.size() * sizeof(std::uint32_t));
            benchmark::DoNotOptimize(out.data());
        });
}

void BM_paint_view_1to1(benchmark::State& state) {
    PaintWholeView(state, 1.0, 16);
}
BENCHMARK(BM_paint_view_1to1)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_paint_view_1to16(benchmark::State& state) {
    PaintWholeView(state, 0.0625, 1);
}
BENCHMARK(BM_paint_view_1to16)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace krav
