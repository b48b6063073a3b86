// Block operations of the Select tool on the map: copying and writing blocks of cells, Fill
// and the flips.
#include "document/Messages.h"
#include "editing/FlagPolicy.h"
#include "editing/ObjectGeometry.h"
#include "editing/SelectionTool.h"
#include "editing/ToolContext.h"

#include <cassert>
#include <cstddef>
#include <new>

namespace krav {

namespace {

std::size_t CellCount(const Rect& cells) {
    return static_cast<std::size_t>(cells.Width()) * static_cast<std::size_t>(cells.Height());
}

// Fill and the flips take one change per cell up front; without the memory they still
// change the map, only not undoably.
bool ReserveChanges(ChangeList& list, std::size_t count) {
    try {
        list.reserve(count);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace

CellBlock SelectionTool::CopyBlock(const Rect& mapPixels, FloatKind mode) {
    const Rect cells = CellsOf(mapPixels);
    if (cells.IsEmpty())
        return nullptr;
    std::shared_ptr<std::vector<Cell>> block;
    try {
        block = std::make_shared<std::vector<Cell>>(CellCount(cells));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    const CKRAVDoc& doc = m_view.Document();
    auto out = block->begin();
    for (int y = cells.top; y < cells.bottom; ++y)
        for (int x = cells.left; x < cells.right; ++x)
            *out++ = doc.GetCell(y, x);
    if (mode == FloatKind::Move)
        EmptyCells(cells);
    return block;
}

void SelectionTool::EmptyCells(const Rect& cells) {
    ToolContext& view = m_view;
    CKRAVDoc& doc = view.Document();
    for (int y = cells.top; y < cells.bottom; ++y) {
        for (int x = cells.left; x < cells.right; ++x) {
            const Cell old = doc.GetCell(y, x);
            ReleaseFlag(view.Flags(), old);
            RecordChange(view.PendingChanges(), x, y, old);
            doc.SetCell(y, x, EMPTY_CELL);
        }
    }
    view.InvalidateBlock(cells);
    view.PushPending();
}

bool SelectionTool::StampBlock(const Rect& mapPixels, const std::vector<Cell>& block) {
    ToolContext& view = m_view;
    const Rect cells = CellsOf(mapPixels);
    assert(block.size() == CellCount(cells));
    CKRAVDoc& doc = view.Document();
    ChangeList& list = view.PendingChanges();
    bool skipped = false;
    auto next = block.begin();
    for (int y = cells.top; y < cells.bottom; ++y) {
        for (int x = cells.left; x < cells.right; ++x) {
            Cell value = *next++;
            const Cell old = doc.GetCell(y, x);
            ReleaseFlag(view.Flags(), old);
            // Neither a tile nor an object: nothing could show it.
            if (!IsTileCell(value) && value < OBJECT_6X6)
                value = EMPTY_CELL;
            if (!AcquireFlag(view.Flags(), value)) {
                if (!skipped)
                    view.ShowMessage(messages::FLAGS_SKIPPED);
                skipped = true;
                continue;
            }
            RecordChange(list, x, y, old);
            // No piece of an object the block covers may stay behind.
            if (IsObjectCell(old))
                view.EraseObject(x, y, old, list);
            doc.SetCell(y, x, value);
        }
    }
    view.InvalidateBlock(cells);
    view.PushPending(); // pushing never fails: the history reserves its slots
    return true;
}

void SelectionTool::FillSelection() {
    ToolContext& view = m_view;
    if (!m_bHasSelection || m_bFloating)
        return;
    const Rect cells = CellsOf(m_rcSelection);
    // Tiles travel as 16-bit values: -1 becomes EMPTY_CELL.
    const Cell tile = static_cast<Cell>(view.TileOf(MouseButton::Left));

    ChangeList list;
    const bool recording = ReserveChanges(list, CellCount(cells));
    if (!recording)
        view.ShowMessage(messages::NOT_UNDOABLE);
    Cell* map = view.Document().GetCells();
    // Counted in a local: the view's count could alias the map, which would keep it in memory
    // through the whole loop.
    int flags = view.Flags();
    bool cancelled = false;
    for (int y = cells.top; y < cells.bottom; ++y) {
        for (int x = cells.left; x < cells.right; ++x) {
            Cell& cell = map[y * MAP_SIZE + x];
            // A flag already there is counted off and back on, so it is always rewritten.
            ReleaseFlag(flags, cell);
            if (!AcquireFlag(flags, tile)) {
                if (!cancelled) {
                    view.Flags() = flags;
                    view.ShowMessage(messages::FILL_CANCELLED);
                }
                cancelled = true;
                continue;
            }
            if (recording)
                RecordChange(list, x, y, cell);
            cell = tile;
        }
    }
    view.Flags() = flags;
    view.SetModified();
    view.InvalidateBlock(cells);
    if (recording)
        view.History().PushUndo(UndoKind::Fill, std::move(list));
}

void SelectionTool::FlipHorizontal() {
    MirrorSelection(true);
}

void SelectionTool::FlipVertical() {
    MirrorSelection(false);
}

void SelectionTool::MirrorSelection(bool horizontal) {
    ToolContext& view = m_view;
    if (!m_bHasSelection || m_bFloating)
        return;
    const CellBlock copy = CopyBlock(m_rcSelection, FloatKind::None);
    if (!copy) {
        view.ShowMessage(messages::CANNOT_FLIP);
        return;
    }
    const Rect cells = CellsOf(m_rcSelection);
    const int width = cells.Width();
    const int height = cells.Height();

    ChangeList list;
    const bool recording = ReserveChanges(list, CellCount(cells));
    if (!recording)
        view.ShowMessage(messages::NOT_UNDOABLE);
    Cell* map = view.Document().GetCells();
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const int fromRow = horizontal ? row : height - 1 - row;
            const int fromColumn = horizontal ? width - 1 - column : column;
            const Cell source = (*copy)[static_cast<std::size_t>(fromRow * width + fromColumn)];
            // An object's cells swap places within it as well, so it lands upright; anything
            // else is its own mirror.
            const Cell value = !IsObjectCell(source) ? source
                               : horizontal          ? MirrorH(source)
                                                     : MirrorV(source);
            const int x = cells.left + column;
            const int y = cells.top + row;
            Cell& cell = map[y * MAP_SIZE + x];
            if (recording)
                RecordChange(list, x, y, cell);
            cell = value;
        }
    }
    // The same cells rearranged: the flag count stays as it is.
    view.SetModified();
    view.InvalidateBlock(cells);
    if (recording)
        view.History().PushUndo(UndoKind::Cells, std::move(list));
}

} // namespace krav
