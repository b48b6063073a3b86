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

// Reads a level file into cells (MAP_CELLS of them, whatever they hold on entry): every cell
// the file leaves out becomes EMPTY_CELL. Raises ReadError with the text to show; cells then
// hold no level, only parts of this one and of what they held before.
LevelReadResult ReadLevel(const ByteSource& file, Cell* cells);

} // namespace krav
