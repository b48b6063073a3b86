#pragma once

#include "editing/ViewGeometry.h"

#include <vector>

namespace krav {

// One line of the grid: at pos (x for vertical lines, y for horizontal ones), from..to along
// the other axis (to excluded). The map edge is a white line two pixels wide.
struct GridLine {
    int pos;
    int from;
    int to;
    bool edge;
    friend bool operator==(const GridLine&, const GridLine&) = default;
};

struct GridLines {
    std::vector<GridLine> vertical;
    std::vector<GridLine> horizontal;
};

// The grid lines to draw over a clip rectangle: each lies on the last pixel column (row) of
// a cell, and the white edge just outside the map's last cell, only when it is on screen.
GridLines ComputeGridLines(const ViewGeometry& view, const Rect& clip);

// The map's edge over a clip rectangle, as the grid's edge lines cover it: two pixels just
// past the map's last column, down to the map's bottom edge, and two just past its last row,
// across to its right edge. Empty where that edge is not on screen.
struct MapEdges {
    Rect right;
    Rect bottom;
};
MapEdges ComputeMapEdges(const ViewGeometry& view, const Rect& clip);

} // namespace krav
