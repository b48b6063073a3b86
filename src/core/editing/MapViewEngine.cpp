#include "editing/MapViewEngine.h"

#include "editing/FlagPolicy.h"
#include "editing/ObjectGeometry.h"
#include "editing/StatusTexts.h"

#include <cstdint>

namespace krav {

MapViewEngine::MapViewEngine(CKRAVDoc& doc, ViewHost& host) : m_doc(doc), m_host(host) {}

MapViewEngine::~MapViewEngine() = default;

void MapViewEngine::OnInitialUpdate(int clientWidth, int clientHeight) {
    m_nForeTile = 0;
    m_nBackTile = 1;
    m_bLeftDown = m_bRightDown = false;
    m_view.Reset(clientWidth, clientHeight);
    m_radar.Build(m_doc.GetCells());
    m_nFlags = m_doc.GetFlagCount();
    m_host.ScrollBarsChanged();
    m_host.RadarShowDocument();
}

// --- geometry ------------------------------------------------------------------------------

void MapViewEngine::OnSize(int clientWidth, int clientHeight) {
    m_view.OnSize(clientWidth, clientHeight);
    m_host.ScrollBarsChanged();
    m_host.RadarViewRectChanged();
}

void MapViewEngine::OnVScroll(int code, int thumbPosition) {
    const int rows = m_view.ScrollVertical(code, thumbPosition);
    if (rows == 0)
        return;
    m_host.ScrollBarsChanged();
    m_host.ScrollContents(0, -rows * m_view.CellHeight());
    m_host.RadarViewScrolled(true);
}

void MapViewEngine::OnHScroll(int code, int thumbPosition) {
    const int columns = m_view.ScrollHorizontal(code, thumbPosition);
    if (columns == 0)
        return;
    m_host.ScrollBarsChanged();
    m_host.ScrollContents(-columns * m_view.CellWidth(), 0);
    m_host.RadarViewScrolled(false);
}

void MapViewEngine::ZoomAt(int x, int y, bool zoomOut, ZoomAnchor place) {
    const ViewGeometry before = m_view;
    if (!m_view.ZoomAt(x, y, zoomOut, place))
        return;
    // Every family, not only the current tool's: a selection outlives a tool change.
    for (Tool* family : m_families)
        family->Zoomed(before, {x, y});
    m_host.ScrollBarsChanged();
    InvalidateAll();
    m_host.RadarShowDocument();
    m_host.RadarViewRectChanged();
}

// Moves as a scroll bar's thumb would, so the radar follows.
void MapViewEngine::ScrollToMapEdge(bool toEnd, bool bothAxes) {
    const auto edge = [toEnd](const ScrollBar& bar) { return toEnd ? bar.MaxPosition() : 0; };
    OnHScroll(SB_THUMBTRACK, edge(m_view.HorizontalBar()));
    if (bothAxes)
        OnVScroll(SB_THUMBTRACK, edge(m_view.VerticalBar()));
}

void MapViewEngine::SetVisibleArea(int left, int top, int right, int bottom) {
    m_view.SetVisibleArea(left, top, right, bottom);
    m_host.ScrollBarsChanged();
    InvalidateAll();
    m_host.UpdateNow();
}

void MapViewEngine::ToggleGrid() {
    if (m_view.ToggleGrid())
        InvalidateAll();
}

void MapViewEngine::OnUpdate(int hint) {
    m_view.SetScrollRanges();
    m_host.ScrollBarsChanged();
    if (hint > 0)
        InvalidateCell(hint >> 16, hint & 0xFFFF);
    else
        InvalidateAll();
}

void MapViewEngine::InvalidateCell(int row, int column) {
    m_host.InvalidateClient(m_view.CellsToClient({column, row, column + 1, row + 1}), true);
}

void MapViewEngine::InvalidateBlock(const Rect& cells) {
    m_host.InvalidateClient(m_view.CellsToClient(cells), true);
    m_host.UpdateNow();
    m_radar.UpdateCells(m_doc.GetCells(), cells);
    m_host.RadarCellsChanged(cells);
}

void MapViewEngine::InvalidateAll() {
    m_host.InvalidateClient(m_view.ClientRect(), true);
}

Rect MapViewEngine::ClampIntoMap(const Rect& mapPixels) const {
    Rect map = mapPixels;
    const int mapWidth = MAP_SIZE * m_view.CellWidth();
    const int mapHeight = MAP_SIZE * m_view.CellHeight();
    if (map.left < 0)
        map = map.Offset(-map.left, 0);
    if (map.top < 0)
        map = map.Offset(0, -map.top);
    if (map.right > mapWidth)
        map = map.Offset(mapWidth - map.right, 0);
    if (map.bottom > mapHeight)
        map = map.Offset(0, mapHeight - map.bottom);
    return map;
}

// --- history and writing cells ---------------------------------------------------------------

void MapViewEngine::UndoRedo(ApplyMode mode) {
    m_history.UndoRedo(*this, mode);
}

void MapViewEngine::CellChanged(int x, int y) {
    m_radar.UpdateCell(m_doc.GetCells(), x, y);
    m_host.RadarCellChanged(x, y);
}

void MapViewEngine::BlockChanged(const Rect& cells) {
    m_radar.UpdateCells(m_doc.GetCells(), cells);
    m_host.InvalidateClient(m_view.CellsToClient(cells), true);
    m_host.RadarCellsChanged(cells);
    m_host.UpdateNow();
}

void MapViewEngine::PushPending() {
    if (!m_pendingChanges.empty())
        m_history.PushUndo(UndoKind::Cells, std::move(m_pendingChanges));
    m_pendingChanges.clear();
}

void MapViewEngine::EndStroke() {
    m_host.StopTimer(ViewTimer::PaintScroll);
    PushPending();
    m_host.SetCapture(false);
}

void MapViewEngine::EraseObject(int x, int y, Cell v, ChangeList& list) {
    // A footprint broken by a file (or lying partly past the edge) is cut to the map.
    const Rect cells = ClipToMap(ObjectFootprint(x, y, v));
    for (int row = cells.top; row < cells.bottom; ++row) {
        for (int column = cells.left; column < cells.right; ++column) {
            const Cell old = m_doc.GetCell(row, column);
            // A tile painted into a footprint may be a flag; it goes with the object.
            ReleaseFlag(m_nFlags, old);
            RecordChange(list, column, row, old);
            m_doc.SetCell(row, column, EMPTY_CELL);
        }
    }
    if (!cells.IsEmpty())
        InvalidateBlock(cells);
}

void MapViewEngine::EraseMap() {
    m_doc.ClearMap(true);
    m_radar.Clear();
    m_host.RadarShowDocument();
    m_nFlags = 0;
    InvalidateAll();
}

// --- buttons and tiles -------------------------------------------------------------------------

bool MapViewEngine::IsHeld(MouseButton button) const {
    return button == MouseButton::Left ? m_bLeftDown : m_bRightDown;
}

void MapViewEngine::SetHeld(MouseButton button, bool held) {
    (button == MouseButton::Left ? m_bLeftDown : m_bRightDown) = held;
}

int MapViewEngine::TileOf(MouseButton button) const {
    return button == MouseButton::Left ? m_nForeTile : m_nBackTile;
}

void MapViewEngine::SetTile(MouseButton button, int tile) {
    (button == MouseButton::Left ? m_nForeTile : m_nBackTile) = tile;
}

void MapViewEngine::SetForeBack(int tile, bool isFore) {
    // Tiles travel as 16-bit values, as the palette sends them.
    SetTile(isFore ? MouseButton::Left : MouseButton::Right, static_cast<std::int16_t>(tile));
}

// --- status texts ------------------------------------------------------------------------------

std::string MapViewEngine::CursorText() const {
    const Point cell = m_view.CellAt(m_ptLastMouse);
    return krav::CursorText(cell.x, cell.y);
}

std::string MapViewEngine::VisibleAreaText() const {
    return krav::VisibleAreaText(m_view.LeftCol(), m_view.TopRow(), m_view.RightCol(),
                                 m_view.BottomRow());
}

std::string MapViewEngine::SelectionText() const {
    const Rect& selection = m_selection.SelectionCells();
    if (m_selection.IsSelecting()) {
        const Point pointer = m_view.CellAt(m_ptLastMouse);
        return ExtentText(selection.left, selection.top, pointer.x, pointer.y);
    }
    if (m_selection.HasFinishedSelection())
        return ExtentText(selection.left, selection.top, selection.right, selection.bottom);
    return {};
}

std::string MapViewEngine::LineText() const {
    const std::optional<ShapeTools::LineExtent> line = m_shapes.ActiveLine();
    if (!line)
        return {};
    const int left = m_view.LeftCol();
    const int top = m_view.TopRow();
    return ExtentText(line->start.x + left, line->start.y + top, line->end.x + left,
                      line->end.y + top);
}

std::string MapViewEngine::ZoomText() const {
    return krav::ZoomText(m_view.Zoom());
}

std::string MapViewEngine::FlagsText() const {
    return krav::FlagsText(m_nFlags);
}

} // namespace krav
