#include "document/LevelWriter.h"

#include "document/LittleEndian.h"

#include <cstring>
#include <span>

namespace krav {

namespace {

std::size_t BmpSize(const TileSetBitmap& tileSet) {
    return BMP_STANDARD_SIZE + tileSet.trailingBytes.size();
}

// Copies bytes to out and returns the position after them.
std::uint8_t* Put(std::uint8_t* out, std::span<const std::uint8_t> bytes) {
    if (!bytes.empty())
        std::memcpy(out, bytes.data(), bytes.size());
    return out + bytes.size();
}

std::uint8_t* PutBmp(std::uint8_t* out, const TileSetBitmap& tileSet) {
    // bfSize is the real size of what is written: the same as read for every complete BMP,
    // corrected for one that ended early, so that the records are found again at bfSize.
    std::array<std::uint8_t, BMP_FILE_HEADER_SIZE> fileHeader = tileSet.fileHeader;
    WriteU32(fileHeader.data() + 2, static_cast<std::uint32_t>(BmpSize(tileSet)));
    out = Put(out, fileHeader);
    out = Put(out, tileSet.infoHeader);
    out = Put(out, tileSet.colourTable);
    out = Put(out, tileSet.pixels);
    return Put(out, tileSet.trailingBytes);
}

// Whether a cell is written as a record: a tile or an object's anchor. Counted over the whole
// map before writing, so it is written to compile into a loop without branches.
bool IsRecordCell(Cell v) {
    bool anchor = false;
    for (const SpecialObject& object : SPECIAL_OBJECTS)
        anchor |= v == object.base;
    return IsTileCell(v) | anchor;
}

} // namespace

std::vector<std::uint8_t> WriteTileSetBmp(const TileSetBitmap& tileSet) {
    std::vector<std::uint8_t> out(BmpSize(tileSet));
    PutBmp(out.data(), tileSet);
    return out;
}

std::vector<std::uint8_t> WriteLevel(const Cell* cells, const TileSetBitmap* tileSet) {
    std::size_t records = 0;
    for (int i = 0; i < MAP_CELLS; ++i)
        records += IsRecordCell(cells[i]);

    std::vector<std::uint8_t> out((tileSet ? BmpSize(*tileSet) : 0) + records * 4);
    std::uint8_t* at = tileSet ? PutBmp(out.data(), *tileSet) : out.data();
    for (int y = 0; y < MAP_SIZE; ++y) {
        for (int x = 0; x < MAP_SIZE; ++x) {
            const Cell v = cells[y * MAP_SIZE + x];
            int code;
            if (IsTileCell(v)) [[likely]] {
                code = static_cast<int>(v) + 1;
            } else if (const auto objectCode = CodeForCell(v)) {
                code = *objectCode;
            } else {
                continue;
            }
            WriteU32(at, static_cast<std::uint32_t>(code) << 24 |
                             static_cast<std::uint32_t>(y) << 12 | static_cast<std::uint32_t>(x));
            at += 4;
        }
    }
    return out;
}

} // namespace krav
