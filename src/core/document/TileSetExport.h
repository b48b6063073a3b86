#pragma once

#include "document/TileSetBitmap.h"

#include <cstdint>
#include <vector>

namespace krav {

// The tile set as a BMP file that the import reads back unchanged: an embedded one exactly as
// the level holds it, the built-in one turned bottom-up (the loader refuses top-down BMPs).
std::vector<std::uint8_t> TileSetBmpFile(const TileSetBitmap& tileSet);

} // namespace krav
