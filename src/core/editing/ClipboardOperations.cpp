// Copy, Cut and Paste between a view's selection and the copy buffer all views share.
#include "editing/MapViewEngine.h"
#include "editing/SelectionTool.h"

namespace krav {

namespace {

constexpr const char* COPY_FAILED = "Out of memory!\nCopy could not be made.";

} // namespace

void SelectionTool::CopySelection(CopyBuffer& buffer, bool cut) {
    MapViewEngine& view = m_view;
    if (!view.m_bHasSelection || view.m_bFloating)
        return;
    // The old block goes first, so a failed copy leaves the buffer empty. A pasted block
    // still floating keeps its own share of it.
    buffer.m_hCopyCells.reset();
    buffer.m_bHasCopy = false;
    const CellBlock cells = CopyBlock(view.m_rcSelection, FLOAT_COPY);
    if (!cells) {
        view.ShowMessage(COPY_FAILED);
        return;
    }
    const Rect area = CellsOf(view.m_rcSelection);
    if (cut)
        EmptyCells(area); // the selection stays, framing empty cells
    // The size at 1:1, so that another view pastes it at its own zoom.
    buffer.m_rcCopyExtents = {0, 0, area.Width() * 16, area.Height() * 16};
    buffer.m_hCopyCells = cells;
    buffer.m_bHasCopy = true;
}

void SelectionTool::PasteBlock(const CopyBuffer& buffer) {
    MapViewEngine& view = m_view;
    if (!buffer.m_bHasCopy || !buffer.m_hCopyCells)
        return;
    CancelSelecting();
    DiscardFloating(); // never written into the map
    if (view.m_bHasSelection)
        RemoveSelection();
    m_ptDrag = {};

    // The block's cells at this view's cell size, at the top-left corner of the visible
    // area, moved up and left when it would reach past the map.
    const ViewGeometry& geometry = view.Geometry();
    const int width = static_cast<int>(buffer.m_rcCopyExtents.right * geometry.m_dZoom);
    const int height = static_cast<int>(buffer.m_rcCopyExtents.bottom * geometry.m_dZoom);
    const int left = geometry.m_nLeftCol * geometry.m_nCellWidth;
    const int top = geometry.m_nTopRow * geometry.m_nCellHeight;
    view.m_rcSelection = view.ClampIntoMap({left, top, left + width, top + height});

    // Shared, not copied: a later Copy replaces the buffer's block, never changes it.
    m_pFloatCells = buffer.m_hCopyCells;
    m_nFloatKind = FLOAT_PASTE;
    view.m_bFloating = true;
    view.m_bHasSelection = false;
    InvalidateFloating();
}

} // namespace krav
