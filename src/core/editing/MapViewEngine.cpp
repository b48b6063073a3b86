#include "editing/MapViewEngine.h"

#include "editing/FlagPolicy.h"
#include "editing/ObjectGeometry.h"
#include "editing/StatusTexts.h"

#include <algorithm>

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
    if (rows == 0) return;
    m_host.ScrollBarsChanged();
    m_host.ScrollContents(0, -rows * m_view.m_nCellHeight);
    m_host.RadarViewScrolled(true);
}

void MapViewEngine::OnHScroll(int code, int thumbPosition) {
    const int columns = m_view.ScrollHorizontal(code, thumbPosition);
    if (columns == 0) return;
    m_host.ScrollBarsChanged();
    m_host.ScrollContents(-columns * m_view.m_nCellWidth, 0);
    m_host.RadarViewScrolled(false);
}

void MapViewEngine::ZoomAt(int x, int y, bool zoomOut, ZoomAnchor place) {
    if (!m_view.ZoomAt(x, y, zoomOut, place)) return;
    m_host.ScrollBarsChanged();
    InvalidateAll();
    m_host.RadarShowDocument();
    m_host.RadarViewRectChanged();
}

// Moves as a scroll bar's thumb would, so the radar follows.
void MapViewEngine::ScrollToMapEdge(bool toEnd, bool bothAxes) {
    const auto edge = [toEnd](const ScrollBar& bar) { return toEnd ? bar.MaxPosition() : 0; };
    OnHScroll(SB_THUMBTRACK, edge(m_view.m_hScroll));
    if (bothAxes) OnVScroll(SB_THUMBTRACK, edge(m_view.m_vScroll));
}

void MapViewEngine::SetVisibleArea(int left, int top, int right, int bottom) {
    m_view.SetVisibleArea(left, top, right, bottom);
    m_host.ScrollBarsChanged();
    InvalidateAll();
    m_host.UpdateNow();
}

