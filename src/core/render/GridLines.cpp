#include "render/GridLines.h"

namespace krav {

namespace {

// Lines across one axis. first/end: the visible cells of this axis; crossEnd: where the
// lines stop on the other axis (the clip edge, or the map's edge when it is on screen).
std::vector<GridLine> AxisLines(int clipFrom, int clipTo, int cell, int first, int end,
                                int crossFrom, int crossTo) {
    std::vector<GridLine> lines;
    for (int pos = clipFrom / cell * cell - 1; pos <= clipTo + cell; pos += cell) {
        if (end == 1024 && pos >= (end - first - 1) * cell) {
            // Where the map ends, also for a clip that starts past it.
            lines.push_back({(end - first) * cell + 1, crossFrom, crossTo + 1, true});
            break;
        }
        lines.push_back({pos, crossFrom, crossTo, false});
    }
    return lines;
}

// Where the lines across each axis end: the clip's edge, or the map's when it is on screen.
int MapBottom(const ViewGeometry& view, const Rect& clip) {
    return view.BottomRow() < 1024 ? clip.bottom
                                   : (view.BottomRow() - view.TopRow()) * view.CellHeight();
}
int MapRight(const ViewGeometry& view, const Rect& clip) {
    return view.RightCol() < 1024 ? clip.right
                                  : (view.RightCol() - view.LeftCol()) * view.CellWidth();
}

} // namespace

MapEdges ComputeMapEdges(const ViewGeometry& view, const Rect& clip) {
    MapEdges edges;
    // A pen two pixels wide on the line one past the map's last pixel covers that line and
    // the one before it; the right edge reaches one row further down than the bottom edge.
    if (view.RightCol() == 1024) {
        const int x = (view.RightCol() - view.LeftCol()) * view.CellWidth();
        edges.right = Rect{x, clip.top, x + 2, MapBottom(view, clip) + 1}.Intersected(clip);
    }
    if (view.BottomRow() == 1024) {
        const int y = (view.BottomRow() - view.TopRow()) * view.CellHeight();
        edges.bottom = Rect{clip.left, y, MapRight(view, clip), y + 2}.Intersected(clip);
    }
    return edges;
}

GridLines ComputeGridLines(const ViewGeometry& view, const Rect& clip) {
    const int cw = view.CellWidth();
    const int ch = view.CellHeight();
    const int mapBottom = MapBottom(view, clip);
    const int mapRight = MapRight(view, clip);
    GridLines grid;
    grid.vertical =
        AxisLines(clip.left, clip.right, cw, view.LeftCol(), view.RightCol(), clip.top, mapBottom);
    grid.horizontal =
        AxisLines(clip.top, clip.bottom, ch, view.TopRow(), view.BottomRow(), clip.left, mapRight);
    // The horizontal edge runs to the map's right edge exactly, not one pixel past it.
    if (!grid.horizontal.empty() && grid.horizontal.back().edge)
        --grid.horizontal.back().to;
    return grid;
}

} // namespace krav
