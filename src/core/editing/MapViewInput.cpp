// How a map view turns buttons, movement, timer ticks and keys into the tools' work.
#include "editing/MapViewEngine.h"

namespace krav {

void MapViewEngine::OnLButtonDown(int flags, Point client) {
    const int tool = m_host.CurrentTool();
    if (tool == ID_TOOL_MAGNIFY) {
        ZoomAt(client.x, client.y, false);
    } else if (tool == ID_TOOL_SELECT) {
        m_selection.Press(flags, client);
    } else {
        m_bLeftDown = true;
        ToolButtonDown(flags, client, m_nForeTile, tool);
    }
}

void MapViewEngine::OnRButtonDown(int flags, Point client) {
    const int tool = m_host.CurrentTool();
    if (tool == ID_TOOL_MAGNIFY) {
        ZoomAt(client.x, client.y, true);
    } else {
        m_bRightDown = true;
        ToolButtonDown(flags, client, m_nBackTile, tool);
    }
}

void MapViewEngine::OnLButtonUp(int flags, Point client) {
    if (!m_bLeftDown) return;
    if (m_bSelecting && !m_bRightDown) {
        m_selection.FinishSelecting();
        return;
    }
    if (m_bFloating) {
        m_selection.EndDrag();
        return;
    }
    ToolButtonUp(flags, client, m_nForeTile, m_host.CurrentTool());
    if (!m_bPolyActive) m_bLeftDown = false; // a connected line keeps its button between clicks
}

void MapViewEngine::OnRButtonUp(int flags, Point client) {
    ToolButtonUp(flags, client, m_nBackTile, m_host.CurrentTool());
    m_bRightDown = false;
}

void MapViewEngine::OnLButtonDblClk(int flags, Point client) {
    m_shapes.FinishConnectedLine(flags, client, m_nForeTile);
    m_bLeftDown = false;
}

void MapViewEngine::OnRButtonDblClk(int flags, Point client) {
    m_shapes.FinishConnectedLine(flags, client, m_nBackTile);
    m_bRightDown = false;
}

void MapViewEngine::OnMouseMove(int flags, Point client) {
    if (m_view.ClientRect().Contains(client)) m_ptLastMouse = client;
    const int tool = m_host.CurrentTool();
    if (IsFreehandTool(tool) && (m_bLeftDown || m_bRightDown)) {
        m_freehand.Move(client, tool);
    } else if (tool == ID_TOOL_SELECT && m_bLeftDown) {
        m_selection.Move(client);
    } else if (IsShapeTool(tool)) {
        m_shapes.Move(flags, client, tool);
    } else if (tool == ID_TOOL_STAMP) {
        TrackStamp(client);
    }
}

void MapViewEngine::OnTimer(int id, Point pointer) {
    const int tool = m_host.CurrentTool();
    if (id == TIMER_PAINT_SCROLL)
        m_freehand.Tick(pointer, tool);
    else if (id == TIMER_FLOAT_SCROLL || id == TIMER_SELECT_SCROLL)
        m_selection.Tick(id, pointer);
}

void MapViewEngine::OnKeyDown(ViewKey key, bool shift, bool control) {
    switch (key) {
    case ViewKey::Tab: m_host.Beep(BEEP_PLAIN); break;
    case ViewKey::Escape:
        m_shapes.Escape();
        // The buttons are forgotten, so no release will end a freehand stroke: end it here,
        // or its changes would join the next undo step.
        if (IsFreehandTool(m_host.CurrentTool()) && (m_bLeftDown || m_bRightDown))
            ToolButtonUp(0, m_ptLastMouse, 0, m_host.CurrentTool());
        m_bLeftDown = m_bRightDown = false;
        break;
    case ViewKey::PageUp: shift ? OnHScroll(SB_PAGEUP) : OnVScroll(SB_PAGEUP); break;
    case ViewKey::PageDown: shift ? OnHScroll(SB_PAGEDOWN) : OnVScroll(SB_PAGEDOWN); break;
    case ViewKey::Left: OnHScroll(SB_LINEUP); break;
    case ViewKey::Up: OnVScroll(SB_LINEUP); break;
    case ViewKey::Right: OnHScroll(SB_LINEDOWN); break;
    case ViewKey::Down: OnVScroll(SB_LINEDOWN); break;
    case ViewKey::Home: ScrollToMapEdge(false, control); break;
    case ViewKey::End: ScrollToMapEdge(true, control); break;
    }
}

void MapViewEngine::ToolButtonDown(int flags, Point client, int tile, int tool) {
    if (IsFreehandTool(tool)) {
        m_freehand.Press(client, tile, tool);
    } else if (IsShapeTool(tool)) {
        m_shapes.Press(flags, client, tile, tool);
    } else if (tool == ID_TOOL_DROPPER) {
        m_freehand.PickTile(client);
    } else if (tool == ID_TOOL_STAMP) {
        // A press before any movement stamps where the pointer is.
        if (!m_bStampPreview) PlaceStamp(client);
        StampObject();
    }
}

void MapViewEngine::ToolButtonUp(int flags, Point client, int tile, int tool) {
    if (IsShapeTool(tool) && m_shapes.Release(flags, client, tile, tool)) return;
    m_host.StopTimer(TIMER_PAINT_SCROLL);
    PushPending();
    m_host.SetCapture(false);
}

void MapViewEngine::PushPending() {
    if (!m_pPending.empty()) m_history.PushUndo(UNDO_CELLS, std::move(m_pPending));
    m_pPending.clear();
}

void MapViewEngine::ChangeTool(int oldTool, int newTool) {
    if (oldTool == ID_TOOL_SELECT && newTool != ID_TOOL_SELECT) m_selection.LeaveSelectTool();
    if (oldTool == ID_TOOL_STAMP || newTool == ID_TOOL_STAMP) DestroyStampPreview();
    if (newTool == ID_TOOL_STAMP) m_nStampBase = m_host.GetStampObject();
}

void MapViewEngine::SetForeBack(int tile, bool isFore) {
    (isFore ? m_nForeTile : m_nBackTile) = static_cast<std::int16_t>(tile);
}

void MapViewEngine::TrackStamp(Point client) {
    const Rect before = m_rcStamp.Inflated(1);
    if (!m_bStampPreview) {
        PlaceStamp(client);
        m_bStampPreview = true; // made now, shown from the next move on
        return;
    }
    if (client == m_ptStamp) return;
    m_bStampShown = true;
    MoveStamp(client);
    m_host.InvalidateClient(before, true);
    m_host.InvalidateClient(m_rcStamp.Inflated(1), true);
}

void MapViewEngine::DestroyStampPreview() {
    if (m_bStampShown) m_host.InvalidateClient(m_rcStamp.Inflated(1), true);
    m_bStampPreview = m_bStampShown = false;
}

void MapViewEngine::EraseMap() {
    m_doc.ClearMap(true);
    m_radar.Clear();
    m_host.RadarShowDocument();
    m_nFlags = 0;
    InvalidateAll();
}

} // namespace krav