void MapViewEngine::ToggleGrid() {
    if (m_view.ToggleGrid()) InvalidateAll();
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

void MapViewEngine::InvalidateAll() { m_host.InvalidateClient(m_view.ClientRect(), true); }

// --- history -------------------------------------------------------------------------------

void MapViewEngine::UndoRedo(int mode) { m_history.UndoRedo(*this, mode); }

void MapViewEngine::CellChanged(int x, int y) {
    m_radar.UpdateCell(m_doc.GetCells(), x, y);
    m_host.RadarCellChanged(x, y);
}

void MapViewEngine::BlockChanged(const Rect& cells) {
    m_host.InvalidateClient(m_view.CellsToClient(cells), true);
    m_host.RadarCellsChanged(cells);
    m_host.UpdateNow();
}

// --- flags and special objects -------------------------------------------------------------

void MapViewEngine::EraseObject(int x, int y, Cell v, ChangeList& list) {
    // A footprint broken by a file (or lying partly past the edge) is cut to the map.
    const Rect footprint = ObjectFootprint(x, y, v);
    const Rect cells{std::max(footprint.left, 0), std::max(footprint.top, 0),
                     std::min(footprint.right, MAP_SIZE), std::min(footprint.bottom, MAP_SIZE)};
    for (int row = cells.top; row < cells.bottom; ++row) {
        for (int column = cells.left; column < cells.right; ++column) {
            const Cell old = m_doc.GetCell(row, column);
            // A tile painted into a footprint may be a flag; it goes with the object.
            ReleaseFlag(m_nFlags, old);
            RecordChange(list, column, row, old);
            m_doc.SetCell(row, column, EMPTY_CELL);
        }
    }
    if (!cells.IsEmpty()) InvalidateBlock(cells);
}

Rect MapViewEngine::ClampIntoMap(const Rect& mapPixels) const {
    Rect map = mapPixels;
    const int mapWidth = MAP_SIZE * m_view.m_nCellWidth;
    const int mapHeight = MAP_SIZE * m_view.m_nCellHeight;
    if (map.left < 0) map = map.Offset(-map.left, 0);
    if (map.top < 0) map = map.Offset(0, -map.top);
    if (map.right > mapWidth) map = map.Offset(mapWidth - map.right, 0);
    if (map.bottom > mapHeight) map = map.Offset(0, mapHeight - map.bottom);
    return map;
}

Rect MapViewEngine::StampInsideMap(const Rect& client) const {
    return m_view.MapToClient(ClampIntoMap(m_view.ClientToMap(client)));
}

void MapViewEngine::PlaceStamp(Point client) {
    const int cw = m_view.m_nCellWidth;
    const int ch = m_view.m_nCellHeight;
    const double zoom = m_view.m_dZoom;
    const int px = client.x / cw * cw;
    const int py = client.y / ch * ch;
    const int size = static_cast<int>(ObjectSide(m_nStampBase) * 16 * zoom);
    Point corner{px, py}; // the 1 x 1 object sits on the pointer's cell
    if (m_nStampBase == OBJECT_6X6 || m_nStampBase == OBJECT_2X2) {
        // The object's centre goes to the corner of the pointer's cell.
        corner = {px - size / 2, py - size / 2};
    } else if (m_nStampBase == OBJECT_5X5) {
        // The pointer's cell is the centre cell.
        const int offset = static_cast<int>(32 * zoom);
        corner = {px - offset, py - offset};
    }
    m_ptStamp = client;
    m_rcStamp = StampInsideMap({corner.x, corner.y, corner.x + size, corner.y + size});
}

void MapViewEngine::MoveStamp(Point client) {
    if (client == m_ptStamp) return;
    const auto step = [](int d, int cell) { return std::abs(d) > cell ? d / cell * cell : 0; };
    const int dx = step(client.x - m_ptStamp.x, m_view.m_nCellWidth);
    const int dy = step(client.y - m_ptStamp.y, m_view.m_nCellHeight);
    m_ptStamp = {m_ptStamp.x + dx, m_ptStamp.y + dy};
    m_rcStamp = StampInsideMap(m_rcStamp.Offset(dx, dy));
}

void MapViewEngine::StampObject() {
    // The footprint is taken from the preview's top-left cell: the preview's pixels only match
    // the object's cells at the zoom it was placed at.
    const Rect map = m_view.ClientToMap(m_rcStamp);
    const int side = ObjectSide(m_nStampBase);
    const int left = std::clamp(map.left / m_view.m_nCellWidth, 0, MAP_SIZE - side);
    const int top = std::clamp(map.top / m_view.m_nCellHeight, 0, MAP_SIZE - side);
    const Rect cells{left, top, left + side, top + side};
    ChangeList list;
    Cell value = m_nStampBase;
    for (int row = cells.top; row < cells.bottom; ++row) {
        for (int column = cells.left; column < cells.right; ++column) {
            const Cell old = m_doc.GetCell(row, column);
            if (IsObjectCell(old)) EraseObject(column, row, old, list);
            ReleaseFlag(m_nFlags, old);
            RecordChange(list, column, row, old);
            m_doc.SetCell(row, column, value++);
        }
    }
    InvalidateBlock(cells);
    m_history.PushUndo(UNDO_STAMP, std::move(list));
}

} // namespace krav

// --- status texts --------------------------------------------------------------------------

namespace krav {

std::string MapViewEngine::CursorText() const {
    const Point cell = m_view.CellAt(m_ptLastMouse);
    return krav::CursorText(cell.x, cell.y);
}

std::string MapViewEngine::VisibleAreaText() const {
    return krav::VisibleAreaText(m_view.m_nLeftCol, m_view.m_nTopRow, m_view.m_nRightCol,
                                 m_view.m_nBottomRow);
}

std::string MapViewEngine::SelectionText() const {
    const int cw = m_view.m_nCellWidth;
    const int ch = m_view.m_nCellHeight;
    if (m_bSelecting) {
        const Point pointer = m_view.CellAt(m_ptLastMouse);
        return ExtentText(m_rcSelection.left / cw, m_rcSelection.top / ch, pointer.x, pointer.y);
    }
    if (m_bHasSelection)
        return ExtentText(m_rcSelection.left / cw, m_rcSelection.top / ch, m_rcSelection.right / cw,
                          m_rcSelection.bottom / ch);
    return {};
}

std::string MapViewEngine::LineText() const {
    const auto text = [this](Point start, Point end) {
        const int left = m_view.m_nLeftCol;
        const int top = m_view.m_nTopRow;
        return ExtentText(start.x + left, start.y + top, end.x + left, end.y + top);
    };
    if (m_bLineActive) return text(m_ptLineStart, m_ptLineEnd);
    if (m_bPolyActive) return text(m_ptSegStart, m_ptSegEnd);
    return {};
}

std::string MapViewEngine::ZoomText() const { return krav::ZoomText(m_view.m_dZoom); }

std::string MapViewEngine::FlagsText() const { return krav::FlagsText(m_nFlags); }

} // namespace krav
