#include "editing/ViewGeometry.h"

#include <algorithm>

namespace krav {

namespace {

// Whole cells of the given size that fit in a client extent, at most the whole map.
int CellsThatFit(int extent, int cellSize) {
    return std::min(extent / cellSize, 1024);
}

// Keeps the map's far edge at the window's edge when the window changes size.
void FitAxis(int& first, int& end, ScrollBar& bar, int cells) {
    if (end == 1024) {
        first = 1024 - cells;
        bar.SetPosition(1023);
    } else if (first + cells > 1024) {
        end = 1024;
        first = 1024 - cells;
        bar.SetPosition(1023);
    } else {
        end = first + cells;
    }
}

// One scroll code on one axis; returns the change of the origin.
int ScrollAxis(int& first, int& end, ScrollBar& bar, int page, int code, int thumbPosition) {
    const int oldFirst = first;
    switch (code) {
    case SB_LINEUP:
        if (first < 1)
            return 0;
        --first;
        --end;
        break;
    case SB_LINEDOWN:
        if (end >= 1024)
            return 0;
        ++first;
        ++end;
        break;
    case SB_PAGEUP:
        if (first < 1)
            return 0;
        first = std::max(first - page, 0);
        end = first + page;
        break;
    case SB_PAGEDOWN:
        if (end >= 1024)
            return 0;
        end = std::min(end + page, 1024);
        first = end - page;
        break;
    case SB_THUMBTRACK: {
        const int d = thumbPosition - bar.Position();
        first += d;
        end += d;
        break;
    }
    default:
        return 0;
    }
    const int d = first - oldFirst;
    bar.SetPosition(bar.Position() + d);
    return d;
}

// Places the visible cells of one axis after a zoom so that the anchor cell is the given
// number of cells from the window's edge, as far as the map's edges allow.
void PlaceAxis(int& first, int& end, int anchor, int cellsBefore, int cells) {
    first = std::max(anchor - cellsBefore, 0);
    end = first + cells;
    if (end > 1024) {
        end = 1024;
        first = 1024 - cells;
    }
}

} // namespace

ViewGeometry ViewGeometry::OfArea(int clientWidth, int clientHeight, double zoom, int cellSize,
                                  const Rect& cells, bool grid) {
    ViewGeometry view;
    view.Reset(clientWidth, clientHeight);
    view.m_dZoom = zoom;
    view.m_nCellWidth = view.m_nCellHeight = cellSize;
    view.m_nLeftCol = cells.left;
    view.m_nTopRow = cells.top;
    view.m_nRightCol = cells.right;
    view.m_nBottomRow = cells.bottom;
    view.m_bGrid = grid;
    return view;
}

void ViewGeometry::Reset(int clientWidth, int clientHeight) {
    m_dZoom = 1.0;
    m_nCellWidth = m_nCellHeight = 16;
    m_bGrid = true;
    m_clientWidth = clientWidth;
    m_clientHeight = clientHeight;
    SetScrollRanges();
    m_vScroll.SetPosition(0);
    m_hScroll.SetPosition(0);
    m_nTopRow = m_nLeftCol = 0;
    m_nBottomRow = clientHeight / 16;
    m_nRightCol = clientWidth / 16;
}

void ViewGeometry::SetScrollRanges() {
    if (m_nCellWidth == 0 || m_nCellHeight == 0)
        return;
    m_vScroll.SetPage(m_clientHeight / m_nCellHeight);
    m_hScroll.SetPage(m_clientWidth / m_nCellWidth);
    m_vScroll.SetPosition(m_vScroll.Position());
    m_hScroll.SetPosition(m_hScroll.Position());
}

void ViewGeometry::OnSize(int clientWidth, int clientHeight) {
    m_clientWidth = clientWidth;
    m_clientHeight = clientHeight;
    if (m_nCellWidth == 0 || m_nCellHeight == 0)
        return;
    SetScrollRanges();
    FitAxis(m_nTopRow, m_nBottomRow, m_vScroll, CellsThatFit(clientHeight, m_nCellHeight));
    FitAxis(m_nLeftCol, m_nRightCol, m_hScroll, CellsThatFit(clientWidth, m_nCellWidth));
}

int ViewGeometry::ScrollVertical(int code, int thumbPosition) {
    return ScrollAxis(m_nTopRow, m_nBottomRow, m_vScroll, m_clientHeight / m_nCellHeight, code,
                      thumbPosition);
}

int ViewGeometry::ScrollHorizontal(int code, int thumbPosition) {
    return ScrollAxis(m_nLeftCol, m_nRightCol, m_hScroll, m_clientWidth / m_nCellWidth, code,
                      thumbPosition);
}

bool ViewGeometry::ZoomAt(int x, int y, bool zoomOut, ZoomAnchor place) {
    if (zoomOut ? m_dZoom <= 0.0625 : m_dZoom == 2.0)
        return false;
    const Point anchor = CellAt({x, y});
    if (zoomOut) {
        m_dZoom *= 0.5;
        if (m_dZoom <= LOW_ZOOM_LIMIT)
            m_bGrid = false;
    } else {
        m_dZoom *= 2.0;
        if (m_dZoom > LOW_ZOOM_LIMIT)
            m_bGrid = true; // switched on again whatever it was
    }
    m_nCellWidth = m_nCellHeight = static_cast<int>(16 * m_dZoom);
    const int rows = CellsThatFit(m_clientHeight, m_nCellHeight);
    const int columns = CellsThatFit(m_clientWidth, m_nCellWidth);
    const bool centre = place == ZoomAnchor::Centre;
    PlaceAxis(m_nTopRow, m_nBottomRow, anchor.y, centre ? rows / 2 : y / m_nCellHeight, rows);
    PlaceAxis(m_nLeftCol, m_nRightCol, anchor.x, centre ? columns / 2 : x / m_nCellWidth, columns);
    SetScrollRanges();
    m_vScroll.SetPosition(m_nTopRow);
    m_hScroll.SetPosition(m_nLeftCol);
    return true;
}

void ViewGeometry::SetVisibleArea(int left, int top, int right, int bottom) {
    m_vScroll.SetPosition(m_vScroll.Position() + top - m_nTopRow);
    m_hScroll.SetPosition(m_hScroll.Position() + left - m_nLeftCol);
    m_nLeftCol = left;
    m_nTopRow = top;
    m_nRightCol = right;
    m_nBottomRow = bottom;
}

bool ViewGeometry::ToggleGrid() {
    if (IsLowZoom())
        return false;
    m_bGrid = !m_bGrid;
    return true;
}

Rect ViewGeometry::ShownCells() const {
    const auto cellsMeeting = [](int extent, int cell) { return (extent + cell - 1) / cell; };
    return {m_nLeftCol, m_nTopRow,
            std::min(m_nLeftCol + cellsMeeting(m_clientWidth, m_nCellWidth), MAP_SIZE),
            std::min(m_nTopRow + cellsMeeting(m_clientHeight, m_nCellHeight), MAP_SIZE)};
}

Rect ViewGeometry::CellsToClient(const Rect& cells) const {
    return {(cells.left - m_nLeftCol) * m_nCellWidth, (cells.top - m_nTopRow) * m_nCellHeight,
            (cells.right - m_nLeftCol) * m_nCellWidth, (cells.bottom - m_nTopRow) * m_nCellHeight};
}

} // namespace krav
