#include "editing/FreehandTool.h"

#include "document/Messages.h"
#include "editing/FlagPolicy.h"
#include "editing/LineShape.h"
#include "editing/ToolContext.h"
#include "editing/ToolIds.h"

#include <utility>

namespace krav {

namespace {

constexpr int PAINT_SCROLL_PERIOD_MS = 55;

bool InMap(Point cell) {
    return MAP_CELL_RECT.Contains(cell);
}

} // namespace

// A line clipped to the map has at most one cell per column or per row.
FreehandTool::FreehandTool(ToolContext& view) : m_view(view), m_line(MAP_SIZE) {}

bool FreehandTool::IsCurrent() const {
    return IsFreehandTool(m_view.CurrentTool());
}

bool FreehandTool::StrokeHeld() const {
    return m_view.IsHeld(MouseButton::Left) || m_view.IsHeld(MouseButton::Right);
}

void FreehandTool::Press(MouseButton button, const PointerEvent& event) {
    m_lastCell = event.cell;
    if (!InMap(event.cell))
        return;
    if (!PaintStep(event.cell, m_view.TileOf(button), true)) {
        m_view.ShowMessage(messages::FLAG_LIMIT);
        m_view.PendingChanges().clear();
        return;
    }
    m_view.Host().SetCapture(true);
}

void FreehandTool::Move(const PointerEvent& event) {
    if (!StrokeHeld())
        return;
    ViewHost& host = m_view.Host();
    host.StopTimer(ViewTimer::PaintScroll);
    if (!m_view.Geometry().ClientRect().Contains(event.client)) {
        // The ticks paint and scroll while the pointer stays out there.
        host.StartTimer(ViewTimer::PaintScroll, PAINT_SCROLL_PERIOD_MS);
        return;
    }
    const std::optional<Point> from = std::exchange(m_lastCell, event.cell);
    if (!PaintLine(from.value_or(event.cell), event.cell, HeldTile()))
        EndStrokeAtFlagLimit();
}

bool FreehandTool::Release(MouseButton, const PointerEvent&) {
    m_lastCell.reset();
    return false;
}

void FreehandTool::Tick(ViewTimer, const PointerEvent& event) {
    // A stroke ended some other way (Escape, a tool change) leaves nothing to paint.
    if (!IsCurrent() || !StrokeHeld()) {
        m_view.Host().StopTimer(ViewTimer::PaintScroll);
        return;
    }
    if (InMap(event.cell)) {
        // The next move goes on from here; a cell off the map would only bend its line.
        m_lastCell = event.cell;
        if (!PaintStep(event.cell, HeldTile(), false)) {
            EndStrokeAtFlagLimit();
            return;
        }
    }
    // One line per tick each way brings the cell just painted into view.
    const Rect client = m_view.Geometry().ClientRect();
    const Point pointer = event.client;
    if (pointer.y < client.top)
        m_view.ScrollRows(SB_LINEUP);
    else if (pointer.y > client.bottom)
        m_view.ScrollRows(SB_LINEDOWN);
    if (pointer.x < client.left)
        m_view.ScrollColumns(SB_LINEUP);
    else if (pointer.x > client.right)
        m_view.ScrollColumns(SB_LINEDOWN);
}

void FreehandTool::Escape() {
    m_lastCell.reset();
    if (IsCurrent() && StrokeHeld())
        m_view.EndStroke();
}

void FreehandTool::Enter() {
    // A button held since another tool's press continues no line of ours.
    m_lastCell.reset();
}

bool FreehandTool::PaintStep(Point cell, int tile, bool press) {
    const int column = cell.x;
    const int row = cell.y;
    CKRAVDoc& doc = m_view.Document();
    ChangeList& pending = m_view.PendingChanges();
    int& flags = m_view.Flags();
    const Cell old = doc.GetCell(row, column);
    const Cell value =
        m_view.CurrentTool() == ID_TOOL_ERASER ? EMPTY_CELL : static_cast<Cell>(tile);

    // Looking at the old cell first lets a flag always replace a flag.
    ReleaseFlag(flags, old);
    if (!press)
        m_view.History().RecordChange(pending, column, row, old);
    if (!AcquireFlag(flags, value)) {
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

bool FreehandTool::PaintLine(Point from, Point to, int tile) {
    if (from == to)
        return !InMap(to) || PaintStep(to, tile, false);
    // The line's value is unused: each cell gets the tool's own.
    const int count =
        LineShape(0).Rasterize(m_line.data(), static_cast<int>(m_line.size()), MAP_SIZE, MAP_SIZE,
                               from.x, from.y, to.x, to.y, false, false);
    Point last = from;
    for (int i = 0; i < count; ++i) {
        last = {m_line[i].column, m_line[i].row};
        // The previous event painted the first cell.
        if (last != from && !PaintStep(last, tile, false))
            return false;
    }
    // Over hundreds of cells the rasterizer's rounding can stop a row or column short of the
    // pointer, whose cell must end the line.
    if (last != to && InMap(to))
        return PaintStep(to, tile, false);
    return true;
}

void FreehandTool::EndStrokeAtFlagLimit() {
    m_view.ShowMessage(messages::FLAG_LIMIT);
    // Either button's stroke ends here; the next press starts a new one.
    m_view.EndStroke();
    m_view.SetHeld(MouseButton::Left, false);
    m_view.SetHeld(MouseButton::Right, false);
}

int FreehandTool::HeldTile() const {
    return m_view.TileOf(m_view.IsHeld(MouseButton::Left) ? MouseButton::Left : MouseButton::Right);
}

} // namespace krav
