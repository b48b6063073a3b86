#pragma once

#include "document/TileCodes.h"

#include <string>
#include <string_view>
#include <vector>

namespace krav {

// A level's text (DumpLevel's form) read back: what the level file holds, not yet a map.
struct LevelTextRead {
    bool embeddedTileSet = false; // "tileset: embedded ...": the level carries its own
    std::string sha256;           // of that tile set's BMP, when the text names it
    // The cells as saved: tiles, objects' anchors (their other cells are left empty) and cells
    // of unknown codes; MAP_CELLS of them.
    std::vector<Cell> cells;
    // Why the text is no level's text, and on which line (0: the text as a whole); empty
    // when it is one.
    std::string error;
    int errorLine = 0;
};

// Reads a level's text. Every line must be one the form has; the header's counts, when given,
// must be what the rows hold, which also finds a text cut short. Cells of unknown codes
// ("?CODE") are read only with keepUnknown.
LevelTextRead ReadLevelText(std::string_view text, bool keepUnknown);

} // namespace krav
