#include "ViewUnderTest.h"

#include "DenseMap.h"
#include "editing/ToolIds.h"

#include <QApplication>
#include <QEvent>
#include <algorithm>

namespace krav::bench {

namespace {

Rect ViewArea(const MapViewEngine& engine) {
    const ViewGeometry& view = engine.Geometry();
    return {view.LeftCol(), view.TopRow(), view.RightCol(), view.BottomRow()};
}

// Counts the paint events a widget gets.
class PaintCounter final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

} // namespace

BenchViewFrame::BenchViewFrame() {
    m_radar.show();
}

void BenchViewFrame::RadarViewScrolled(CKRAVView& view, bool vertical) {
    const Rect area = ViewArea(view.Engine());
    vertical ? m_radar.ScrollViewRows(area.top, area.bottom)
             : m_radar.ScrollViewCols(area.left, area.right);
}

void BenchViewFrame::RadarViewRectChanged(CKRAVView& view) {
    m_radar.SetViewRect(ViewArea(view.Engine()));
}

void BenchViewFrame::RadarShowDocument(CKRAVView& view) {
    m_radar.ShowDocument(&view.Document(), &view.Engine().Radar(), ViewArea(view.Engine()));
}

ViewUnderTest::ViewUnderTest() {
    m_doc.OnNewDocument(m_frame.UserPrompt());
    const std::vector<Cell> cells = DenseMap();
    std::copy(cells.begin(), cells.end(), m_doc.GetCells());
    m_view = std::make_unique<CKRAVView>(m_doc, m_frame);
    Hub().ViewOpened();
    Hub().SetActiveView(&Engine());
    auto counter = std::make_unique<PaintCounter>();
    m_view->viewport()->installEventFilter(counter.get());
    m_paintCounter = std::move(counter);
    m_view->show();
    m_view->resize(CLIENT_WIDTH, CLIENT_HEIGHT);
    ProcessEvents();
    // The scroll bars take their room from the widget: grow it by that much.
    m_view->resize(2 * CLIENT_WIDTH - m_view->viewport()->width(),
                   2 * CLIENT_HEIGHT - m_view->viewport()->height());
    ProcessEvents();
    SetZoom(1.0);
}

ViewUnderTest::~ViewUnderTest() = default;

void ViewUnderTest::SetZoom(double zoom) {
    MapViewEngine& engine = Engine();
    while (engine.Geometry().Zoom() < zoom)
        engine.ZoomAt(0, 0, false);
    while (engine.Geometry().Zoom() > zoom)
        engine.ZoomAt(0, 0, true);
    const ViewGeometry& view = engine.Geometry();
    const int columns = view.RightCol() - view.LeftCol();
    const int rows = view.BottomRow() - view.TopRow();
    engine.OnHScroll(SB_THUMBTRACK, std::max((MAP_SIZE - columns) / 2, 0));
    engine.OnVScroll(SB_THUMBTRACK, std::max((MAP_SIZE - rows) / 2, 0));
    ProcessEvents();
}

void ViewUnderTest::SetGrid(bool shown) {
    const ViewGeometry& view = Engine().Geometry();
    if (!view.IsLowZoom() && view.IsGridShown() != shown)
        Engine().ToggleGrid();
    ProcessEvents();
}

bool ViewUnderTest::SelectSome() {
    Hub().Execute(ID_TOOL_SELECT);
    const int cell = Engine().Geometry().CellWidth();
    const Point from{CLIENT_WIDTH / 4 / cell * cell + 1, CLIENT_HEIGHT / 4 / cell * cell + 1};
    const Point to{CLIENT_WIDTH * 3 / 4 / cell * cell + 1, CLIENT_HEIGHT * 3 / 4 / cell * cell + 1};
    Engine().OnLButtonDown(MK_LBUTTON, from);
    Engine().OnMouseMove(MK_LBUTTON, to);
    Engine().OnLButtonUp(0, to);
    ProcessEvents();
    return Engine().Selection().HasFinishedSelection();
}

void ViewUnderTest::PaintAll() {
    m_view->viewport()->repaint();
}

void ViewUnderTest::ProcessEvents() {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

int ViewUnderTest::Paints() const {
    return static_cast<const PaintCounter*>(m_paintCounter.get())->paints;
}

} // namespace krav::bench
