#pragma once

#include "document/ByteSource.h"
#include "document/TileSetBitmap.h"

#include <memory>

namespace krav {

// Reads a tile set BMP from the start of stream (a BMP file, or a level file with its own
// tile set). Raises ReadError with the text to show when the bitmap is not a 304 x 160
// 256-colour picture or memory runs out. Never reads past the end of the stream.
std::unique_ptr<TileSetBitmap> LoadTileSet(const ByteSource& stream);

// Makes the built-in tile set (never written to a level file).
std::unique_ptr<TileSetBitmap> LoadBuiltInTileSet();

} // namespace krav
