#pragma once

#include "document/ByteSource.h"
#include "document/TileCodes.h"
#include "document/TileSetBitmap.h"

#include <cstdint>
#include <memory>

namespace krav {

struct LevelReadResult {
    std::unique_ptr<TileSetBitmap> tileSet;
    bool defaultTileSet = true;    // no tile set in the file: the built-in one
    int initialFlags = 0;          // flags counted, at most MAX_FLAGS
    bool tooManyFlags = false;     // more flag records than MAX_FLAGS
    std::uint64_t recordCount = 0; // records in the file, skipped ones included
};

// Reads a level file into cells (MAP_CELLS of them, all EMPTY_CELL on entry).
// Raises ReadError with the text to show; cells may then hold part of the level.
LevelReadResult ReadLevel(const ByteSource& file, Cell* cells);

} // namespace krav
