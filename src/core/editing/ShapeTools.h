#pragma once

#include "editing/Geometry.h"
#include "editing/TileShape.h"
#include "editing/UndoRecords.h"

#include <memory>
#include <span>
#include <vector>

namespace krav {

class MapViewEngine;

// Cells one shape may have; larger shapes are cut to their first cells.
inline constexpr int MAX_SHAPE_POINTS = 100000;

// Line, Connected Line, Rectangle, Filled Rectangle, Ellipse and Filled Ellipse: previewed
// while dragged (the preview never touches the map), written on release as one undo step.
// The line tools' start and end cells live in the engine (m_ptLineStart, m_ptSegStart, ...),
// where the status bar reads them.
class ShapeTools {
public:
    explicit ShapeTools(MapViewEngine& view);
    ~ShapeTools();

    // A button went down at a client point with a shape tool; tile is the button's tile.
    void Press(int flags, Point client, int tile, int tool);
    // The pointer moved: the preview follows it while a shape is in progress.
    void Move(int flags, Point client, int tool);
    // The button went up: writes the shape. False when no shape of this tool was in progress
    // (a connected line is not ended by a release).
    bool Release(int flags, Point client, int tile, int tool);
    // A double-click ends a connected line with the last segment.
    void FinishConnectedLine(int flags, Point client, int tile);
    // Escape: takes back the newest segment of a connected line, or cancels the shape.
    void Escape();

    // What the view draws over the map: the previewed cells (view-relative columns and
    // rows); empty when no preview is shown.
    std::span<const ShapePoint> PreviewPoints() const;

private:
    MapViewEngine& m_view;
    std::vector<ShapePoint> m_aPoints; // MAX_SHAPE_POINTS, allocated once
    int m_nPoints = 0;
    bool m_bPreviewShown = false;
    std::unique_ptr<TileShape> m_pShape;
    bool m_bCommit = false;
    bool m_bNoUndo = false;
    StrokeSegment m_lineSegment;
    SegmentList m_pSegments; // committed segments of the connected line, oldest first
    Point m_ptRectStart, m_ptRectEnd;
    bool m_bRectActive = false;
    Point m_ptEllStart, m_ptEllEnd;
    bool m_bEllActive = false;
    ChangeList m_areaChanges;
};

} // namespace krav
