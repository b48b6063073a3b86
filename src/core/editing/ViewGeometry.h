#pragma once

#include "editing/Geometry.h"

namespace krav {

// Scroll codes of the scroll operations, as scroll bars and keys send them.
enum ScrollCode { SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5 };

inline constexpr double LOW_ZOOM_LIMIT = 0.25;

// Where the cell under the pointer goes when the view zooms: to the middle of the window (the
// Magnify tool), or it stays under the pointer (the mouse wheel).
enum class ZoomAnchor { Centre, Pointer };

// One scroll bar counting cells: range 0..1023, a page of the whole cells that fit.
struct ScrollBar {
    int page = 0;
    int position = 0;

    int MaxPosition() const { return page >= 1024 ? 0 : 1024 - page; }
    void SetPosition(int p) { position = p < 0 ? 0 : (p > MaxPosition() ? MaxPosition() : p); }
};

// Which cells a map view shows and how big they are: zoom, origin, the end of the visible
// area, the grid switch and the two scroll bars. Pure arithmetic; the engine turns its
// results into repaints and window scrolling.
class ViewGeometry {
public:
    double m_dZoom = 1.0;
    int m_nCellWidth = 16;
    int m_nCellHeight = 16;
    int m_nTopRow = 0;
    int m_nLeftCol = 0;
    int m_nBottomRow = 0; // exclusive; 1024 when the map's bottom edge is on screen
    int m_nRightCol = 0;  // exclusive; 1024 when the map's right edge is on screen
    bool m_bGrid = true;
    ScrollBar m_vScroll;
    ScrollBar m_hScroll;

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
    Point ViewCellAt(Point client) const { return {client.x / m_nCellWidth, client.y / m_nCellHeight}; }
    // The client rectangle of a block of map cells (right and bottom excluded).
    Rect CellsToClient(const Rect& cells) const;

private:
    int OriginX() const { return m_nLeftCol * m_nCellWidth; }
    int OriginY() const { return m_nTopRow * m_nCellHeight; }

    int m_clientWidth = 0;
    int m_clientHeight = 0;
};

} // namespace krav
