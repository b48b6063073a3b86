#pragma once

#include "document/TileCodes.h"
#include "document/TileSetBitmap.h"

#include <cstdint>
#include <vector>

namespace krav {

// The bytes of a level file: the tile set as a BMP when the level has its own
// (tileSet not null), then one record per tile or object anchor, row by row.
std::vector<std::uint8_t> WriteLevel(const Cell* cells, const TileSetBitmap* tileSet);

// The tile set's BMP exactly as a level embeds it.
std::vector<std::uint8_t> WriteTileSetBmp(const TileSetBitmap& tileSet);

} // namespace krav
