// The shape tools: a preview that follows the drag without touching the map, then one pass
// that writes the shape with the flag limit and records it as one undo step.
#include "editing/ShapeTools.h"

#include "document/Messages.h"
#include "editing/EllipseShape.h"
#include "editing/FlagPolicy.h"
#include "editing/LineShape.h"
#include "editing/RectShape.h"
#include "editing/ToolContext.h"
#include "editing/ToolIds.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace krav {

namespace {

// A press right of or below this view-relative cell (a very wide window at low zoom) is
// refused with a beep.
constexpr int MAX_PRESS_CELL = 1024;

bool Constrained(int flags) {
    return (flags & MK_SHIFT) != 0;
}
bool FromCenter(int flags) {
    return (flags & MK_CONTROL) != 0;
}

} // namespace

ShapeTools::ShapeTools(ToolContext& view) : m_view(view), m_aPoints(MAX_SHAPE_POINTS) {}

ShapeTools::~ShapeTools() = default;

std::span<const ShapePoint> ShapeTools::PreviewPoints() const {
    if (!m_bPreviewShown)
        return {};
    return {m_aPoints.data(), static_cast<std::size_t>(m_nPoints)};
}

Point ShapeTools::CellOf(const PointerEvent& event) const {
    const ViewGeometry& view = m_view.Geometry();
    return {event.cell.x - view.LeftCol(), event.cell.y - view.TopRow()};
}

std::optional<ShapeTools::LineExtent> ShapeTools::ActiveLine() const {
    if (m_bLineActive)
        return LineExtent{m_ptLineStart, m_ptLineEnd};
    if (m_bPolyActive)
        return LineExtent{m_ptSegStart, m_ptSegEnd};
    return std::nullopt;
}

// --- preview and writing -------------------------------------------------------------------

void ShapeTools::Rasterize(Point start, Point end, int flags) {
    const ViewGeometry& view = m_view.Geometry();
    // Cells are relative to the visible area, so the shape is cut at its top and left edges
    // and at the map's right and bottom edges.
    m_nPoints = m_pShape->Rasterize(m_aPoints.data(), MAX_SHAPE_POINTS, MAP_SIZE - view.LeftCol(),
                                    MAP_SIZE - view.TopRow(), start.x, start.y, end.x, end.y,
                                    Constrained(flags), FromCenter(flags));
}

void ShapeTools::ShowPreview() {
    m_bPreviewShown = m_nPoints > 0;
    if (!m_bPreviewShown)
        return;
    CellBounds bounds;
    for (int i = 0; i < m_nPoints; ++i)
        bounds.Add(m_aPoints[i].column, m_aPoints[i].row);
    const Rect cells = bounds.ToRect();
    const int cw = m_view.Geometry().CellWidth();
    const int ch = m_view.Geometry().CellHeight();
    // A preview cell also covers the grid line to its right and below it.
    m_rcPreview = {cells.left * cw, cells.top * ch, cells.right * cw + 1, cells.bottom * ch + 1};
    m_view.Host().InvalidateClient(m_rcPreview, false);
    m_view.Host().UpdateNow();
}

void ShapeTools::HidePreview() {
    if (!m_bPreviewShown)
        return;
    m_bPreviewShown = false;
    m_view.Host().InvalidateClient(m_rcPreview, true);
    m_view.Host().UpdateNow();
}

void ShapeTools::WritePoints(ChangeList& list, std::optional<Cell> tile) {
    const ViewGeometry& view = m_view.Geometry();
    CKRAVDoc& doc = m_view.Document();
    CellBounds written;
    for (int i = 0; i < m_nPoints; ++i) {
        const ShapePoint& point = m_aPoints[i];
        const int column = view.LeftCol() + point.column;
        const int row = view.TopRow() + point.row;
        const Cell old = doc.GetCell(row, column);
        const Cell value = tile.value_or(FromStoredValue(point.value));
        ReleaseFlag(m_view.Flags(), old);
        if (!AcquireFlag(m_view.Flags(), value)) {
            m_view.ShowMessage(messages::FLAG_LIMIT);
            break;
        }
        // No fragment of an object may stay behind.
        if (IsObjectCell(old))
            m_view.EraseObject(column, row, old, list);
        m_view.History().RecordChange(list, column, row, old);
        doc.SetCell(row, column, value);
        m_view.CellChanged(column, row);
        written.Add(column, row);
    }
    if (!written.IsEmpty())
        m_view.InvalidateBlock(written.ToRect());
}

void ShapeTools::RasterizeLine(Point start, Point end, int flags) {
    Rasterize(start, end, flags);
    // A constrained segment ends where it was drawn, and the next one starts there.
    if (m_bPolyActive && m_nPoints > 0) {
        const ShapePoint& last = m_aPoints[m_nPoints - 1];
        m_ptSegEnd = {last.column, last.row};
    }
}

void ShapeTools::PreviewLine(Point start, Point end, int flags) {
    RasterizeLine(start, end, flags);
    ShowPreview();
}

