// The Select tool: dragging out a selection, widening it to whole objects, the auto-scroll
// timers, and what goes when another tool is chosen.
#include "editing/SelectionTool.h"

#include "editing/FlagPolicy.h"
#include "editing/MapViewEngine.h"
#include "editing/ObjectGeometry.h"

#include <algorithm>

namespace krav {

namespace {

// Auto-scroll: slow page steps with the pointer outside the window, quick line steps while
// it is within one cell of the edge.
constexpr int PAGE_SCROLL_MS = 300;
constexpr int LINE_SCROLL_MS = 55;

// How far either side of the selection's edges is repainted when its outline goes or comes.
constexpr int OUTLINE_MARGIN = 7;

Rect Union(const Rect& a, const Rect& b) {
    if (b.IsEmpty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

Rect ClipToMap(const Rect& cells) {
    return {std::max(cells.left, 0), std::max(cells.top, 0), std::min(cells.right, MAP_SIZE),
            std::min(cells.bottom, MAP_SIZE)};
}

} // namespace

bool SelectionTool::HasSelection() const {
    return m_view.m_bSelecting || (m_view.m_bHasSelection && !m_view.m_bFloating);
}

bool SelectionTool::IsFloating() const {
    return m_view.m_bFloating;
}

void SelectionTool::Press(int flags, Point client) {
    MapViewEngine& view = m_view;
    const bool inside =
        (view.m_bHasSelection || view.m_bFloating) && SelectionClient().Contains(client);
    if (view.m_bFloating) {
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
    if (view.m_bHasSelection)
        RemoveSelection();

    const ViewGeometry& geometry = view.Geometry();
    view.m_bSelecting = true;
    view.m_bLeftDown = true;
    m_ptAnchor = m_ptCorner = SnapToCell(client);
    view.m_rcSelection =
        geometry.ClientToMap({m_ptAnchor.x, m_ptAnchor.y, m_ptAnchor.x + geometry.m_nCellWidth,
                              m_ptAnchor.y + geometry.m_nCellHeight});
    InvalidateBand();
    view.Host().SetCapture(true);
}

void SelectionTool::Move(Point client) {
    if (m_view.m_bSelecting) {
        if (m_view.m_bRightDown)
            return;
        const Point corner = SnapToCell(client);
        if (corner != m_ptCorner) {
            InvalidateBand();
            m_ptCorner = corner;
            InvalidateBand();
        }
        UpdateScrollTimer(TIMER_SELECT_SCROLL, m_ptCorner);
    } else if (m_view.m_bFloating) {
        MoveFloating(client);
    }
}

void SelectionTool::FinishSelecting() {
    MapViewEngine& view = m_view;
    view.Host().SetCapture(false);
    StopScrollTimer();
    view.m_bLeftDown = view.m_bSelecting = false;
    InvalidateBand();

    // Both corners are snapped down, so the cell under the pointer is not included.
    const Rect band = Rect{m_ptAnchor.x, m_ptAnchor.y, m_ptCorner.x, m_ptCorner.y}.Normalized();
    const ViewGeometry& geometry = view.Geometry();
    const Rect map = geometry.ClientToMap(band);
    const Rect clipped{std::max(map.left, 0), std::max(map.top, 0),
                       std::min(map.right, MAP_SIZE * geometry.m_nCellWidth),
                       std::min(map.bottom, MAP_SIZE * geometry.m_nCellHeight)};
    if (clipped.IsEmpty()) { // a click, or a drag of less than a cell
        view.m_rcSelection = {};
        return;
    }
    view.m_rcSelection = clipped;
    while (GrowToObjects()) {
    }
    view.m_bHasSelection = true;
    InvalidateFrame(SelectionClient(), OUTLINE_MARGIN);
}

bool SelectionTool::GrowToObjects() {
    MapViewEngine& view = m_view;
    const Rect cells = CellsOf(view.m_rcSelection);
    if (cells.IsEmpty())
        return false;

    // Objects can only reach in across the border, so only its cells need looking at.
    Rect grown = cells;
    const auto takeObjectAt = [&](int x, int y) {
        const Cell value = view.Document().GetCell(y, x);
        if (IsObjectCell(value))
            grown = Union(grown, ObjectFootprint(x, y, value));
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

    const int cw = view.Geometry().m_nCellWidth;
    const int ch = view.Geometry().m_nCellHeight;
    view.m_rcSelection = {grown.left * cw, grown.top * ch, grown.right * cw, grown.bottom * ch};
    return true;
}

void SelectionTool::Tick(int timer, Point pointer) {
    if (timer == TIMER_SELECT_SCROLL && m_view.m_bSelecting) {
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
    } else if (timer == TIMER_FLOAT_SCROLL && m_view.m_bFloating) {
        // The block stays on its map cells; the next move measures from where the map went.
        const Point moved = ScrollTowards(pointer);
        m_ptDrag = {m_ptDrag.x + moved.x, m_ptDrag.y + moved.y};
    }
}

void SelectionTool::LeaveSelectTool() {
    CancelSelecting();
    DiscardFloating(); // not dropped: a lifted block stays lifted until Undo
    if (m_view.m_bHasSelection)
        RemoveSelection();
    m_view.m_rcSelection = {};
}

void SelectionTool::RemoveSelection() {
    InvalidateFrame(SelectionClient(), OUTLINE_MARGIN);
    m_view.m_bHasSelection = false;
    m_view.m_rcSelection = {};
}

void SelectionTool::CancelSelecting() {
    if (!m_view.m_bSelecting)
        return;
    InvalidateBand();
    StopScrollTimer();
    m_view.Host().SetCapture(false);
    m_view.m_bSelecting = m_view.m_bLeftDown = false;
    m_view.m_rcSelection = {};
}

// --- auto-scroll ------------------------------------------------------------------------------

void SelectionTool::UpdateScrollTimer(int timer, Point client) {
    const ViewGeometry& geometry = m_view.Geometry();
    const Rect area = geometry.ClientRect();
    const Rect inner{geometry.m_nCellWidth, geometry.m_nCellHeight,
                     area.right - geometry.m_nCellWidth, area.bottom - geometry.m_nCellHeight};
    const int period =
        !area.Contains(client) ? PAGE_SCROLL_MS : (!inner.Contains(client) ? LINE_SCROLL_MS : 0);
    if (period == 0) {
        StopScrollTimer();
        return;
    }
    // Restarting a running timer on every move would hold its ticks back.
    if (timer == m_nScrollTimer && period == m_nScrollPeriod)
        return;
    StopScrollTimer();
    m_view.Host().StartTimer(timer, period);
    m_nScrollTimer = timer;
    m_nScrollPeriod = period;
}

void SelectionTool::StopScrollTimer() {
    if (m_nScrollTimer == 0)
        return;
    m_view.Host().StopTimer(m_nScrollTimer);
    m_nScrollTimer = m_nScrollPeriod = 0;
}

Point SelectionTool::ScrollTowards(Point pointer) {
    MapViewEngine& view = m_view;
    const ViewGeometry& geometry = view.Geometry();
    const Rect area = geometry.ClientRect();
    const int cw = geometry.m_nCellWidth;
    const int ch = geometry.m_nCellHeight;
    const int topRow = geometry.m_nTopRow;
    const int leftColumn = geometry.m_nLeftCol;

    // On or past an edge a page, within one cell of it a line; vertical first.
    if (pointer.y <= area.top)
        view.OnVScroll(SB_PAGEUP);
    else if (pointer.y <= area.top + ch)
        view.OnVScroll(SB_LINEUP);
    else if (pointer.y >= area.bottom)
        view.OnVScroll(SB_PAGEDOWN);
    else if (pointer.y >= area.bottom - ch)
        view.OnVScroll(SB_LINEDOWN);

    if (pointer.x <= area.left)
        view.OnHScroll(SB_PAGEUP);
    else if (pointer.x <= area.left + cw)
        view.OnHScroll(SB_LINEUP);
    else if (pointer.x >= area.right)
        view.OnHScroll(SB_PAGEDOWN);
    else if (pointer.x >= area.right - cw)
        view.OnHScroll(SB_LINEDOWN);

    return {(leftColumn - geometry.m_nLeftCol) * cw, (topRow - geometry.m_nTopRow) * ch};
}

// --- geometry and repainting ------------------------------------------------------------------

Rect SelectionTool::SelectionClient() const {
    return m_view.Geometry().MapToClient(m_view.m_rcSelection);
}

Rect SelectionTool::CellsOf(const Rect& mapPixels) const {
    const int cw = m_view.Geometry().m_nCellWidth;
    const int ch = m_view.Geometry().m_nCellHeight;
    return {mapPixels.left / cw, mapPixels.top / ch, mapPixels.right / cw, mapPixels.bottom / ch};
}

Point SelectionTool::SnapToCell(Point client) const {
    const int cw = m_view.Geometry().m_nCellWidth;
    const int ch = m_view.Geometry().m_nCellHeight;
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
