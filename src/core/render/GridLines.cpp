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
            lines.push_back({pos + 2, crossFrom, crossTo + 1, true});
            break;
        }
        lines.push_back({pos, crossFrom, crossTo, false});
    }
    return lines;
}

} // namespace

GridLines ComputeGridLines(const ViewGeometry& view, const Rect& clip) {
    const int cw = view.CellWidth();
    const int ch = view.CellHeight();
    const int mapBottom =
        view.BottomRow() < 1024 ? clip.bottom : (view.BottomRow() - view.TopRow()) * ch;
    const int mapRight =
        view.RightCol() < 1024 ? clip.right : (view.RightCol() - view.LeftCol()) * cw;
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