void ShapeTools::WriteLine(Point start, Point end, int flags, int tile) {
    RasterizeLine(start, end, flags);
    if (m_nPoints == 0)
        return;
    // The tile of the button that clicked, whichever button began the line.
    const Cell value = FromStoredValue(static_cast<std::int16_t>(tile));
    if (m_bPolyActive) {
        const Point from = m_ptSegStart;
        const Point to = m_ptSegEnd;
        m_segments.push_back({from.x, from.y, to.x, to.y, {}});
        WritePoints(m_segments.back().changes, value);
    } else {
        m_lineSegment = {};
        WritePoints(m_lineSegment.changes, value);
    }
}

void ShapeTools::ApplyArea(Point start, Point end, bool commit, int flags) {
    Rasterize(start, end, flags);
    if (commit)
        WritePoints(m_areaChanges, std::nullopt);
    else
        ShowPreview();
}

// --- the tools -----------------------------------------------------------------------------

void ShapeTools::Press(MouseButton button, const PointerEvent& event) {
    const int flags = event.flags;
    const int tile = m_view.TileOf(button);
    const int tool = m_view.CurrentTool();
    const Point cell = CellOf(event);
    if (cell.x > MAX_PRESS_CELL || cell.y > MAX_PRESS_CELL) {
        m_view.Host().Beep(BeepType::Warning);
        return;
    }
    if (tool == ID_TOOL_CONNECTED_LINE) {
        PressConnectedLine(flags, cell, tile);
        return;
    }
    CloseShape();
    if (tool == ID_TOOL_LINE)
        PressLine(flags, cell, tile);
    else
        PressArea(flags, cell, tool, tile);
}

void ShapeTools::Move(const PointerEvent& event) {
    const int flags = event.flags;
    const int tool = m_view.CurrentTool();
    const Point cell = CellOf(event);
    if (tool == ID_TOOL_LINE) {
        if (m_bLineActive)
            FollowLine(flags, cell, m_ptLineStart, m_ptLineEnd);
    } else if (tool == ID_TOOL_CONNECTED_LINE) {
        // The rubber band follows with or without a button held.
        if (m_bPolyActive)
            FollowLine(flags, cell, m_ptSegStart, m_ptSegEnd);
    } else if (AreaDrag* drag = AreaOf(tool); drag != nullptr && drag->active) {
        FollowArea(flags, cell, *drag);
    }
}

bool ShapeTools::Release(MouseButton button, const PointerEvent& event) {
    const int flags = event.flags;
    const int tile = m_view.TileOf(button);
    const int tool = m_view.CurrentTool();
    const Point cell = CellOf(event);
    if (tool == ID_TOOL_LINE && m_bLineActive) {
        FinishLine(flags, cell, tile);
        return true;
    }
    if (AreaDrag* drag = AreaOf(tool); drag != nullptr && drag->active) {
        FinishArea(flags, cell, *drag);
        return true;
    }
    return false;
}

void ShapeTools::DoubleClick(MouseButton button, const PointerEvent& event) {
    if (!m_bPolyActive)
        return;
    HidePreview();
    m_ptSegEnd = CellOf(event);
    WriteLine(m_ptSegStart, m_ptSegEnd, event.flags, m_view.TileOf(button));
    PushSegments();
    EndShape();
}

void ShapeTools::Escape() {
    if (m_bPolyActive && !m_segments.empty()) {
        TakeBackSegment();
        return;
    }
    // Nothing of any other shape was written yet.
    if (InProgress())
        EndShape();
}

void ShapeTools::Zoomed(const ViewGeometry& before, Point) {
    if (!InProgress())
        return;
    const ViewGeometry& after = m_view.Geometry();
    const int dx = before.LeftCol() - after.LeftCol();
    const int dy = before.TopRow() - after.TopRow();
    for (Point* p : {&m_ptLineStart, &m_ptLineEnd, &m_ptSegStart, &m_ptSegEnd, &m_rect.start,
                     &m_rect.end, &m_ellipse.start, &m_ellipse.end})
        *p = {p->x + dx, p->y + dy};
    for (StrokeSegment& segment : m_segments) {
        segment.x0 += dx;
        segment.y0 += dy;
        segment.x1 += dx;
        segment.y1 += dy;
    }
    // The previewed cells stay the same map cells, drawn at the new size.
    for (int i = 0; i < m_nPoints; ++i) {
        m_aPoints[i].column = static_cast<std::int16_t>(m_aPoints[i].column + dx);
        m_aPoints[i].row = static_cast<std::int16_t>(m_aPoints[i].row + dy);
    }
    if (m_bPreviewShown)
        ShowPreview();
}

void ShapeTools::PressLine(int flags, Point cell, int tile) {
    m_pShape = std::make_unique<LineShape>(static_cast<std::int16_t>(tile));
    m_ptLineStart = m_ptLineEnd = cell;
    m_view.Host().SetCapture(true);
    m_nPoints = 0;
    m_bLineActive = true;
    PreviewLine(cell, cell, flags);
}

