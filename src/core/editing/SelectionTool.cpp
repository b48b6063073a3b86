// The Select tool: dragging out a selection, widening it to whole objects, the auto-scroll
// timers, and what goes when another tool is chosen.
#include "editing/SelectionTool.h"

#include "editing/FlagPolicy.h"
#include "editing/ObjectGeometry.h"
#include "editing/ToolContext.h"

#include <algorithm>

namespace krav {

namespace {

// Auto-scroll: slow page steps with the pointer outside the window, quick line steps while
// it is within one cell of the edge.
constexpr int PAGE_SCROLL_MS = 300;
constexpr int LINE_SCROLL_MS = 55;

// How far either side of the selection's edges is repainted when its outline goes or comes.
constexpr int OUTLINE_MARGIN = 7;

// The map cell whose top-left corner a client point snapped to a cell corner is (it may lie
// left of or above the window).
Point CornerCell(const ViewGeometry& view, Point client) {
    return {FloorDiv(client.x, view.CellWidth()) + view.LeftCol(),
            FloorDiv(client.y, view.CellHeight()) + view.TopRow()};
}

} // namespace

bool SelectionTool::HasSelection() const {
    return m_bSelecting || (m_bHasSelection && !m_bFloating);
}

bool SelectionTool::IsFloating() const {
    return m_bFloating;
}

bool SelectionTool::HoldsLeftRelease() const {
    return (m_bSelecting && !m_view.IsHeld(MouseButton::Right)) || m_bFloating;
}

void SelectionTool::Press(MouseButton button, const PointerEvent& event) {
    if (button != MouseButton::Left)
        return;
    const int flags = event.flags;
    const Point client = event.client;
    const bool inside = (m_bHasSelection || m_bFloating) && SelectionClient().Contains(client);
    if (m_bFloating) {
        // A press beside a floating block only puts it down.
        if (inside)
            GrabFloating(flags, client);
        else
            DropSelection();
        return;
    }
    if (inside) {
        StartMove(flags, client);
        return;
    }
    if (m_bHasSelection)
        RemoveSelection();

    const ViewGeometry& geometry = m_view.Geometry();
    m_bSelecting = true;
    m_view.SetHeld(MouseButton::Left, true);
    m_ptAnchor = m_ptCorner = SnapToCell(client);
    const Point cell = geometry.CellAt(m_ptAnchor);
    m_rcSelection = {cell.x, cell.y, cell.x + 1, cell.y + 1};
    InvalidateBand();
    m_view.Host().SetCapture(true);
}

void SelectionTool::Move(const PointerEvent& event) {
    if (!m_view.IsHeld(MouseButton::Left))
        return;
    const Point client = event.client;
    if (m_bSelecting) {
        if (m_view.IsHeld(MouseButton::Right))
            return;
        const Point corner = SnapToCell(client);
        if (corner != m_ptCorner) {
            InvalidateBand();
            m_ptCorner = corner;
            InvalidateBand();
        }
        UpdateScrollTimer(ViewTimer::SelectScroll, m_ptCorner);
    } else if (m_bFloating) {
        MoveFloating(client);
    }
}

bool SelectionTool::Release(MouseButton button, const PointerEvent&) {
    if (button != MouseButton::Left || !HoldsLeftRelease())
        return false;
    if (m_bSelecting)
        FinishSelecting();
    else
        EndDrag();
    return true;
}

void SelectionTool::FinishSelecting() {
    m_view.Host().SetCapture(false);
    StopScrollTimer();
    m_view.SetHeld(MouseButton::Left, false);
    m_bSelecting = false;
    InvalidateBand();

    // Both corners are snapped down, so the cell under the pointer is not included.
    const Point anchor = CornerCell(m_view.Geometry(), m_ptAnchor);
    const Point corner = CornerCell(m_view.Geometry(), m_ptCorner);
    const Rect clipped = ClipToMap(Rect{anchor.x, anchor.y, corner.x, corner.y}.Normalized());
    if (clipped.IsEmpty()) { // a click, or a drag of less than a cell
        m_rcSelection = {};
        return;
    }
    m_rcSelection = clipped;
    while (GrowToObjects()) {
    }
    m_bHasSelection = true;
    InvalidateFrame(SelectionClient(), OUTLINE_MARGIN);
}

bool SelectionTool::GrowToObjects() {
    const Rect cells = m_rcSelection;
    if (cells.IsEmpty())
        return false;

    // Objects can only reach in across the border, so only its cells need looking at.
    Rect grown = cells;
    const auto takeObjectAt = [&](int x, int y) {
        const Cell value = m_view.Document().GetCell(y, x);
        if (IsObjectCell(value))
            grown = grown.United(ObjectFootprint(x, y, value));
    };
    for (int x = cells.left; x < cells.right; ++x) {
        takeObjectAt(x, cells.top);
        takeObjectAt(x, cells.bottom - 1);
    }
    for (int y = cells.top + 1; y < cells.bottom - 1; ++y) {
        takeObjectAt(cells.left, y);
        takeObjectAt(cells.right - 1, y);
    }
    grown = ClipToMap(grown); // a broken object in a file may reach past the edge
    if (grown == cells)
        return false;

    m_rcSelection = grown;
    return true;
}

void SelectionTool::Tick(ViewTimer timer, const PointerEvent& event) {
    const Point pointer = event.client;
    if (timer == ViewTimer::SelectScroll && m_bSelecting) {
        const Rect before =
            Rect{m_ptAnchor.x, m_ptAnchor.y, m_ptCorner.x, m_ptCorner.y}.Normalized();
        InvalidateBand();
        const Point moved = ScrollTowards(pointer);
        if (moved == Point{})
            return;
        // The anchor stays on its map cell; the pixels of the old band went with the contents.
        m_ptAnchor = {m_ptAnchor.x + moved.x, m_ptAnchor.y + moved.y};
        InvalidateFrame(before.Offset(moved.x, moved.y), 2);
        InvalidateBand();
    } else if (timer == ViewTimer::FloatScroll && m_bFloating) {
        // The block stays on its map cells; the next move measures from where the map went.
        const Point moved = ScrollTowards(pointer);
        m_ptDrag = {m_ptDrag.x + moved.x, m_ptDrag.y + moved.y};
    }
}

void SelectionTool::Leave() {
    CancelSelecting();
    DiscardFloating(); // not dropped: a lifted block stays lifted until Undo
    if (m_bHasSelection)
        RemoveSelection();
    m_rcSelection = {};
}

void SelectionTool::Zoomed(const ViewGeometry& before, Point) {
    const ViewGeometry& after = m_view.Geometry();
    if (m_bSelecting) {
        // The band's corners are cell corners; they stay on the same ones.
        const auto move = [&](Point& corner) {
            const Point cell = CornerCell(before, corner);
            const Rect client = after.CellsToClient({cell.x, cell.y, cell.x, cell.y});
            corner = {client.left, client.top};
        };
        move(m_ptAnchor);
        move(m_ptCorner);
        UpdateScrollTimer(ViewTimer::SelectScroll, m_ptCorner);
    }
    if (m_bFloating && m_view.IsHeld(MouseButton::Left)) {
        // The drag point keeps its place on the map, to the pixel as far as the zoom allows.
        const auto scale = [](int client, int firstBefore, int cellBefore, int firstAfter,
                              int cellAfter) {
            const int mapPixel = client + firstBefore * cellBefore;
            return FloorDiv(mapPixel * cellAfter, cellBefore) - firstAfter * cellAfter;
        };
        m_ptDrag = {scale(m_ptDrag.x, before.LeftCol(), before.CellWidth(), after.LeftCol(),
                          after.CellWidth()),
                    scale(m_ptDrag.y, before.TopRow(), before.CellHeight(), after.TopRow(),
                          after.CellHeight())};
    }
}

void SelectionTool::RemoveSelection() {
    InvalidateFrame(SelectionClient(), OUTLINE_MARGIN);
    m_bHasSelection = false;
    m_rcSelection = {};
}

void SelectionTool::CancelSelecting() {
    if (!m_bSelecting)
        return;
    InvalidateBand();
    StopScrollTimer();
    m_view.Host().SetCapture(false);
    m_bSelecting = false;
    m_view.SetHeld(MouseButton::Left, false);
    m_rcSelection = {};
}

// --- auto-scroll ------------------------------------------------------------------------------

void SelectionTool::UpdateScrollTimer(ViewTimer timer, Point client) {
    const ViewGeometry& geometry = m_view.Geometry();
    const Rect area = geometry.ClientRect();
    const Rect inner{geometry.CellWidth(), geometry.CellHeight(), area.right - geometry.CellWidth(),
                     area.bottom - geometry.CellHeight()};
    const int period =
        !area.Contains(client) ? PAGE_SCROLL_MS : (!inner.Contains(client) ? LINE_SCROLL_MS : 0);
    if (period == 0) {
        StopScrollTimer();
        return;
    }
    // Restarting a running timer on every move would hold its ticks back.
    if (timer == m_scrollTimer && period == m_nScrollPeriod)
        return;
    StopScrollTimer();
    m_view.Host().StartTimer(timer, period);
    m_scrollTimer = timer;
    m_nScrollPeriod = period;
}

void SelectionTool::StopScrollTimer() {
    if (!m_scrollTimer)
        return;
    m_view.Host().StopTimer(*m_scrollTimer);
    m_scrollTimer.reset();
    m_nScrollPeriod = 0;
}

Point SelectionTool::ScrollTowards(Point pointer) {
    const ViewGeometry& geometry = m_view.Geometry();
    const Rect area = geometry.ClientRect();
    const int cw = geometry.CellWidth();
    const int ch = geometry.CellHeight();
    const int topRow = geometry.TopRow();
    const int leftColumn = geometry.LeftCol();

    // On or past an edge a page, within one cell of it a line; vertical first.
    if (pointer.y <= area.top)
        m_view.ScrollRows(SB_PAGEUP);
    else if (pointer.y <= area.top + ch)
        m_view.ScrollRows(SB_LINEUP);
    else if (pointer.y >= area.bottom)
        m_view.ScrollRows(SB_PAGEDOWN);
    else if (pointer.y >= area.bottom - ch)
        m_view.ScrollRows(SB_LINEDOWN);

    if (pointer.x <= area.left)
        m_view.ScrollColumns(SB_PAGEUP);
    else if (pointer.x <= area.left + cw)
        m_view.ScrollColumns(SB_LINEUP);
    else if (pointer.x >= area.right)
        m_view.ScrollColumns(SB_PAGEDOWN);
    else if (pointer.x >= area.right - cw)
        m_view.ScrollColumns(SB_LINEDOWN);

    return {(leftColumn - geometry.LeftCol()) * cw, (topRow - geometry.TopRow()) * ch};
}

// --- geometry and repainting ------------------------------------------------------------------

Rect SelectionTool::SelectionRect() const {
    const int cw = m_view.Geometry().CellWidth();
    const int ch = m_view.Geometry().CellHeight();
    return {m_rcSelection.left * cw, m_rcSelection.top * ch, m_rcSelection.right * cw,
            m_rcSelection.bottom * ch};
}

Rect SelectionTool::SelectionClient() const {
    return m_view.Geometry().CellsToClient(m_rcSelection);
}

Point SelectionTool::SnapToCell(Point client) const {
    const int cw = m_view.Geometry().CellWidth();
    const int ch = m_view.Geometry().CellHeight();
    return {client.x / cw * cw, client.y / ch * ch};
}

void SelectionTool::InvalidateFrame(const Rect& client, int margin) {
    ViewHost& host = m_view.Host();
    const Rect outer = client.Inflated(margin);
    if (client.Width() <= 2 * margin || client.Height() <= 2 * margin) {
        host.InvalidateClient(outer, true);
        return;
    }
    // Four strips rather than the whole rectangle: what lies inside has not changed.
    host.InvalidateClient({outer.left, outer.top, outer.right, client.top + margin}, true);
    host.InvalidateClient({outer.left, client.bottom - margin, outer.right, outer.bottom}, true);
    host.InvalidateClient(
        {outer.left, client.top + margin, client.left + margin, client.bottom - margin}, true);
    host.InvalidateClient(
        {client.right - margin, client.top + margin, outer.right, client.bottom - margin}, true);
}

void SelectionTool::InvalidateBand() {
    InvalidateFrame(Rect{m_ptAnchor.x, m_ptAnchor.y, m_ptCorner.x, m_ptCorner.y}.Normalized(), 2);
}

void SelectionTool::InvalidateFloating() {
    // The block is drawn with a frame one pixel outside its cells.
    m_view.Host().InvalidateClient(SelectionClient().Inflated(1), true);
}

} // namespace krav
