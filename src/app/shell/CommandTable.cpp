#include "shell/CommandTable.h"

#include "frame/Accelerators.h"
#include "frame/CommandIds.h"

#include <algorithm>

namespace krav {

namespace {

// The keys come from the accelerator table that krav-lvl play's accel reads too.
QStringList KeysOfCommand(int id) {
    QStringList keys;
    for (const std::string_view key : KeysOf(id))
        keys.append(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
    return keys;
}

// Prompt and tooltip are kept together as "prompt\ntooltip", as the string table holds them.
CommandInfo Command(int id, const char* text, const char* promptAndTip, const char* icon = "") {
    const QString both = QString::fromUtf8(promptAndTip);
    const int split = both.indexOf(QLatin1Char('\n'));
    return {id,
            QString::fromUtf8(text),
            KeysOfCommand(id),
            split < 0 ? both : both.left(split),
            split < 0 ? QString() : both.mid(split + 1),
            QString::fromUtf8(icon)};
}

std::vector<CommandInfo> MakeTable() {
    return {
        Command(ID_FILE_NEW, "&New\tCtrl+N", "Create a new level\nNew", "toolbar/new.xpm"),
        Command(ID_FILE_OPEN, "&Open...\tCtrl+O", "Open an existing level\nOpen",
                "toolbar/open.xpm"),
        Command(ID_FILE_CLOSE, "&Close", "Close the active level\nClose"),
        Command(ID_FILE_SAVE, "&Save\tCtrl+S", "Save the active level\nSave", "toolbar/save.xpm"),
        Command(ID_FILE_SAVE_AS, "Save &As...", "Save the active level with a new name\nSave As"),
        Command(ID_IMPORT_TILESET, "Import Tileset...",
                "Imports and Previews tilesets.\nImport tileset"),
        Command(ID_EXPORT_TILESET, "Export Tileset...",
                "Write the active level's tile set as a BMP\nExport tileset"),
        Command(ID_EXPORT_PICTURE, "Export Pic&ture...",
                "Write a picture of the active level as a PNG\nExport picture"),
        Command(ID_EXPORT_TILED_MAP, "&Tiled Map (.tmx)...",
                "Write the active level as a Tiled map\nExport Tiled map"),
        Command(ID_IMPORT_TILED_MAP, "Import Tile&d Map...",
                "Make a new level of a Tiled map\nImport Tiled map"),
        Command(ID_FILE_PRINT, "&Print...\tCtrl+P", "Print the active level\nPrint",
                "toolbar/print.xpm"),
        Command(ID_FILE_PRINT_PREVIEW, "Print Pre&view", "Display full pages\nPrint Preview"),
        Command(ID_FILE_PRINT_SETUP, "P&rint Setup...",
                "Change the printer and printing options\nPrint Setup"),
        Command(ID_APP_EXIT, "E&xit", "Quit the application; prompts to save levels\nExit"),
        Command(ID_EDIT_UNDO, "&Undo\tCtrl+Z", "Undo the last action\nUndo", "toolbar/undo.xpm"),
        Command(ID_EDIT_REDO, "Redo\tCtrl+Y", "Redo the previously undone action\nRedo",
                "toolbar/redo.xpm"),
        Command(ID_EDIT_CUT, "Cu&t\tCtrl+X", "Clears a selection of all Tiles\nCut",
                "toolbar/cut.xpm"),
        Command(ID_EDIT_COPY, "&Copy\tCtrl+C",
                "Copy the selection and put it on the Clipboard\nCopy", "toolbar/copy.xpm"),
        Command(ID_EDIT_PASTE, "&Paste\tCtrl+V", "Insert Clipboard contents\nPaste",
                "toolbar/paste.xpm"),
        Command(ID_ERASE_MAP, "Erase Map", "Erases all tiles from the map.\nErase Map"),
        Command(ID_FLOAT_SELECTION, "Float Selection",
                "Floats the current selection.\nFloat Selection"),
        Command(ID_DROP_SELECTION, "Drop Selection",
                "Places tiles in a floating selection onto the map.\nDrop Selection"),
        Command(ID_FILL_SELECTION, "&Fill Selection\tCtrl+F",
                "Fill selection with current tile.\nFill", "toolbar/fill.xpm"),
        Command(ID_FLIP_HORIZONTAL, "Horizontally",
                "Flips selection horizontally.\nFlip Horizontal", "toolbar/flip_horizontal.xpm"),
        Command(ID_FLIP_VERTICAL, "Vertically", "Flips selection vertically.\nFlip Vertical",
                "toolbar/flip_vertical.xpm"),
        Command(ID_VIEW_TOOLBAR, "&Main Toolbar",
                "Show or hide the Main toolbar\nToggle Main ToolBar"),
        Command(ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar\nToggle StatusBar"),
        Command(ID_VIEW_TOOLS_TOOLBAR, "&Tools Toolbar",
                "Show or Hide the Tools toolbar\nToggle Tools ToolBar"),
        Command(ID_TOGGLE_TILESET, "Tile &Set",
                "Show or hide the tile set palette\nToggle Tile Set Palette",
                "toolbar/tileset.xpm"),
        Command(ID_TOGGLE_TILE_INFO, "Tile Info",
                "Show/Hide Tile Info Window.\nToggle Tile Info Window", "toolbar/tile_info.xpm"),
        Command(ID_TOGGLE_SPECIAL_OBJECTS, "Special &Objects",
                "Show or hide Special Objects Palette\nToggle Special Objects palette",
                "toolbar/objects_palette.xpm"),
        Command(ID_TOGGLE_RADAR, "&Radar", "Show or hide Radar Window\nToggle Radar Window",
                "toolbar/radar.xpm"),
        Command(ID_TOGGLE_GRID, "Toggle &Grid", "Toggles Grid on and off\nToggle Map Grid",
                "toolbar/grid.xpm"),
        Command(ID_DETAILED_TILES, "&Detailed Tiles When Zoomed Out",
                "Draws the tiles' own pictures, shrunk, at 1:4 and below\nDetailed Tiles"),
        Command(ID_TOOL_PENCIL, "Pencil", "Draws one tile on the grid\nPencil",
                "toolbar/pencil.xpm"),
        Command(ID_TOOL_SELECT, "Selection",
                "Make selections for cutting, copying, moving, etc...\nSelect",
                "toolbar/select.xpm"),
        Command(ID_TOOL_ERASER, "Eraser", "Erases one tile.\nEraser", "toolbar/eraser.xpm"),
        Command(ID_TOOL_DROPPER, "Dropper",
                "Selects the current fore/back tile from the map.\nDropper", "toolbar/dropper.xpm"),
        Command(ID_TOOL_STAMP, "Stamper", "Stamp a Special Object onto the map.\nRubber Stamp",
                "toolbar/stamp.xpm"),
        Command(ID_TOOL_MAGNIFY, "Zoom", "Zoom the map larger/smaller.\nMagnify",
                "toolbar/magnify.xpm"),
        Command(ID_TOOL_LINE, "Line", "Draws lines with the current tile.\nLine",
                "toolbar/line.xpm"),
        Command(ID_TOOL_CONNECTED_LINE, "Segmented Line",
                "Draw lines by connecting the dots.\nConnected Line", "toolbar/connected_line.xpm"),
        Command(ID_TOOL_RECTANGLE, "Rectangle", "Draws squares or rectangles.\nRectangle",
                "toolbar/rectangle.xpm"),
        Command(ID_TOOL_FILLED_RECTANGLE, "Filled Rectangle",
                "Draws filled squares or rectangles.\nFilled square or rectangle",
                "toolbar/filled_rectangle.xpm"),
        Command(ID_TOOL_ELLIPSE, "Ellipse", "Draws circles or ellipses.\nCircle or Ellipse",
                "toolbar/ellipse.xpm"),
        Command(ID_TOOL_FILLED_ELLIPSE, "Filled Elipse",
                "Draws filled circles or ellipses.\nFilled circle or ellipse.",
                "toolbar/filled_ellipse.xpm"),
        Command(ID_WINDOW_CASCADE, "&Cascade", "Arrange windows so they overlap\nCascade Windows"),
        Command(ID_WINDOW_TILE_HORZ, "&Tile Horizontally",
                "Arrange windows as non-overlapping tiles\nTile Windows"),
        Command(ID_WINDOW_TILE_VERT, "Tile &Vertically",
                "Arrange windows side by side\nTile Windows"),
        Command(ID_APP_ABOUT, "&About KRAV...", "Display program information and version\nAbout",
                "toolbar/about.xpm"),
        // Keys without a menu entry: step the tiles chosen in the tile set palette.
        Command(ID_PREV_FORE_TILE, "", ""),
        Command(ID_NEXT_FORE_TILE, "", ""),
        Command(ID_PREV_BACK_TILE, "", ""),
        Command(ID_NEXT_BACK_TILE, "", ""),
    };
}

} // namespace

const std::vector<CommandInfo>& CommandTable() {
    static const std::vector<CommandInfo> table = MakeTable();
    return table;
}

const CommandInfo* FindCommand(int id) {
    const auto& table = CommandTable();
    const auto found =
        std::find_if(table.begin(), table.end(), [id](const CommandInfo& c) { return c.id == id; });
    return found == table.end() ? nullptr : &*found;
}

} // namespace krav
