#include "document/TileSetExport.h"

#include "document/LevelWriter.h"
#include "document/LittleEndian.h"

#include <cstring>

namespace krav {

std::vector<std::uint8_t> TileSetBmpFile(const TileSetBitmap& tileSet) {
    if (!tileSet.topDown)
        return WriteTileSetBmp(tileSet);
    TileSetBitmap bottomUp = tileSet;
    bottomUp.topDown = false;
    WriteU32(bottomUp.infoHeader.data() + 8, TILESET_HEIGHT);
    for (int row = 0; row < TILESET_HEIGHT; ++row)
        std::memcpy(
            &bottomUp.pixels[static_cast<std::size_t>(TILESET_HEIGHT - 1 - row) * TILESET_WIDTH],
            &tileSet.pixels[static_cast<std::size_t>(row) * TILESET_WIDTH], TILESET_WIDTH);
    return WriteTileSetBmp(bottomUp);
}

} // namespace krav
