#pragma once

#include <string>

namespace krav {

// Texts of the status bar panes that describe a map view. Positions are in map cells; any
// position, even one past the map or negative, is named by a valid sector.

// The cell under the pointer, e.g. "   0,    0 :: A1 ".
std::string CursorText(int column, int row);
// The visible area, right and bottom being the column and row just past it.
std::string VisibleAreaText(int left, int top, int right, int bottom);
// The extent of a selection or of the line being drawn, from (x0, y0) to (x1, y1).
std::string ExtentText(int x0, int y0, int x1, int y1);
// "Zoom: 1:1" and the like for the six zoom levels, "Zoom: OOPS!" for any other factor.
std::string ZoomText(double zoom);
// The live flag count, left-aligned in four characters.
std::string FlagsText(int flags);

} // namespace krav
