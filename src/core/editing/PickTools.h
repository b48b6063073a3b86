#pragma once

#include "editing/Tool.h"

namespace krav {

class ToolContext;

// The Dropper: the tile under the pointer becomes the foreground tile (the left button held)
// or the background tile. Empty cells and special objects are no pick.
class DropperTool final : public Tool {
public:
    explicit DropperTool(ToolContext& view) : m_view(view) {}
    void Press(MouseButton button, const PointerEvent& event) override;

private:
    ToolContext& m_view;
};

// The Magnify tool: the left button zooms in, the right button out, around the pointer's cell.
class MagnifyTool final : public Tool {
public:
    explicit MagnifyTool(ToolContext& view) : m_view(view) {}
    bool PressHoldsButton(MouseButton) const override { return false; }
    void Press(MouseButton button, const PointerEvent& event) override;

private:
    ToolContext& m_view;
};

} // namespace krav
