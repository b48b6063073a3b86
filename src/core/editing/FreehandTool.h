#pragma once

#include "editing/Tool.h"

namespace krav {

class ToolContext;

// The Pencil and the Eraser: strokes painted cell by cell while a button is held, scrolling
// the view while the pointer is held outside the window. The whole stroke is one undo step,
// pushed when the engine ends it at the release.
class FreehandTool final : public Tool {
public:
    explicit FreehandTool(ToolContext& view) : m_view(view) {}

    // Paints the cell under the pointer with the button's tile (the Eraser empties it) and
    // captures the mouse.
    void Press(MouseButton button, const PointerEvent& event) override;
    // While a stroke is held: paints the cell under the pointer, or starts the paint-scroll
    // timer when the pointer is outside the client area.
    void Move(const PointerEvent& event) override;
    // A tick of the paint-scroll timer: paints the cell beyond the edge and scrolls to it.
    void Tick(ViewTimer timer, const PointerEvent& event) override;
    // The buttons are about to be forgotten, so no release will end a held stroke: it ends here.
    void Escape() override;

private:
    bool IsCurrent() const;
    bool StrokeHeld() const;
    // Paints one map cell with the tool's value. The press form records after writing and
    // always repaints; the drag form records first and repaints only a change. False when
    // the flag limit refused the cell (nothing written).
    bool PaintStep(Point cell, int tile, bool press);
    // The flag limit ended a stroke in the drag: keeps what was drawn as one step.
    void EndStrokeAtFlagLimit();
    // The tile of the button that holds the stroke.
    int HeldTile() const;

    ToolContext& m_view;
};

} // namespace krav
