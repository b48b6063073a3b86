// Copy, Cut and Paste between a view's selection and the copy buffer all views share.
#include "document/Messages.h"
#include "editing/SelectionTool.h"
#include "editing/ToolContext.h"

namespace krav {

void SelectionTool::CopySelection(CopyBuffer& buffer, bool cut) {
    ToolContext& view = m_view;
    if (!m_bHasSelection || m_bFloating)
        return;
    // The old block goes first, so a failed copy leaves the buffer empty. A pasted block
    // still floating keeps its own share of it.
    buffer.Clear();
    const CellBlock cells = CopyBlock(m_rcSelection, FloatKind::Copy);
    if (!cells) {
        view.ShowMessage(messages::COPY_FAILED);
        return;
    }
    const Rect area = m_rcSelection;
    if (cut)
        EmptyCells(area); // the selection stays, framing empty cells
    buffer.Set({0, 0, area.Width() * 16, area.Height() * 16}, cells);
}

void SelectionTool::PasteBlock(const CopyBuffer& buffer) {
    ToolContext& view = m_view;
    if (!buffer.HasCopy())
        return;
    CancelSelecting();
    DiscardFloating(); // never written into the map
    if (m_bHasSelection)
        RemoveSelection();
    m_ptDrag = {};

    // The block's cells at the top-left corner of the visible area, moved up and left when
    // it would reach past the map.
    const ViewGeometry& geometry = view.Geometry();
    const int columns = buffer.Extents().Width() / 16;
    const int rows = buffer.Extents().Height() / 16;
    const int left = geometry.LeftCol();
    const int top = geometry.TopRow();
    m_rcSelection = ShiftIntoMap({left, top, left + columns, top + rows});

    // Shared, not copied: a later Copy replaces the buffer's block, never changes it.
    m_pFloatCells = buffer.Cells();
    m_nFloatKind = FloatKind::Paste;
    m_bFloating = true;
    m_bHasSelection = false;
    InvalidateFloating();
}

} // namespace krav
