#include "editing/PickTools.h"

#include "editing/ToolContext.h"

#include <cstdint>

namespace krav {

void DropperTool::Press(MouseButton, const PointerEvent& event) {
    if (!MAP_CELL_RECT.Contains(event.cell))
        return;
    const Cell value = m_view.Document().GetCell(event.cell.y, event.cell.x);
    // Only plain tiles can be painted with.
    if (!IsTileCell(value))
        return;
    const int tile = static_cast<std::int16_t>(value);
    const MouseButton button =
        m_view.IsHeld(MouseButton::Left) ? MouseButton::Left : MouseButton::Right;
    m_view.SetTile(button, tile);
    m_view.Host().SetCurrentTile(tile, button == MouseButton::Left);
}

void MagnifyTool::Press(MouseButton button, const PointerEvent& event) {
    m_view.ZoomAt(event.client, button == MouseButton::Right);
}

} // namespace krav
