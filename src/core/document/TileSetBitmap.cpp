#include "document/TileSetBitmap.h"

#include "document/LittleEndian.h"

namespace krav {

std::uint32_t TileSetBitmap::FileSize() const {
    return ReadU32(fileHeader.data() + 2);
}

std::uint32_t TileSetBitmap::PixelOffset() const {
    return ReadU32(fileHeader.data() + 10);
}

std::uint32_t TileSetBitmap::ColourRgb(int index) const {
    const std::uint8_t* entry = colourTable.data() + index * 4;
    return static_cast<std::uint32_t>(entry[2]) << 16 | static_cast<std::uint32_t>(entry[1]) << 8 |
           entry[0];
}

} // namespace krav
