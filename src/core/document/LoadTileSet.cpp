#include "document/LoadTileSet.h"

#include "document/BuiltinTileSet.h"
#include "document/LittleEndian.h"
#include "document/Messages.h"
#include "document/ReadError.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace krav {

namespace {

std::string CorruptSizeMessage(const char* message) {
    return std::string(message) + messages::CONTACT_ADDRESS;
}

void CheckFormat(const std::array<std::uint8_t, BMP_INFO_HEADER_SIZE>& info) {
    if (ReadI32(info.data() + 4) != TILESET_WIDTH)
        throw ReadError(CorruptSizeMessage(messages::WIDTH_NOT_304));
    // A negative height (a top-down BMP) is refused like any other height.
    if (ReadI32(info.data() + 8) != TILESET_HEIGHT)
        throw ReadError(CorruptSizeMessage(messages::HEIGHT_NOT_160));
    if (ReadU16(info.data() + 14) != 8)
        throw ReadError(messages::NOT_256_COLOURS);
}

void ReadExactly(const ByteSource& stream, std::uint64_t offset, std::span<std::uint8_t> out) {
    if (stream.ReadAt(offset, out) != out.size())
        throw ReadError(messages::BMP_TRUNCATED);
}

} // namespace

// Layout decisions for BMPs that stray from the standard 1078-byte header:
// - The pixels are always taken right after the colour table, at offset 1078, whatever
//   bfOffBits says, and bfOffBits is written back unchanged. Everything from 1078 up to
//   bfSize is kept (48,640 pixel bytes, then the trailing bytes), so such a level saves
//   back byte for byte and its records are found again at bfSize.
// - A bfSize below 1078 + 48,640 would put the records inside the pixels; it is refused.
// - A file that ends before bfSize keeps what it has: missing pixels stay black, there are
//   no records, and the writer gives the BMP its real size so later records are found.
std::unique_ptr<TileSetBitmap> LoadTileSet(const ByteSource& stream) {
    std::unique_ptr<TileSetBitmap> tileSet;
    try {
        tileSet = std::make_unique<TileSetBitmap>();
    } catch (const std::bad_alloc&) {
        throw ReadError(messages::NO_FILE_STRUCTURE);
    }
    ReadExactly(stream, 0, tileSet->fileHeader);
    ReadExactly(stream, BMP_FILE_HEADER_SIZE, tileSet->infoHeader);
    CheckFormat(tileSet->infoHeader);
    ReadExactly(stream, BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE, tileSet->colourTable);

    const std::uint64_t fileSize = tileSet->FileSize();
    if (fileSize < BMP_STANDARD_SIZE)
        throw ReadError(messages::BMP_SIZE_TOO_SMALL);

    stream.ReadAt(BMP_PIXELS_OFFSET, tileSet->pixels);
    const std::uint64_t bmpEnd = std::min(fileSize, stream.Size());
    if (bmpEnd > BMP_STANDARD_SIZE) {
        try {
            tileSet->trailingBytes.resize(static_cast<std::size_t>(bmpEnd - BMP_STANDARD_SIZE));
        } catch (const std::bad_alloc&) {
            throw ReadError(messages::NO_TILE_SET_MEMORY);
        }
        const std::size_t got = stream.ReadAt(BMP_STANDARD_SIZE, tileSet->trailingBytes);
        tileSet->trailingBytes.resize(got);
    }
    tileSet->topDown = false;
    return tileSet;
}

std::unique_ptr<TileSetBitmap> LoadBuiltInTileSet() {
    auto tileSet = std::make_unique<TileSetBitmap>();
    std::uint8_t* file = tileSet->fileHeader.data();
    file[0] = 'B';
    file[1] = 'M';
    WriteU32(file + 2, BMP_STANDARD_SIZE);
    WriteU32(file + 10, BMP_PIXELS_OFFSET);

    std::uint8_t* info = tileSet->infoHeader.data();
    WriteU32(info + 0, BMP_INFO_HEADER_SIZE);
    WriteU32(info + 4, TILESET_WIDTH);
    WriteU32(info + 8, static_cast<std::uint32_t>(-TILESET_HEIGHT)); // top-down
    WriteU16(info + 12, 1);
    WriteU16(info + 14, 8);
    WriteU32(info + 24, 2834);
    WriteU32(info + 28, 2834);

    std::memcpy(tileSet->colourTable.data(), builtin_tileset::COLOUR_TABLE, BMP_COLOUR_TABLE_SIZE);
    std::memcpy(tileSet->pixels.data(), builtin_tileset::PIXELS, TILESET_PIXEL_BYTES);
    tileSet->topDown = true;
    return tileSet;
}

} // namespace krav
