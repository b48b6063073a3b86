#pragma once

#include "editing/Geometry.h"
#include "editing/TileShape.h"
#include "editing/Tool.h"
#include "editing/UndoRecords.h"

#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace krav {

class ToolContext;

// Cells one shape may have; larger shapes are cut to their first cells.
inline constexpr int MAX_SHAPE_POINTS = 100000;

// Line, Connected Line, Rectangle, Filled Rectangle, Ellipse and Filled Ellipse: previewed
// while dragged (the preview never touches the map), written on release as one undo step.
// Cells are view-relative (columns and rows from the visible area's corner) while a shape is
// drawn.
class ShapeTools final : public Tool {
public:
    explicit ShapeTools(ToolContext& view);
    ~ShapeTools() override;

    // A button went down with a shape tool; the shape is drawn with that button's tile.
    void Press(MouseButton button, const PointerEvent& event) override;
    // The preview follows the pointer while a shape is in progress.
    void Move(const PointerEvent& event) override;
    // Writes the shape. False when no shape of this tool was in progress (a connected line is
    // not ended by a release).
    bool Release(MouseButton button, const PointerEvent& event) override;
    // A double-click ends a connected line with the last segment, whichever tool is current.
    void DoubleClick(MouseButton button, const PointerEvent& event) override;
    // Takes back the newest segment of a connected line, or cancels the shape.
    void Escape() override;
    // A shape in progress keeps its map cells: its view-relative cells follow the origin.
    void Zoomed(const ViewGeometry& before, Point pointer) override;

    // A connected line in progress keeps its button held between clicks.
    bool IsConnectedLineActive() const { return m_bPolyActive; }
    // The start and end cell (view-relative) of the line or segment being drawn, if any.
    struct LineExtent {
        Point start, end;
    };
    std::optional<LineExtent> ActiveLine() const;

    // What the view draws over the map: the previewed cells (view-relative columns and
    // rows); empty when no preview is shown.
    std::span<const ShapePoint> PreviewPoints() const;
    // The client pixels the shown preview covers; empty when none is shown.
    Rect PreviewRect() const { return m_bPreviewShown ? m_rcPreview : Rect{}; }

private:
    // A rectangle or ellipse drag: start and end cell (view-relative), in progress.
    struct AreaDrag {
        Point start, end;
        bool active = false;
    };

    // The view-relative cell of a pointer event.
    Point CellOf(const PointerEvent& event) const;
    // Rasterizes the shape between two cells into m_aPoints; Shift constrains it, Control
    // makes the start its centre.
    void Rasterize(Point start, Point end, int flags);
    // The rasterized cells become the preview, or the preview goes and the map shows again.
    void ShowPreview();
    void HidePreview();
    // Writes the rasterized cells with the flag limit, removing overwritten objects whole and
    // recording the old values on list. A line writes its one tile; an area each cell's value.
    void WritePoints(ChangeList& list, std::optional<Cell> tile);

    // A line from start to end; a connected line's end follows the last cell drawn.
    void RasterizeLine(Point start, Point end, int flags);
    void PreviewLine(Point start, Point end, int flags);
    // Writes the line with tile; each written segment of a connected line is kept for its undo
    // step.
    void WriteLine(Point start, Point end, int flags, int tile);
    void ApplyArea(Point start, Point end, bool commit, int flags);

    void PressLine(int flags, Point cell, int tile);
    void PressConnectedLine(int flags, Point cell, int tile);
    void PressArea(int flags, Point cell, int tool, int tile);
    // The preview of a drag follows the pointer into another cell.
    void FollowLine(int flags, Point cell, Point start, Point& end);
    void FollowArea(int flags, Point cell, AreaDrag& drag);
    void FinishLine(int flags, Point cell, int tile);
    void FinishArea(int flags, Point cell, AreaDrag& drag);
    // Escape on a connected line: its newest segment leaves the map and the rubber band
    // starts again where that segment began.
    void TakeBackSegment();
    // The state of a rectangle tool or an ellipse tool, else null.
    AreaDrag* AreaOf(int tool);
    bool InProgress() const;
    // Ends a shape still in progress before a new one starts: a drag is dropped, a connected
    // line keeps its written segments as one step.
    void CloseShape();
    // The connected line's written segments become one undo step.
    void PushSegments();
    // Back to idle: no preview, no shape, the mouse released.
    void EndShape();

    ToolContext& m_view;
    bool m_bLineActive = false;
    Point m_ptLineStart, m_ptLineEnd;
    bool m_bPolyActive = false;
    Point m_ptSegStart, m_ptSegEnd;
    std::vector<ShapePoint> m_aPoints; // MAX_SHAPE_POINTS, allocated once
    int m_nPoints = 0;
    bool m_bPreviewShown = false;
    Rect m_rcPreview; // client pixels the preview covers
    std::unique_ptr<TileShape> m_pShape;
    StrokeSegment m_lineSegment; // the Line tool's changes while it writes
    SegmentList m_segments;      // committed segments of the connected line, oldest first
    AreaDrag m_rect;
    AreaDrag m_ellipse;
    ChangeList m_areaChanges;
};

} // namespace krav
