// Whole-map editing steps against copying the same number of bytes.
#include "Ratio.h"
#include "editing/RadarPicture.h"
#include "editing/UndoHistory.h"

#include <cstring>
#include <memory>
#include <vector>

namespace krav {
namespace {

class PlainMap final : public MapTarget {
public:
    PlainMap() : m_cells(MAP_CELLS, 5) {}
    Cell* Cells() override { return m_cells.data(); }
    int& Flags() override { return m_flags; }
    void CellChanged(int, int) override {}
    void BlockChanged(const Rect&) override {}
    void SetModified() override {}
    void ShowMessage(const std::string&) override {}

private:
    std::vector<Cell> m_cells;
    int m_flags = 0;
};

void BM_radar_build(benchmark::State& state) {
    std::vector<Cell> cells(MAP_CELLS);
    for (int i = 0; i < MAP_CELLS; ++i)
        cells[i] = static_cast<Cell>(i % 200 == 0 ? EMPTY_CELL : i % TILE_COUNT);
    RadarPicture radar;
    std::vector<Cell> copy(MAP_CELLS);
    bench::RunWithBaseline(
        state,
        [&] {
            radar.Build(cells.data());
            benchmark::DoNotOptimize(radar.Data());
        },
        [&] {
            std::memcpy(copy.data(), cells.data(), MAP_CELLS * sizeof(Cell));
            benchmark::DoNotOptimize(copy.data());
        });
}
BENCHMARK(BM_radar_build)->Unit(benchmark::kMillisecond);

// Undo then redo of one step that changed every cell of the map.
void BM_undo_redo_whole_map(benchmark::State& state) {
    PlainMap map;
    UndoHistory history;
    ChangeList list;
    list.reserve(MAP_CELLS);
    for (int y = 0; y < MAP_SIZE; ++y)
        for (int x = 0; x < MAP_SIZE; ++x)
            RecordChange(list, x, y, 7);
    history.PushUndo(UndoKind::Cells, std::move(list));
    std::vector<CellChange> copy(MAP_CELLS), source(MAP_CELLS);
    bench::RunWithBaseline(
        state,
        [&] {
            history.UndoRedo(map, ApplyMode::Undo);
            history.UndoRedo(map, ApplyMode::Redo);
        },
        [&] {
            // An undo and a redo each touch the change list and the map once.
            std::memcpy(copy.data(), source.data(), MAP_CELLS * sizeof(CellChange));
            std::memcpy(map.Cells(), copy.data(), MAP_CELLS * sizeof(Cell));
            std::memcpy(source.data(), copy.data(), MAP_CELLS * sizeof(CellChange));
            std::memcpy(map.Cells(), source.data(), MAP_CELLS * sizeof(Cell));
            benchmark::DoNotOptimize(map.Cells());
        });
}
BENCHMARK(BM_undo_redo_whole_map)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace krav
