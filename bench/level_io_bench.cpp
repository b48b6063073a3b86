// Reading and writing a full level against copying the same number of bytes.
#include "Ratio.h"
#include "document/ByteSource.h"
#include "document/LevelReader.h"
#include "document/LevelWriter.h"
#include "document/LoadTileSet.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace krav {
namespace {

std::unique_ptr<Cell[]> FullMap() {
    auto cells = std::make_unique<Cell[]>(MAP_CELLS);
    for (int i = 0; i < MAP_CELLS; ++i)
        cells[i] = static_cast<Cell>(i * 7 % TILE_COUNT);
    return cells;
}

// A level's own tile set, as a file would bring it (bottom-up).
std::unique_ptr<TileSetBitmap> FileTileSet() {
    auto tileSet = LoadBuiltInTileSet();
    tileSet->infoHeader[8] = TILESET_HEIGHT;
    tileSet->infoHeader[9] = tileSet->infoHeader[10] = tileSet->infoHeader[11] = 0;
    tileSet->topDown = false;
    return tileSet;
}

void BM_read_full_level(benchmark::State& state) {
    const auto tileSet = FileTileSet();
    const auto bytes = WriteLevel(FullMap().get(), tileSet.get());
    auto cells = std::make_unique<Cell[]>(MAP_CELLS);
    std::vector<std::uint8_t> copy(bytes.size());
    bench::RunWithBaseline(
        state, [&] { benchmark::DoNotOptimize(ReadLevel(MemorySource(bytes), cells.get())); },
        [&] {
            std::memcpy(copy.data(), bytes.data(), bytes.size());
            benchmark::DoNotOptimize(copy.data());
        },
        {3.0});
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_read_full_level)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_write_full_level(benchmark::State& state) {
    const auto cells = FullMap();
    const auto tileSet = FileTileSet();
    bench::RunWithBaseline(
        state, [&] { benchmark::DoNotOptimize(WriteLevel(cells.get(), tileSet.get())); },
        [&] {
            std::vector<std::uint8_t> out(MAP_CELLS * 4);
            std::memcpy(out.data(), cells.get(), out.size());
            benchmark::DoNotOptimize(out.data());
        },
        {3.0});
}
BENCHMARK(BM_write_full_level)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace krav
