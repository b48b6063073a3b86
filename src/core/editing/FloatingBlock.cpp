// Floating blocks of the Select tool: lifting or copying the selection, dragging it in whole
// cells, putting it down or throwing it away.
#include "editing/MapViewEngine.h"
#include "editing/SelectionTool.h"

#include <cstdlib>

namespace krav {

namespace {

constexpr const char* CANNOT_MOVE = "Out of memory!\nTiles can not be moved.";
constexpr const char* NOT_UNDOABLE = "Out of memory!\nThis operation can not be undone.";

} // namespace

void SelectionTool::StartMove(int flags, Point client) {
    // The left button alone lifts the cells out of the map; with a key held they stay.
    const int kind = flags == MK_LBUTTON ? FLOAT_MOVE : FLOAT_COPY;
    m_pFloatCells = CopyBlock(m_view.m_rcSelection, kind);
    if (!m_pFloatCells) {
        m_nFloatKind = FLOAT_NONE;
        m_view.ShowMessage(CANNOT_MOVE);
        return;
    }
    m_nFloatKind = kind;
    m_view.m_bFloating = true;
    m_view.m_bLeftDown = true;
    m_view.Host().SetCapture(true);
    m_ptDrag = client;
    InvalidateFloating();
}

void SelectionTool::GrabFloating(int flags, Point client) {
    // Control leaves a copy where the block is now and drags on with it.
    const int stampKeys = MK_LBUTTON | MK_CONTROL;
    if ((flags & stampKeys) == stampKeys && m_pFloatCells &&
        !StampBlock(m_view.m_rcSelection, *m_pFloatCells))
        m_view.ShowMessage(NOT_UNDOABLE);
    m_view.m_bLeftDown = true;
    m_view.Host().SetCapture(true);
    m_ptDrag = client;
}

void SelectionTool::MoveFloating(Point client) {
    UpdateScrollTimer(TIMER_FLOAT_SCROLL, client);
    if (client == m_ptDrag)
        return;

    // Whole cells, and only once the pointer has gone further than one cell: the pointer
    // keeps its place in the block to within a cell.
    const auto step = [](int distance, int cell) {
        return std::abs(distance) > cell ? distance / cell * cell : 0;
    };
    const int dx = step(client.x - m_ptDrag.x, m_view.Geometry().m_nCellWidth);
    const int dy = step(client.y - m_ptDrag.y, m_view.Geometry().m_nCellHeight);
    m_ptDrag = {m_ptDrag.x + dx, m_ptDrag.y + dy};
    const Rect moved = m_view.ClampIntoMap(m_view.m_rcSelection.Offset(dx, dy));
    if (moved == m_view.m_rcSelection)
        return;
    InvalidateFloating();
    m_view.m_rcSelection = moved;
    InvalidateFloating();
}

void SelectionTool::EndDrag() {
    // The block keeps floating where it is.
    StopScrollTimer();
    m_view.Host().SetCapture(false);
    m_view.m_bLeftDown = false;
}

void SelectionTool::FloatSelection() {
    if (!m_view.m_bHasSelection || m_view.m_bFloating)
        return;
    m_pFloatCells = CopyBlock(m_view.m_rcSelection, FLOAT_COPY);
    if (!m_pFloatCells) {
        m_nFloatKind = FLOAT_NONE;
        m_view.ShowMessage(CANNOT_MOVE);
        return;
    }
    m_nFloatKind = FLOAT_COPY;
    m_view.m_bFloating = true;
    InvalidateFloating();
}

void SelectionTool::DropSelection() {
    if (!m_view.m_bFloating)
        return;
    if (m_nFloatKind != FLOAT_NONE && m_pFloatCells &&
        !StampBlock(m_view.m_rcSelection, *m_pFloatCells))
        m_view.ShowMessage(NOT_UNDOABLE);
    InvalidateFloating();
    m_view.m_bFloating = false;
    m_view.m_bHasSelection = true; // the block's place is now the selection
    m_ptDrag = {};
    // A pasted block lives on in the copy buffer; only this view's share goes.
    m_pFloatCells.reset();
    m_nFloatKind = FLOAT_NONE;
}

void SelectionTool::DiscardFloating() {
    if (!m_view.m_bFloating)
        return;
    if (m_view.m_bLeftDown)
        EndDrag(); // thrown away while held
    InvalidateFloating();
    m_view.m_bFloating = false;
    m_pFloatCells.reset();
    m_nFloatKind = FLOAT_NONE;
}

} // namespace krav
