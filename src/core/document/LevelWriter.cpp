#include "document/LevelWriter.h"

#include "document/LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace krav {

namespace {

void AppendBmp(std::vector<std::uint8_t>& out, const TileSetBitmap& tileSet) {
    // bfSize is the real size of what is written: the same as read for every complete BMP,
    // corrected for one that ended early, so that the records are found again at bfSize.
    std::array<std::uint8_t, BMP_FILE_HEADER_SIZE> fileHeader = tileSet.fileHeader;
    WriteU32(fileHeader.data() + 2,
             static_cast<std::uint32_t>(BMP_STANDARD_SIZE + tileSet.trailingBytes.size()));
    out.insert(out.end(), fileHeader.begin(), fileHeader.end());
    out.insert(out.end(), tileSet.infoHeader.begin(), tileSet.infoHeader.end());
    out.insert(out.end(), tileSet.colourTable.begin(), tileSet.colourTable.end());
    out.insert(out.end(), tileSet.pixels.begin(), tileSet.pixels.end());
    out.insert(out.end(), tileSet.trailingBytes.begin(), tileSet.trailingBytes.end());
}

} // namespace

std::vector<std::uint8_t> WriteLevel(const Cell* cells, const TileSetBitmap* tileSet) {
    std::size_t records = 0;
    for (int i = 0; i < MAP_CELLS; ++i) records += CodeForCell(cells[i]).has_value();

    std::vector<std::uint8_t> out;
    out.reserve((tileSet ? BMP_STANDARD_SIZE + tileSet->trailingBytes.size() : 0) + records * 4);
    if (tileSet) AppendBmp(out, *tileSet);

    std::size_t at = out.size();
    out.resize(at + records * 4);
    for (int y = 0; y < MAP_SIZE; ++y) {
        for (int x = 0; x < MAP_SIZE; ++x) {
            const auto code = CodeForCell(cells[y * MAP_SIZE + x]);
            if (!code) continue;
            WriteU32(out.data() + at, static_cast<std::uint32_t>(*code) << 24 |
                                          static_cast<std::uint32_t>(y) << 12 |
                                          static_cast<std::uint32_t>(x));
            at += 4;
        }
    }
    return out;
}

} // namespace krav
