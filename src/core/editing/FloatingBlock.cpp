// Floating blocks of the Select tool: lifting or copying the selection, dragging it in whole
// cells, putting it down or throwing it away.
#include "document/Messages.h"
#include "editing/SelectionTool.h"
#include "editing/ToolContext.h"
#include "editing/ToolIds.h"

#include <cstdlib>

namespace krav {

void SelectionTool::StartMove(int flags, Point client) {
    // The left button alone lifts the cells out of the map; with a key held they stay.
    const FloatKind kind = flags == MK_LBUTTON ? FloatKind::Move : FloatKind::Copy;
    m_pFloatCells = CopyBlock(m_rcSelection, kind);
    if (!m_pFloatCells) {
        m_nFloatKind = FloatKind::None;
        m_view.ShowMessage(messages::CANNOT_MOVE);
        return;
    }
    m_nFloatKind = kind;
    m_bFloating = true;
    m_view.SetHeld(MouseButton::Left, true);
    m_view.Host().SetCapture(true);
    m_ptDrag = client;
    InvalidateFloating();
}

void SelectionTool::GrabFloating(int flags, Point client) {
    // Control leaves a copy where the block is now and drags on with it.
    const int stampKeys = MK_LBUTTON | MK_CONTROL;
    if ((flags & stampKeys) == stampKeys && m_pFloatCells &&
        !StampBlock(m_rcSelection, *m_pFloatCells))
        m_view.ShowMessage(messages::NOT_UNDOABLE_STOP);
    m_view.SetHeld(MouseButton::Left, true);
    m_view.Host().SetCapture(true);
    m_ptDrag = client;
}

void SelectionTool::MoveFloating(Point client) {
    UpdateScrollTimer(ViewTimer::FloatScroll, client);
    if (client == m_ptDrag)
        return;

    // Whole cells, and only once the pointer has gone further than one cell: the pointer
    // keeps its place in the block to within a cell.
    const auto step = [](int distance, int cell) {
        return std::abs(distance) > cell ? distance / cell * cell : 0;
    };
    const int cw = m_view.Geometry().CellWidth();
    const int ch = m_view.Geometry().CellHeight();
    const int dx = step(client.x - m_ptDrag.x, cw);
    const int dy = step(client.y - m_ptDrag.y, ch);
    m_ptDrag = {m_ptDrag.x + dx, m_ptDrag.y + dy};
    const Rect moved = ShiftIntoMap(m_rcSelection.Offset(dx / cw, dy / ch));
    if (moved == m_rcSelection)
        return;
    InvalidateFloating();
    m_rcSelection = moved;
    InvalidateFloating();
}

void SelectionTool::EndDrag() {
    // The block keeps floating where it is.
    StopScrollTimer();
    m_view.Host().SetCapture(false);
    m_view.SetHeld(MouseButton::Left, false);
}

void SelectionTool::FloatSelection() {
    if (!m_bHasSelection || m_bFloating)
        return;
    m_pFloatCells = CopyBlock(m_rcSelection, FloatKind::Copy);
    if (!m_pFloatCells) {
        m_nFloatKind = FloatKind::None;
        m_view.ShowMessage(messages::CANNOT_MOVE);
        return;
    }
    m_nFloatKind = FloatKind::Copy;
    m_bFloating = true;
    InvalidateFloating();
}

void SelectionTool::DropSelection() {
    if (!m_bFloating)
        return;
    if (m_nFloatKind != FloatKind::None && m_pFloatCells &&
        !StampBlock(m_rcSelection, *m_pFloatCells))
        m_view.ShowMessage(messages::NOT_UNDOABLE_STOP);
    InvalidateFloating();
    m_bFloating = false;
    m_bHasSelection = true; // the block's place is now the selection
    m_ptDrag = {};
    // A pasted block lives on in the copy buffer; only this view's share goes.
    m_pFloatCells.reset();
    m_nFloatKind = FloatKind::None;
}

void SelectionTool::DiscardFloating() {
    if (!m_bFloating)
        return;
    if (m_view.IsHeld(MouseButton::Left))
        EndDrag(); // thrown away while held
    InvalidateFloating();
    m_bFloating = false;
    m_pFloatCells.reset();
    m_nFloatKind = FloatKind::None;
}

} // namespace krav
