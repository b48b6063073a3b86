#pragma once

#include "editing/ToolIds.h"

namespace krav {

// Command ids of menus, toolbars and keys (the tools are in ToolIds.h).
inline constexpr int ID_VIEW_TOOLS_TOOLBAR = 130;
inline constexpr int ID_TOGGLE_GRID = 32200;
inline constexpr int ID_FILL_SELECTION = 32300;
inline constexpr int ID_FLIP_HORIZONTAL = 32301;
inline constexpr int ID_FLIP_VERTICAL = 32302;
inline constexpr int ID_TOGGLE_TILESET = 32401;
inline constexpr int ID_TOGGLE_SPECIAL_OBJECTS = 32402;
inline constexpr int ID_TOGGLE_RADAR = 32403;
inline constexpr int ID_TOGGLE_TILE_INFO = 32404;
inline constexpr int ID_ERASE_MAP = 32505;
inline constexpr int ID_DROP_SELECTION = 32518;
inline constexpr int ID_FLOAT_SELECTION = 32519;
inline constexpr int ID_IMPORT_TILESET = 32520;
inline constexpr int ID_EXPORT_TILED_MAP = 32530;
inline constexpr int ID_IMPORT_TILED_MAP = 32531;
inline constexpr int ID_EXPORT_TILESET = 32532;
inline constexpr int ID_EXPORT_PICTURE = 32533;
inline constexpr int ID_DETAILED_TILES = 32540;
inline constexpr int ID_PREV_FORE_TILE = 32525;
inline constexpr int ID_NEXT_FORE_TILE = 32526;
inline constexpr int ID_PREV_BACK_TILE = 32527;
inline constexpr int ID_NEXT_BACK_TILE = 32528;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;

// Commands the application itself carries out (files, windows, bars, About).
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;
inline constexpr int ID_WINDOW_CASCADE = 57650;
inline constexpr int ID_WINDOW_TILE_HORZ = 57651;
inline constexpr int ID_WINDOW_TILE_VERT = 57652;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
// Keys of the accelerator table that reach no handler.
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;

} // namespace krav
