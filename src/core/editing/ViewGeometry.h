#pragma once

#include "editing/Geometry.h"

namespace krav {

// Scroll codes of the scroll operations, as scroll bars and keys send them.
enum ScrollCode {
    SB_LINEUP = 0,
    SB_LINEDOWN = 1,
    SB_PAGEUP = 2,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5
};

inline constexpr double LOW_ZOOM_LIMIT = 0.25;

// Where the cell under the pointer goes when the view zooms: to the middle of the window (the
// Magnify tool), or it stays under the pointer (the mouse wheel).
enum class ZoomAnchor { Centre, Pointer };

// One notch of a common mouse wheel, in eighths of a degree.
inline constexpr int WHEEL_NOTCH = 120;

// A turn of the mouse wheel as the window reports it: eighths of a degree (y positive away
// from the user, x sideways), where the pointer is, the keys held, and how many lines the
// desktop scrolls a notch. Inverted: the desktop reverses the scroll direction.
struct WheelTurn {
    Point delta;
    Point client;
    bool shift = false;
    bool control = false;
    bool inverted = false;
    int linesPerNotch = 3;
};

// One scroll bar counting cells: range 0..1023, a page of the whole cells that fit.
class ScrollBar {
public:
    int Page() const { return m_page; }
    int Position() const { return m_position; }
    int MaxPosition() const { return m_page >= MAP_SIZE ? 0 : MAP_SIZE - m_page; }
    void SetPage(int page) { m_page = page; }
    void SetPosition(int p) { m_position = p < 0 ? 0 : (p > MaxPosition() ? MaxPosition() : p); }

private:
    int m_page = 0;
    int m_position = 0;
};

// Which cells a map view shows and how big they are: zoom, origin, the end of the visible
// area, the grid switch and the two scroll bars. Pure arithmetic; the engine turns its
// results into repaints and window scrolling.
class ViewGeometry {
public:
    double Zoom() const { return m_dZoom; }
    int CellWidth() const { return m_nCellWidth; }
    int CellHeight() const { return m_nCellHeight; }
    // The visible cells; bottom and right are exclusive, 1024 when the map's edge is on screen.
    int TopRow() const { return m_nTopRow; }
    int LeftCol() const { return m_nLeftCol; }
    int BottomRow() const { return m_nBottomRow; }
    int RightCol() const { return m_nRightCol; }
    Rect VisibleCells() const { return {m_nLeftCol, m_nTopRow, m_nRightCol, m_nBottomRow}; }
    // The map cells the client area shows whole or in part: the visible cells and the column
    // and row cut by the window's right and bottom edges; never past the map's edges.
    Rect ShownCells() const;
    bool IsGridShown() const { return m_bGrid; }
    const ScrollBar& VerticalBar() const { return m_vScroll; }
    const ScrollBar& HorizontalBar() const { return m_hScroll; }

    // A still picture of some cells in a client area of the given size, as krav-lvl render and
    // the tests draw them: the scroll bars are left as Reset sets them.
    static ViewGeometry OfArea(int clientWidth, int clientHeight, double zoom, int cellSize,
                               const Rect& cells, bool grid);

    // The client area's size in pixels.
    int ClientWidth() const { return m_clientWidth; }
    int ClientHeight() const { return m_clientHeight; }
    Rect ClientRect() const { return {0, 0, m_clientWidth, m_clientHeight}; }

    // Setup: zoom 1:1 with grid, origin (0, 0), for a client area of this size.
    void Reset(int clientWidth, int clientHeight);
    bool IsLowZoom() const { return m_dZoom <= LOW_ZOOM_LIMIT; }

    // Both scroll bars' pages for the current client area and cell size.
    void SetScrollRanges();
    // The client area changed size; a view showing the map's bottom or right edge keeps it
    // at the window's edge.
    void OnSize(int clientWidth, int clientHeight);
    // Carries out a scroll code; returns how many rows (columns) the origin moved.
    int ScrollVertical(int code, int thumbPosition);
    int ScrollHorizontal(int code, int thumbPosition);
    // Zooms in or out around the cell under a client point; false when already at the limit.
    bool ZoomAt(int x, int y, bool zoomOut, ZoomAnchor place = ZoomAnchor::Centre);
    // Shows the given cells (the radar window moves the view this way).
    void SetVisibleArea(int left, int top, int right, int bottom);
    // -1 at low zoom (the grid cannot be shown), else whether it is shown.
    int GetGridState() const { return IsLowZoom() ? -1 : (m_bGrid ? 1 : 0); }
    // False at low zoom, where nothing changes.
    bool ToggleGrid();

    // Map pixels (at the current cell size, from the map's corner) and client pixels.
    Rect MapToClient(const Rect& r) const { return r.Offset(-OriginX(), -OriginY()); }
    Rect ClientToMap(const Rect& r) const { return r.Offset(OriginX(), OriginY()); }
    // The map cell under a client point.
    Point CellAt(Point client) const {
        return {client.x / m_nCellWidth + m_nLeftCol, client.y / m_nCellHeight + m_nTopRow};
    }
    // The view-relative cell under a client point (without the origin).
    Point ViewCellAt(Point client) const {
        return {client.x / m_nCellWidth, client.y / m_nCellHeight};
    }
    // The client rectangle of a block of map cells (right and bottom excluded).
    Rect CellsToClient(const Rect& cells) const;

private:
    double m_dZoom = 1.0;
    int m_nCellWidth = 16;
    int m_nCellHeight = 16;
    int m_nTopRow = 0;
    int m_nLeftCol = 0;
    int m_nBottomRow = 0;
    int m_nRightCol = 0;
    bool m_bGrid = true;
    ScrollBar m_vScroll;
    ScrollBar m_hScroll;

    int OriginX() const { return m_nLeftCol * m_nCellWidth; }
    int OriginY() const { return m_nTopRow * m_nCellHeight; }

    int m_clientWidth = 0;
    int m_clientHeight = 0;
};

} // namespace krav
