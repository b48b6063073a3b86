// Whole-map editing steps against plain memory operations of the same size.
#include "Ratio.h"
#include "document/CKRAVDoc.h"
#include "editing/MapViewEngine.h"
#include "editing/RadarPicture.h"
#include "frame/HeadlessFrame.h"
#include "frame/HubViewHost.h"
#include "frame/MainFrameHub.h"
#include "frame/ScriptedPrompt.h"

#include <cstring>
#include <vector>

namespace krav {
namespace {

constexpr std::size_t MAP_BYTES = MAP_CELLS * sizeof(Cell);

// The 4 MiB copy every whole-map step is measured against.
class MapCopy {
public:
    MapCopy() : m_from(MAP_CELLS, 5), m_to(MAP_CELLS) {}
    void operator()() {
        std::memcpy(m_to.data(), m_from.data(), MAP_BYTES);
        benchmark::DoNotOptimize(m_to.data());
    }

private:
    std::vector<Cell> m_from, m_to;
};

constexpr bench::Target WHOLE_MAP_STEP{10.0};

void BM_radar_build(benchmark::State& state) {
    std::vector<Cell> cells(MAP_CELLS);
    for (int i = 0; i < MAP_CELLS; ++i)
        cells[i] = static_cast<Cell>(i % 200 == 0 ? EMPTY_CELL : i % TILE_COUNT);
    RadarPicture radar;
    bench::RunWithBaseline(
        state,
        [&] {
            radar.Build(cells.data());
            benchmark::DoNotOptimize(radar.Kinds());
        },
        // What any picture of the cells costs at the least: reading the 4 MiB of them once.
        [&] {
            std::uint32_t sum = 0;
            for (const Cell v : cells)
                sum += v;
            benchmark::DoNotOptimize(sum);
        },
        {3.0});
}
BENCHMARK(BM_radar_build)->UseManualTime()->Unit(benchmark::kMillisecond);

// A view of a dense level, zoomed out to show the whole map, with all of it selected.
class WholeMapView {
public:
    WholeMapView() {
        m_doc.OnNewDocument(m_prompt);
        for (int i = 0; i < MAP_CELLS; ++i)
            m_doc.GetCells()[i] = static_cast<Cell>(i * 7 % TILE_COUNT);
        m_engine.OnInitialUpdate(CLIENT, CLIENT);
        for (int i = 0; i < 4; ++i)
            m_engine.ZoomAt(0, 0, true);
        m_hub.ViewOpened();
        m_hub.SetActiveView(&m_engine);
        m_hub.Execute(ID_TOOL_SELECT);
        m_engine.OnLButtonDown(MK_LBUTTON, {0, 0});
        m_engine.OnMouseMove(MK_LBUTTON, {MAP_SIZE, MAP_SIZE});
        m_engine.OnLButtonUp(0, {MAP_SIZE, MAP_SIZE});
    }

    bool SelectsWholeMap() const {
        const Rect& r = m_engine.Selection().SelectionRect();
        return m_engine.Selection().HasFinishedSelection() && r.left == 0 && r.top == 0 &&
               r.right == MAP_SIZE && r.bottom == MAP_SIZE;
    }
    MapViewEngine& Engine() { return m_engine; }
    void SetForeTile(int tile) { m_engine.SetForeBack(tile, true); }

private:
    static constexpr int CLIENT = MAP_SIZE + 16;
    HeadlessFrame m_frame;
    ScriptedPrompt m_prompt;
    MainFrameHub m_hub{m_frame, m_prompt};
    CKRAVDoc m_doc;
    HubViewHost m_host{m_hub, m_prompt};
    MapViewEngine m_engine{m_doc, m_host};
};

// Runs a whole-map step; prepare (not timed) puts the view where the step can be taken.
template <typename Step, typename Prepare = void (*)()>
void WholeMapStep(
    benchmark::State& state, WholeMapView& view, Step step, Prepare prepare = [] {}) {
    if (!view.SelectsWholeMap())
        return state.SkipWithError("the whole map could not be selected");
    bench::RunWithBaseline(state, step, MapCopy(), WHOLE_MAP_STEP, prepare);
}

void BM_fill_whole_map(benchmark::State& state) {
    WholeMapView view;
    int tile = 0;
    WholeMapStep(state, view, [&] {
        view.SetForeTile(tile = (tile + 1) % 100); // a real change every time
        view.Engine().Selection().FillSelection();
    });
}
BENCHMARK(BM_fill_whole_map)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_flip_whole_map(benchmark::State& state) {
    WholeMapView view;
    WholeMapStep(state, view, [&] { view.Engine().Selection().FlipHorizontal(); });
}
BENCHMARK(BM_flip_whole_map)->UseManualTime()->Unit(benchmark::kMillisecond);

// Undo or Redo of a Fill of the whole map, timed on its own: the other one, untimed, puts
// the step back first.
void UndoOrRedo(benchmark::State& state, ApplyMode timed) {
    WholeMapView view;
    view.SetForeTile(3);
    view.Engine().Selection().FillSelection();
    const ApplyMode back = timed == ApplyMode::Undo ? ApplyMode::Redo : ApplyMode::Undo;
    bool first = timed == ApplyMode::Undo;
    WholeMapStep(
        state, view, [&] { view.Engine().UndoRedo(timed); },
        [&] {
            if (!first)
                view.Engine().UndoRedo(back);
            first = false;
        });
}

void BM_undo_whole_map(benchmark::State& state) {
    UndoOrRedo(state, ApplyMode::Undo);
}
BENCHMARK(BM_undo_whole_map)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_redo_whole_map(benchmark::State& state) {
    UndoOrRedo(state, ApplyMode::Redo);
}
BENCHMARK(BM_redo_whole_map)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace krav
