// How a map view turns buttons, movement, timer ticks and keys into its tools' work.
#include "editing/MapViewEngine.h"

#include <algorithm>
#include <cstdlib>

namespace krav {

Tool& MapViewEngine::ToolFor(int toolId) {
    switch (toolId) {
    case ID_TOOL_PENCIL:
    case ID_TOOL_ERASER:
        return m_freehand;
    case ID_TOOL_DROPPER:
        return m_dropper;
    case ID_TOOL_MAGNIFY:
        return m_magnify;
    case ID_TOOL_STAMP:
        return m_stamp;
    case ID_TOOL_SELECT:
        return m_selection;
    default:
        return IsShapeTool(toolId) ? static_cast<Tool&>(m_shapes) : m_noTool;
    }
}

PointerEvent MapViewEngine::EventAt(int flags, Point client) const {
    return {client, m_view.CellAt(client), flags};
}

PointerEvent MapViewEngine::EventBeyond(Point client) const {
    // Rounding down keeps a pointer left of or above the window on the cell beyond the
    // visible area instead of the first visible one.
    return {client,
            {FloorDiv(client.x, m_view.CellWidth()) + m_view.LeftCol(),
             FloorDiv(client.y, m_view.CellHeight()) + m_view.TopRow()},
            0};
}

void MapViewEngine::OnButtonDown(MouseButton button, int flags, Point client) {
    Tool& tool = Current();
    if (tool.PressHoldsButton(button))
        SetHeld(button, true);
    tool.Press(button, EventAt(flags, client));
}

void MapViewEngine::OnButtonUp(MouseButton button, int flags, Point client) {
    if (button == MouseButton::Left && !m_bLeftDown)
        return;
    // A rubber band or a floating block is the Select tool's whichever tool is chosen now: a
    // tool chosen while another view was active never told this view's selection to go.
    Tool& tool = button == MouseButton::Left && m_selection.HoldsLeftRelease()
                     ? static_cast<Tool&>(m_selection)
                     : Current();
    if (!tool.Release(button, EventAt(flags, client)))
        EndStroke();
    // A connected line keeps its left button held between clicks.
    if (button == MouseButton::Right)
        m_bRightDown = false;
    else if (!m_shapes.IsConnectedLineActive())
        m_bLeftDown = false;
}

void MapViewEngine::OnDoubleClick(MouseButton button, int flags, Point client) {
    // Only a connected line has a use for a double-click, and it outlives a tool change.
    m_shapes.DoubleClick(button, EventAt(flags, client));
    SetHeld(button, false);
}

void MapViewEngine::OnMouseMove(int flags, Point client) {
    if (m_view.ClientRect().Contains(client))
        m_ptLastMouse = client;
    Current().Move(EventAt(flags, client));
}

void MapViewEngine::OnMouseWheel(const WheelTurn& turn) {
    if (turn.control) {
        ZoomByWheel(turn.delta.y, turn.client);
        return;
    }
    const bool sideways = turn.shift || std::abs(turn.delta.x) > std::abs(turn.delta.y);
    const int delta = sideways && turn.delta.x != 0 ? turn.delta.x : turn.delta.y;
    ScrollByWheel(!sideways, turn.inverted ? -delta : delta, turn.linesPerNotch);
}

// One zoom step per notch at the pointer; high-resolution wheels send parts of a notch.
void MapViewEngine::ZoomByWheel(int delta, Point client) {
    if ((delta > 0 && m_zoomWheel < 0) || (delta < 0 && m_zoomWheel > 0))
        m_zoomWheel = 0;
    m_zoomWheel += delta;
    while (std::abs(m_zoomWheel) >= WHEEL_NOTCH) {
        const bool zoomOut = m_zoomWheel < 0;
        m_zoomWheel += zoomOut ? WHEEL_NOTCH : -WHEEL_NOTCH;
        ZoomAt(client.x, client.y, zoomOut, ZoomAnchor::Pointer);
    }
}

// Lines per notch, parts of a line kept for the next turn, at most a page at a time; away
// from the user goes up (left).
void MapViewEngine::ScrollByWheel(bool vertical, int delta, int linesPerNotch) {
    int& pending = vertical ? m_rowsWheel : m_columnsWheel;
    const int turned = delta * linesPerNotch;
    if ((turned > 0 && pending < 0) || (turned < 0 && pending > 0))
        pending = 0;
    pending += turned;
    const int lines = pending / WHEEL_NOTCH;
    pending -= lines * WHEEL_NOTCH;
    const ScrollBar& bar = vertical ? m_view.VerticalBar() : m_view.HorizontalBar();
    const int page = std::max(bar.Page(), 1);
    const int target =
        std::clamp(bar.Position() - std::clamp(lines, -page, page), 0, bar.MaxPosition());
    if (target == bar.Position())
        return;
    vertical ? OnVScroll(SB_THUMBTRACK, target) : OnHScroll(SB_THUMBTRACK, target);
}

void MapViewEngine::OnTimer(ViewTimer timer, Point pointer) {
    // Each timer goes to the tool that started it.
    switch (timer) {
    case ViewTimer::PaintScroll:
        m_freehand.Tick(timer, EventBeyond(pointer));
        break;
    case ViewTimer::FloatScroll:
    case ViewTimer::SelectScroll:
        m_selection.Tick(timer, EventBeyond(pointer));
        break;
    }
}

void MapViewEngine::OnKeyDown(ViewKey key, bool shift, bool control) {
    switch (key) {
    case ViewKey::Tab:
        m_host.Beep(BeepType::Plain);
        break;
    case ViewKey::Escape:
        for (Tool* family : m_families)
            family->Escape();
        m_bLeftDown = m_bRightDown = false;
        break;
    case ViewKey::PageUp:
        shift ? OnHScroll(SB_PAGEUP) : OnVScroll(SB_PAGEUP);
        break;
    case ViewKey::PageDown:
        shift ? OnHScroll(SB_PAGEDOWN) : OnVScroll(SB_PAGEDOWN);
        break;
    case ViewKey::Left:
        OnHScroll(SB_LINEUP);
        break;
    case ViewKey::Up:
        OnVScroll(SB_LINEUP);
        break;
    case ViewKey::Right:
        OnHScroll(SB_LINEDOWN);
        break;
    case ViewKey::Down:
        OnVScroll(SB_LINEDOWN);
        break;
    case ViewKey::Home:
        ScrollToMapEdge(false, control);
        break;
    case ViewKey::End:
        ScrollToMapEdge(true, control);
        break;
    }
}

void MapViewEngine::ChangeTool(int oldTool, int newTool) {
    if (oldTool != newTool)
        ToolFor(oldTool).Leave();
    ToolFor(newTool).Enter();
}

} // namespace krav