void ShapeTools::PressConnectedLine(int flags, Point cell, int tile) {
    if (m_bPolyActive) {
        // Every further click writes the segment up to it at once.
        HidePreview();
        m_ptSegEnd = cell;
        WriteLine(m_ptSegStart, cell, flags, tile);
        m_ptSegStart = m_ptSegEnd;
        return;
    }
    CloseShape();
    m_pShape = std::make_unique<LineShape>(static_cast<std::int16_t>(tile));
    m_ptSegStart = m_ptSegEnd = cell;
    m_view.Host().SetCapture(true);
    PreviewLine(cell, cell, flags);
    m_bPolyActive = true;
}

void ShapeTools::PressArea(int flags, Point cell, int tool, int tile) {
    const std::int32_t value = static_cast<std::int16_t>(tile);
    switch (tool) {
    case ID_TOOL_RECTANGLE:
        m_pShape = std::make_unique<RectShape>(value, NO_CELL);
        break;
    case ID_TOOL_FILLED_RECTANGLE:
        m_pShape = std::make_unique<RectShape>(value, value);
        break;
    case ID_TOOL_ELLIPSE:
        m_pShape = std::make_unique<EllipseShape>(value, NO_CELL);
        break;
    default:
        m_pShape = std::make_unique<EllipseShape>(value, value);
        break;
    }
    AreaDrag& drag = *AreaOf(tool);
    drag = {cell, cell, true};
    m_view.Host().SetCapture(true);
    ApplyArea(cell, cell, false, flags);
}

void ShapeTools::FollowLine(int flags, Point cell, Point start, Point& end) {
    if (cell == end)
        return;
    HidePreview();
    end = cell;
    PreviewLine(start, end, flags);
}

void ShapeTools::FollowArea(int flags, Point cell, AreaDrag& drag) {
    if (cell == drag.end)
        return;
    HidePreview();
    drag.end = cell;
    ApplyArea(drag.start, drag.end, false, flags);
}

void ShapeTools::FinishLine(int flags, Point cell, int tile) {
    HidePreview();
    m_ptLineEnd = cell;
    m_lineSegment = {};
    WriteLine(m_ptLineStart, cell, flags, tile);
    SegmentList segments;
    if (!m_lineSegment.changes.empty())
        segments.push_back(std::move(m_lineSegment));
    m_view.History().PushUndo(UndoKind::Line, std::move(segments));
    m_view.SetHeld(MouseButton::Left, false);
    EndShape();
}

void ShapeTools::FinishArea(int flags, Point cell, AreaDrag& drag) {
    HidePreview();
    drag.end = cell;
    m_areaChanges.clear();
    ApplyArea(drag.start, drag.end, true, flags);
    if (!m_areaChanges.empty()) {
        m_view.Document().SetModifiedFlag();
        m_view.History().PushUndo(UndoKind::Cells, std::move(m_areaChanges));
    }
    m_view.SetHeld(MouseButton::Left, false);
    EndShape();
}

void ShapeTools::TakeBackSegment() {
    StrokeSegment& newest = m_segments.back();
    m_view.History().ApplySegment(m_view, newest, nullptr);
    HidePreview();
    m_ptSegStart = {newest.x0, newest.y0};
    m_segments.pop_back();
    PreviewLine(m_ptSegStart, m_ptSegEnd, 0);
}

ShapeTools::AreaDrag* ShapeTools::AreaOf(int tool) {
    if (tool == ID_TOOL_RECTANGLE || tool == ID_TOOL_FILLED_RECTANGLE)
        return &m_rect;
    if (tool == ID_TOOL_ELLIPSE || tool == ID_TOOL_FILLED_ELLIPSE)
        return &m_ellipse;
    return nullptr;
}

bool ShapeTools::InProgress() const {
    return m_bLineActive || m_bPolyActive || m_rect.active || m_ellipse.active;
}

void ShapeTools::CloseShape() {
    if (!InProgress())
        return;
    if (m_bPolyActive)
        PushSegments();
    EndShape();
}

void ShapeTools::PushSegments() {
    // A segment refused at its first cell by the flag limit changed nothing.
    std::erase_if(m_segments, [](const StrokeSegment& segment) { return segment.changes.empty(); });
    m_view.History().PushUndo(UndoKind::ConnectedLine, std::move(m_segments));
    m_segments.clear();
}

void ShapeTools::EndShape() {
    HidePreview();
    m_view.Host().SetCapture(false);
    m_pShape.reset();
    m_nPoints = 0;
    m_bLineActive = m_bPolyActive = false;
    m_ptLineStart = m_ptLineEnd = {};
    m_ptSegStart = m_ptSegEnd = {};
    m_rect = m_ellipse = {};
    m_lineSegment = {};
    m_segments.clear();
    m_areaChanges.clear();
}

} // namespace krav
