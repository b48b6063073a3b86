#include "editing/FreehandTool.h"

#include "editing/FlagPolicy.h"
#include "editing/MapViewEngine.h"

#include <cstdint>

namespace krav {

namespace {

constexpr const char* FLAG_LIMIT_MESSAGE = "To many flags!\nYou can't add anymore.";
constexpr int PAINT_SCROLL_PERIOD_MS = 55;

bool InMap(Point cell) {
    return cell.x >= 0 && cell.x < MAP_SIZE && cell.y >= 0 && cell.y < MAP_SIZE;
}

int FloorDiv(int a, int b) {
    return a / b - (a % b != 0 && a < 0 ? 1 : 0);
}

// The cell under a pointer that may lie left of or above the window. Rounding down keeps
// such a pointer on the cell beyond the visible area instead of the first visible one.
Point CellBeyond(const ViewGeometry& view, Point client) {
    return {FloorDiv(client.x, view.m_nCellWidth) + view.m_nLeftCol,
            FloorDiv(client.y, view.m_nCellHeight) + view.m_nTopRow};
}

} // namespace

void FreehandTool::Press(Point client, int tile, int tool) {
    const Point cell = m_view.Geometry().CellAt(client);
    if (!InMap(cell))
        return;
    if (!PaintStep(cell, tile, tool, true)) {
        m_view.ShowMessage(FLAG_LIMIT_MESSAGE);
        m_view.m_pPending.clear();
        return;
    }
    m_view.Host().SetCapture(true);
}

void FreehandTool::Move(Point client, int tool) {
    ViewHost& host = m_view.Host();
    host.StopTimer(TIMER_PAINT_SCROLL);
    if (!m_view.Geometry().ClientRect().Contains(client)) {
        // The ticks paint and scroll while the pointer stays out there.
        host.StartTimer(TIMER_PAINT_SCROLL, PAINT_SCROLL_PERIOD_MS);
        return;
    }
    const Point cell = m_view.Geometry().CellAt(client);
    if (InMap(cell) && !PaintStep(cell, HeldTile(), tool, false))
        EndStrokeAtFlagLimit();
}

void FreehandTool::Tick(Point pointer, int tool) {
    // A stroke ended some other way (Escape, a tool change) leaves nothing to paint.
    if (!IsFreehandTool(tool) || !(m_view.m_bLeftDown || m_view.m_bRightDown)) {
        m_view.Host().StopTimer(TIMER_PAINT_SCROLL);
        return;
    }
    const Rect client = m_view.Geometry().ClientRect();
    const Point cell = CellBeyond(m_view.Geometry(), pointer);
    if (InMap(cell) && !PaintStep(cell, HeldTile(), tool, false)) {
        EndStrokeAtFlagLimit();
        return;
    }
    // One line per tick each way brings the cell just painted into view.
    if (pointer.y < client.top)
        m_view.OnVScroll(SB_LINEUP);
    else if (pointer.y > client.bottom)
        m_view.OnVScroll(SB_LINEDOWN);
    if (pointer.x < client.left)
        m_view.OnHScroll(SB_LINEUP);
    else if (pointer.x > client.right)
        m_view.OnHScroll(SB_LINEDOWN);
}

void FreehandTool::PickTile(Point client) {
    const Point cell = m_view.Geometry().CellAt(client);
    if (!InMap(cell))
        return;
    const Cell value = m_view.Document().GetCell(cell.y, cell.x);
    const int tile = static_cast<std::int16_t>(value);
    // Only plain tiles can be painted with, so objects and empty cells are no pick.
    if (tile >= 500 || value == EMPTY_CELL)
        return;
    const bool fore = m_view.m_bLeftDown;
    (fore ? m_view.m_nForeTile : m_view.m_nBackTile) = tile;
    m_view.Host().SetCurrentTile(tile, fore);
}

bool FreehandTool::PaintStep(Point cell, int tile, int tool, bool press) {
    const int column = cell.x;
    const int row = cell.y;
    CKRAVDoc& doc = m_view.Document();
    ChangeList& pending = m_view.m_pPending;
    const Cell old = doc.GetCell(row, column);
    const Cell value = tool == ID_TOOL_ERASER ? EMPTY_CELL : static_cast<Cell>(tile);

    // Looking at the old cell first lets a flag always replace a flag.
    ReleaseFlag(m_view.m_nFlags, old);
    if (!press)
        m_view.History().RecordChange(pending, column, row, old);
    if (!AcquireFlag(m_view.m_nFlags, value)) {
        if (!press)
            pending.pop_back();
        return false;
    }
    // No fragment of an object may stay behind.
    if (IsObjectCell(old))
        m_view.EraseObject(column, row, old, pending);
    doc.SetCell(row, column, value);
    if (press)
        m_view.History().RecordChange(pending, column, row, old);
    if (press || value != old)
        m_view.InvalidateCell(row, column);
    m_view.CellChanged(column, row);
    return true;
}

void FreehandTool::EndStrokeAtFlagLimit() {
    ViewHost& host = m_view.Host();
    host.StopTimer(TIMER_PAINT_SCROLL);
    m_view.ShowMessage(FLAG_LIMIT_MESSAGE);
    m_view.PushPending();
    // Either button's stroke ends here; the next press starts a new one.
    m_view.m_bLeftDown = m_view.m_bRightDown = false;
    host.SetCapture(false);
}

int FreehandTool::HeldTile() const {
    return m_view.m_bLeftDown ? m_view.m_nForeTile : m_view.m_nBackTile;
}

} // namespace krav
