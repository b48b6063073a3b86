#include "document/LevelReader.h"

#include "document/LittleEndian.h"
#include "document/LoadTileSet.h"
#include "document/Messages.h"
#include "document/ReadError.h"

#include <algorithm>
#include <array>
#include <vector>

namespace krav {

namespace {

// A special object read from a file writes its whole footprint, row by row from the anchor.
// Cells of a footprint that would lie past the right or bottom edge are left out: nothing
// outside the grid is written, and the anchor keeps the object, which is saved back as read.
void PlaceObject(Cell* cells, int x, int y, Cell base) {
    const int side = ObjectSide(base);
    const int columns = std::min(side, MAP_SIZE - x);
    const int rows = std::min(side, MAP_SIZE - y);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            cells[(y + r) * MAP_SIZE + x + c] = base + static_cast<Cell>(r * side + c);
}

class RecordDecoder {
public:
    RecordDecoder(Cell* cells, LevelReadResult& result) : m_cells(cells), m_result(result) {}

    void Decode(std::uint32_t record) {
        const int x = static_cast<int>(record & 0xFFF);
        const int y = static_cast<int>((record >> 12) & 0xFFF);
        const int code = static_cast<int>(record >> 24);
        if (x >= MAP_SIZE || y >= MAP_SIZE) return; // skipped whatever its code
        if (code == FLAG_TILE) {
            if (m_result.initialFlags < MAX_FLAGS)
                ++m_result.initialFlags;
            else
                m_result.tooManyFlags = true;
        }
        if (code >= 1 && code <= TILE_COUNT) {
            m_cells[y * MAP_SIZE + x] = static_cast<Cell>(code - 1);
        } else if (const auto base = ObjectBaseForCode(code)) {
            PlaceObject(m_cells, x, y, *base);
        } else {
            throw ReadError(messages::TILE_ID_OUT_OF_RANGE);
        }
    }

private:
    Cell* m_cells;
    LevelReadResult& m_result;
};

} // namespace

LevelReadResult ReadLevel(const ByteSource& file, Cell* cells) {
    LevelReadResult result;
    std::array<std::uint8_t, 6> start{};
    const bool hasBmp = file.ReadAt(0, start) == start.size() && start[0] == 'B' && start[1] == 'M';
    const std::uint64_t recordsStart = hasBmp ? ReadU32(start.data() + 2) : 0;
    result.defaultTileSet = !hasBmp;
    result.tileSet = hasBmp ? LoadTileSet(file) : LoadBuiltInTileSet();
    if (!result.tileSet) throw ReadError(messages::NO_TILE_SET);

    const std::uint64_t size = file.Size();
    if (recordsStart >= size) return result; // a bfSize past the end leaves no records
    result.recordCount = (size - recordsStart) / 4;

    // Records are decoded in chunks so that a huge file needs no huge buffer.
    constexpr std::size_t chunkRecords = 64 * 1024;
    std::vector<std::uint8_t> chunk;
    try {
        chunk.resize(static_cast<std::size_t>(std::min<std::uint64_t>(result.recordCount, chunkRecords) * 4));
    } catch (const std::bad_alloc&) {
        throw ReadError(messages::RECORDS_OUT_OF_MEMORY);
    }
    RecordDecoder decoder(cells, result);
    std::uint64_t offset = recordsStart;
    for (std::uint64_t left = result.recordCount; left > 0;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunkRecords));
        const std::size_t got = file.ReadAt(offset, std::span(chunk.data(), want * 4)) / 4;
        for (std::size_t i = 0; i < got; ++i) decoder.Decode(ReadU32(chunk.data() + i * 4));
        if (got < want) break; // the file shrank while we read it
        left -= want;
        offset += want * 4;
    }
    return result;
}

} // namespace krav
