// One input step in the map view at 1920 x 1080, from the event to the repainted window
// (radar included), against one copy of a picture that size.
#include "ImageCopy.h"
#include "Ratio.h"
#include "ViewUnderTest.h"
#include "editing/ToolIds.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

namespace krav {
namespace {

void Send(CKRAVView& view, QEvent& event) {
    QApplication::sendEvent(view.viewport(), &event);
    bench::ViewUnderTest::ProcessEvents();
}

QPoint CellCentre(const MapViewEngine& engine, int column, int row) {
    const int cell = engine.Geometry().CellWidth();
    return {column * cell + cell / 2, row * cell + cell / 2};
}

// The Pencil held down and moved one cell at a time along a row of the client area, back and
// forth, a new tile each way so that every step paints.
void BM_pencil_move(benchmark::State& state) {
    bench::ViewUnderTest view;
    view.Hub().Execute(ID_TOOL_PENCIL);
    constexpr int FIRST = 10, LAST = 110, ROW = 20;
    QPoint at = CellCentre(view.Engine(), FIRST, ROW);
    QMouseEvent press(QEvent::MouseButtonPress, at, view.View().viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    Send(view.View(), press);
    int column = FIRST, step = 1, tile = 0;
    const auto move = [&] {
        const QPoint to = CellCentre(view.Engine(), column, ROW);
        QMouseEvent event(QEvent::MouseMove, to, view.View().viewport()->mapToGlobal(to),
                          Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        Send(view.View(), event);
    };
    const auto nextCell = [&] {
        if (column + step < FIRST || column + step > LAST) {
            step = -step;
            view.Engine().SetForeBack(tile = (tile + 1) % 100, true);
        }
        column += step;
    };
    const int paints = view.Paints();
    nextCell();
    move();
    if (view.Paints() == paints)
        return state.SkipWithError("the view did not paint");
    bench::RunWithBaseline(state, move, bench::ImageCopy(), {0, 0.35}, nextCell);
}
BENCHMARK(BM_pencil_move)->UseManualTime()->Unit(benchmark::kMicrosecond);

// One notch of the wheel at 1:1, down and up in turn.
void BM_wheel_scroll(benchmark::State& state) {
    bench::ViewUnderTest view;
    const QPoint at(bench::CLIENT_WIDTH / 2, bench::CLIENT_HEIGHT / 2);
    int notch = -120;
    const auto wheel = [&] {
        QWheelEvent event(at, view.View().viewport()->mapToGlobal(at), {}, {0, notch}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        Send(view.View(), event);
    };
    const int top = view.Engine().Geometry().TopRow();
    const int paints = view.Paints();
    wheel();
    if (view.Engine().Geometry().TopRow() == top || view.Paints() == paints)
        return state.SkipWithError("the wheel did not scroll and repaint the view");
    bench::RunWithBaseline(state, wheel, bench::ImageCopy(), {0, 1.0}, [&] { notch = -notch; });
}
BENCHMARK(BM_wheel_scroll)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace krav
