#pragma once

#include "editing/Geometry.h"

namespace krav {

// Which part of the 1024 x 1024 radar picture the radar window shows (one pixel per cell),
// and the map area the active view shows on it. All coordinates are cells; the client size
// is in pixels, which are cells too.
class RadarViewport {
public:
    // Client size changed: centre the shown part on the view area, kept inside the picture.
    void Resize(int width, int height);
    // The view moved to a new area (resized, zoomed, another view): place the shown part
    // around it. Only the near edges of the picture are respected here.
    void SetViewRect(Rect viewArea);
    // Stores the view area without moving the shown part.
    void SetViewArea(Rect viewArea) { m_view = viewArea; }

    // The view scrolled to new rows (columns). The shown part follows only when the view
    // moves past its middle. Returns how far the shown content moves on the client, in
    // pixels (positive: down or right), so the caller can scroll what is already drawn.
    int ScrollViewRows(int top, int bottom);
    int ScrollViewCols(int left, int right);

    // A click at a client point: the view area, keeping its size, is centred there (inside
    // the map), the shown part is centred on it, and the new view area is returned.
    Rect Click(int px, int py);
    // The same for a map cell (the whole-map radar's clicks and drags).
    Rect CentreOn(Point cell);

    // The shown part: left and top at the client's corner, right and bottom = left + width
    // and top + height.
    const Rect& Shown() const { return m_shown; }
    const Rect& ViewArea() const { return m_view; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The outline of the view area on the client (right and bottom excluded). It lies one
    // pixel outside the area on the right and at the bottom.
    Rect ViewRectOnClient() const;

private:
    // Shown part along one axis, centred on the view and limited to the picture.
    static int CentredStart(int viewStart, int viewEnd, int size);
    static int PlacedStart(int viewStart, int viewEnd, int size);
    // Follows the view along one axis; returns the shown part's start change.
    static int Follow(int& showStart, int& showEnd, int size, int& viewStart, int& viewEnd,
                      int newStart, int newEnd);
    void Centre();

    Rect m_shown;
    Rect m_view;
    int m_width = 0;
    int m_height = 0;
};

} // namespace krav
