#pragma once

#include "editing/TileShape.h"
#include "editing/Tool.h"

#include <optional>
#include <vector>

namespace krav {

class ToolContext;

// The Pencil and the Eraser: strokes painted cell by cell while a button is held, scrolling
// the view while the pointer is held outside the window. The whole stroke is one undo step,
// pushed when the engine ends it at the release. A move paints the straight line of cells from
// the previous pointer cell to the new one, so a fast stroke leaves no gaps.
class FreehandTool final : public Tool {
public:
    explicit FreehandTool(ToolContext& view);

    // Paints the cell under the pointer with the button's tile (the Eraser empties it) and
    // captures the mouse.
    void Press(MouseButton button, const PointerEvent& event) override;
    // While a stroke is held: paints the cells from the previous pointer cell to the one under
    // the pointer, or starts the paint-scroll timer when the pointer is outside the client area.
    void Move(const PointerEvent& event) override;
    // The engine ends the stroke; the next one starts from its own press.
    bool Release(MouseButton button, const PointerEvent& event) override;
    // A tick of the paint-scroll timer: paints only the cell beyond the edge and scrolls to it.
    void Tick(ViewTimer timer, const PointerEvent& event) override;
    // The buttons are about to be forgotten, so no release will end a held stroke: it ends here.
    void Escape() override;
    void Enter() override;

private:
    bool IsCurrent() const;
    bool StrokeHeld() const;
    // Paints one map cell with the tool's value. The press form records after writing and
    // always repaints; the drag form records first and repaints only a change. False when
    // the flag limit refused the cell (nothing written).
    bool PaintStep(Point cell, int tile, bool press);
    // Paints the cells after `from` up to and including `to` in the drag form, in order. False
    // when the flag limit refused one of them (the cells before it stay painted).
    bool PaintLine(Point from, Point to, int tile);
    // The flag limit ended a stroke in the drag: keeps what was drawn as one step.
    void EndStrokeAtFlagLimit();
    // The tile of the button that holds the stroke.
    int HeldTile() const;

    ToolContext& m_view;
    // The pointer's cell at the previous press, move or tick of the stroke; none between strokes.
    std::optional<Point> m_lastCell;
    std::vector<ShapePoint> m_line; // the cells of one move, allocated once
};

} // namespace krav
