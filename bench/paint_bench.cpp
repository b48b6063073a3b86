// The map view's whole paint of a 1920 x 1080 client area of a dense map (renderer, overlays,
// the picture handed to the window) against one copy of a picture that size.
#include "ImageCopy.h"
#include "Ratio.h"
#include "ViewUnderTest.h"

namespace krav {
namespace {

void BM_paint_view(benchmark::State& state, double zoom, bool gridAndSelection) {
    bench::ViewUnderTest view;
    view.SetZoom(zoom);
    view.SetGrid(gridAndSelection);
    if (gridAndSelection && !view.SelectSome())
        return state.SkipWithError("nothing was selected");
    const int paints = view.Paints();
    view.PaintAll();
    if (view.Paints() == paints)
        return state.SkipWithError("the view did not paint");
    bench::RunWithBaseline(state, [&] { view.PaintAll(); }, bench::ImageCopy(), {2.0});
}

#define KRAV_PAINT_BENCHMARK(name, zoom)                                                           \
    BENCHMARK_CAPTURE(BM_paint_view, name, zoom, false)                                            \
        ->UseManualTime()                                                                          \
        ->Unit(benchmark::kMillisecond);                                                           \
    BENCHMARK_CAPTURE(BM_paint_view, name##_grid_selection, zoom, true)                            \
        ->UseManualTime()                                                                          \
        ->Unit(benchmark::kMillisecond)

KRAV_PAINT_BENCHMARK(2to1, 2.0);
KRAV_PAINT_BENCHMARK(1to1, 1.0);
KRAV_PAINT_BENCHMARK(1to2, 0.5);
KRAV_PAINT_BENCHMARK(1to4, 0.25);
KRAV_PAINT_BENCHMARK(1to8, 0.125);
KRAV_PAINT_BENCHMARK(1to16, 0.0625);

} // namespace
} // namespace krav
