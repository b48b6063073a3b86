#include "frame/MainFrameHub.h"

#include "document/Messages.h"
#include "editing/MapViewEngine.h"
#include "frame/CommandIds.h"

namespace krav {

namespace {

PaletteWindow PaletteOf(int id) {
    switch (id) {
    case ID_TOGGLE_TILESET:
        return PaletteWindow::TileSet;
    case ID_TOGGLE_SPECIAL_OBJECTS:
        return PaletteWindow::SpecialObjects;
    case ID_TOGGLE_RADAR:
        return PaletteWindow::Radar;
    default:
        return PaletteWindow::TileInfo;
    }
}

bool IsPaletteToggle(int id) {
    return id >= ID_TOGGLE_TILESET && id <= ID_TOGGLE_TILE_INFO;
}

} // namespace

void MainFrameHub::SetActiveView(MapViewEngine* view) {
    m_pActiveView = view;
    if (!view)
        return;
    m_nPaletteFore = view->ForeTile();
    m_nPaletteBack = view->BackTile();
    m_frame.TileChoiceChanged(m_nPaletteFore, true);
    m_frame.TileChoiceChanged(m_nPaletteBack, false);
}

void MainFrameHub::ViewOpened() {
    if (m_nOpenViews <= 0) {
        m_frame.ShowPalette(PaletteWindow::Radar, true);
        m_frame.ShowPalette(PaletteWindow::TileSet, true);
        m_frame.ShowPalette(PaletteWindow::TileInfo, true);
    }
    ++m_nOpenViews;
}

void MainFrameHub::ViewClosed() {
    if (m_nOpenViews == 1) {
        m_frame.ShowPalette(PaletteWindow::Radar, false);
        m_frame.ShowPalette(PaletteWindow::TileSet, false);
        m_frame.ShowPalette(PaletteWindow::TileInfo, false);
    }
    --m_nOpenViews;
}

void MainFrameHub::SetCurrentTile(int tile, bool isFore, bool fromPalette) {
    (isFore ? m_nPaletteFore : m_nPaletteBack) = tile;
    if (fromPalette && m_pActiveView) {
        m_pActiveView->SetForeBack(tile, isFore);
        if (m_pActiveView->HasSelection() || m_pActiveView->IsFloating()) {
            m_nCurrentTool = ID_TOOL_SELECT; // the selection stays; no tool change for the view
        } else if (!IsShapeTool(m_nCurrentTool)) {
            m_pActiveView->ChangeTool(m_nCurrentTool, ID_TOOL_PENCIL);
            m_nCurrentTool = ID_TOOL_PENCIL;
        }
    }
    m_frame.TileChoiceChanged(tile, isFore);
}

bool MainFrameHub::ChooseTile(int tile, bool isFore) {
    if (tile == (isFore ? m_nPaletteFore : m_nPaletteBack))
        return false;
    SetCurrentTile(tile, isFore, true);
    return true;
}

void MainFrameHub::SelectStampObject(Cell object) {
    m_nStampObject = object;
    if (m_pActiveView)
        m_pActiveView->ChangeTool(m_nCurrentTool, ID_TOOL_STAMP);
    m_nCurrentTool = ID_TOOL_STAMP;
}

void MainFrameHub::OnToolCommand(int tool) {
    if (tool == ID_TOOL_STAMP) {
        // Taken before the view asks for it while it changes tools.
        m_nStampObject = m_frame.SpecialObjectsChoice();
        if (!m_frame.IsPaletteVisible(PaletteWindow::SpecialObjects))
            m_frame.ShowPalette(PaletteWindow::SpecialObjects, true);
    }
    if (m_pActiveView)
        m_pActiveView->ChangeTool(m_nCurrentTool, tool);
    m_nCurrentTool = tool;
}

void MainFrameHub::StepTile(bool next, bool isFore) {
    if (!m_frame.IsPaletteVisible(PaletteWindow::TileSet))
        return;
    const int current = isFore ? m_nPaletteFore : m_nPaletteBack;
    const int tile = next ? (current + 1 >= TILE_COUNT ? 0 : current + 1)
                          : (current - 1 < 0 ? TILE_COUNT - 1 : current - 1);
    SetCurrentTile(tile, isFore, true);
}

void MainFrameHub::CopyOrCut(bool cut) {
    m_copy.Clear(); // even when there is nothing to copy; a pasted block keeps its own share
    m_pActiveView->Selection().CopySelection(m_copy, cut);
}

void MainFrameHub::Paste() {
    m_pActiveView->Selection().PasteBlock(m_copy);
    m_pActiveView->ChangeTool(m_nCurrentTool, ID_TOOL_SELECT);
    m_nCurrentTool = ID_TOOL_SELECT;
}

void MainFrameHub::TogglePalette(PaletteWindow palette) {
    m_frame.ShowPalette(palette, !m_frame.IsPaletteVisible(palette));
}

bool MainFrameHub::Handles(int id) {
    if (id >= ID_TOOL_FIRST && id <= ID_TOOL_LAST)
        return true;
    switch (id) {
    case ID_VIEW_TOOLS_TOOLBAR:
    case ID_TOGGLE_GRID:
    case ID_FILL_SELECTION:
    case ID_FLIP_HORIZONTAL:
    case ID_FLIP_VERTICAL:
    case ID_TOGGLE_TILESET:
    case ID_TOGGLE_SPECIAL_OBJECTS:
    case ID_TOGGLE_RADAR:
    case ID_TOGGLE_TILE_INFO:
    case ID_ERASE_MAP:
    case ID_DROP_SELECTION:
    case ID_FLOAT_SELECTION:
    case ID_IMPORT_TILESET:
    case ID_PREV_FORE_TILE:
    case ID_NEXT_FORE_TILE:
    case ID_PREV_BACK_TILE:
    case ID_NEXT_BACK_TILE:
    case ID_EDIT_COPY:
    case ID_EDIT_CUT:
    case ID_EDIT_PASTE:
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO:
        return true;
    default:
        return false;
    }
}

CommandState MainFrameHub::State(int id) const {
    const MapViewEngine* view = m_pActiveView;
    const bool selection = view && view->HasSelection();
    if (id >= ID_TOOL_FIRST && id <= ID_TOOL_LAST)
        return {view != nullptr, view && id == m_nCurrentTool};
    if (IsPaletteToggle(id))
        return {view != nullptr, m_frame.IsPaletteVisible(PaletteOf(id))};
    switch (id) {
    case ID_VIEW_TOOLS_TOOLBAR:
        return {true, m_frame.IsToolsToolbarVisible()};
    case ID_TOGGLE_GRID: {
        const int grid = view ? view->GetGridState() : -1;
        return {grid >= 0, grid == 1};
    }
    case ID_FILL_SELECTION:
    case ID_FLIP_HORIZONTAL:
    case ID_FLIP_VERTICAL:
    case ID_FLOAT_SELECTION:
    case ID_EDIT_COPY:
    case ID_EDIT_CUT:
        return {selection, false};
    case ID_DROP_SELECTION:
        return {view && view->IsFloating(), false};
    case ID_IMPORT_TILESET:
        return {view != nullptr, false};
    case ID_EDIT_PASTE:
        return {view && m_copy.HasCopy(), false};
    case ID_EDIT_UNDO:
        return {view && view->CanUndo(), false};
    case ID_EDIT_REDO:
        return {view && view->CanRedo(), false};
    case ID_ERASE_MAP:
    case ID_PREV_FORE_TILE:
    case ID_NEXT_FORE_TILE:
    case ID_PREV_BACK_TILE:
    case ID_NEXT_BACK_TILE:
        return {true, false};
    default:
        return {};
    }
}

bool MainFrameHub::Execute(int id) {
    if (!Handles(id) || !State(id).enabled)
        return false;
    MapViewEngine* view = m_pActiveView;
    if (id >= ID_TOOL_FIRST && id <= ID_TOOL_LAST) {
        OnToolCommand(id);
        return true;
    }
    if (IsPaletteToggle(id)) {
        TogglePalette(PaletteOf(id));
        return true;
    }
    switch (id) {
    case ID_VIEW_TOOLS_TOOLBAR:
        m_frame.ShowToolsToolbar(!m_frame.IsToolsToolbarVisible());
        break;
    case ID_TOGGLE_GRID:
        view->ToggleGrid();
        break;
    case ID_FILL_SELECTION:
        view->Selection().FillSelection();
        break;
    case ID_FLIP_HORIZONTAL:
        view->Selection().FlipHorizontal();
        break;
    case ID_FLIP_VERTICAL:
        view->Selection().FlipVertical();
        break;
    case ID_ERASE_MAP:
        if (m_prompt.AskYesNo(messages::ERASE_MAP_TITLE, messages::ERASE_MAP_QUESTION) && view)
            view->EraseMap();
        break;
    case ID_DROP_SELECTION:
        view->Selection().DropSelection();
        break;
    case ID_FLOAT_SELECTION:
        view->Selection().FloatSelection();
        break;
    case ID_IMPORT_TILESET:
        m_frame.RunImportTileset();
        break;
    case ID_PREV_FORE_TILE:
        StepTile(false, true);
        break;
    case ID_NEXT_FORE_TILE:
        StepTile(true, true);
        break;
    case ID_PREV_BACK_TILE:
        StepTile(false, false);
        break;
    case ID_NEXT_BACK_TILE:
        StepTile(true, false);
        break;
    case ID_EDIT_COPY:
        CopyOrCut(false);
        break;
    case ID_EDIT_CUT:
        CopyOrCut(true);
        break;
    case ID_EDIT_PASTE:
        Paste();
        break;
    case ID_EDIT_UNDO:
        view->UndoRedo(ApplyMode::Undo);
        break;
    case ID_EDIT_REDO:
        view->UndoRedo(ApplyMode::Redo);
        break;
    default:
        return false;
    }
    return true;
}

} // namespace krav
