#include "document/LevelReader.h"

#include "document/LittleEndian.h"
#include "document/LoadTileSet.h"
#include "document/Messages.h"
#include "document/ReadError.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace krav {

namespace {

// Calls visit(cell, value) for the cells of the footprint of the object whose anchor is cell
// `at`, row by row. Cells that would lie past the right or bottom edge are left out.
template <typename Visit> void ForEachFootprintCell(Cell* cells, int at, Cell base, Visit visit) {
    const int side = ObjectSide(base);
    const int x = at % MAP_SIZE, y = at / MAP_SIZE;
    const int columns = std::min(side, MAP_SIZE - x);
    const int rows = std::min(side, MAP_SIZE - y);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            visit(cells[at + r * MAP_SIZE + c], base + static_cast<Cell>(r * side + c));
}

// Whether a cell holds the anchor of an object of more than one cell; without a branch, as
// it is asked for every record.
bool IsMultiCellAnchor(Cell v) {
    bool anchor = false;
    for (const SpecialObject& object : SPECIAL_OBJECTS)
        anchor |= object.side > 1 && v == object.base;
    return anchor;
}

// Anchors at which objects of more than one cell were placed.
class PlacedAnchors {
public:
    void Add(int at) {
        try {
            // A file may place objects at the same anchors over and over: keep each anchor once
            // when the list has grown large, so that it never holds much more than the map has
            // cells, and leave room for at least as many again before the next time.
            if (m_anchors.size() == m_anchors.capacity() && m_anchors.size() >= MAP_CELLS / 16) {
                Compact();
                if (m_anchors.size() > m_anchors.capacity() / 2)
                    m_anchors.reserve(m_anchors.capacity() * 2);
            }
            m_anchors.push_back(at);
        } catch (const std::bad_alloc&) {
            throw ReadError(messages::RECORDS_OUT_OF_MEMORY);
        }
    }

    // The anchors in the order added; some may be there more than once.
    const std::vector<int>& AsAdded() const { return m_anchors; }

    // Each anchor once, row by row.
    const std::vector<int>& InRowOrder() {
        Compact();
        return m_anchors;
    }

private:
    void Compact() {
        std::sort(m_anchors.begin(), m_anchors.end());
        m_anchors.erase(std::unique(m_anchors.begin(), m_anchors.end()), m_anchors.end());
    }

    std::vector<int> m_anchors;
};

class RecordDecoder {
public:
    // cellsEmpty: every cell is EMPTY_CELL already, so no gap needs clearing.
    RecordDecoder(Cell* cells, LevelReadResult& result, std::uint64_t recordsStart,
                  bool keepUnknown, bool cellsEmpty)
        : m_cells(cells), m_result(result), m_recordsStart(recordsStart),
          m_keepUnknown(keepUnknown), m_clearedTo(cellsEmpty ? MAP_CELLS : 0) {}

    // Out of line: inlined into DecodeAll's loop it would crowd out the fast path's registers.
    // `from` is where the record lies in the records given to DecodeAll.
    [[gnu::noinline]] void Decode(std::uint32_t record, const std::uint8_t* from) {
        const int x = static_cast<int>(record & 0xFFF);
        const int y = static_cast<int>((record >> 12) & 0xFFF);
        const int code = static_cast<int>(record >> 24);
        if (x >= MAP_SIZE || y >= MAP_SIZE)
            return; // skipped whatever its code
        if (code == FLAG_TILE)
            CountFlags(1);
        const int at = y * MAP_SIZE + x;
        if (code >= 1 && code <= TILE_COUNT) {
            // A tile over an object's anchor is found in Finish.
            ClearBefore(at, 1);
            m_cells[at] = static_cast<Cell>(code - 1);
        } else if (const auto base = ObjectBaseForCode(code)) {
            const int side = ObjectSide(*base);
            const int lastRow = std::min(y + side, MAP_SIZE) - 1;
            const int lastColumn = std::min(x + side, MAP_SIZE) - 1;
            ClearUpTo(lastRow * MAP_SIZE + lastColumn + 1); // the footprint's last cell
            // A special object writes its whole footprint, row by row from the anchor; past the
            // right or bottom edge nothing is written, and the anchor keeps the object, which is
            // saved back as read. A file as saved never puts one over a cell already set: a
            // footprint comes after its anchor row by row, and footprints do not overlap.
            ForEachFootprintCell(m_cells, at, *base, [this](Cell& cell, Cell value) {
                if (cell != EMPTY_CELL && cell != value)
                    m_overlapped = true;
                cell = value;
            });
            if (*base != OBJECT_1X1)
                m_placed.Add(at);
        } else {
            NoteUnknown(from, x, y, code);
            if (m_keepUnknown) {
                ClearBefore(at, 1);
                m_cells[at] = KeptCell(code);
            }
        }
    }

    // Gives the cells from where clearing stopped up to (not including) `end` EMPTY_CELL,
    // before a record writes up to there. Records come row by row as a rule, so the map is
    // cleared gap by gap in passing instead of all of it before it is written.
    void ClearUpTo(int end) {
        if (end > m_clearedTo) {
            std::fill(m_cells + m_clearedTo, m_cells + end, EMPTY_CELL);
            m_clearedTo = end;
        }
    }

    // Decodes count records; the common ones, plain tiles within the map, without a call.
    // Whether such a tile covered an object's anchor is asked once at the end (Finish).
    // `firstIndex` is the number of the first of them in the file.
    void DecodeAll(const std::uint8_t* records, std::size_t count, std::uint64_t firstIndex) {
        m_chunk = records;
        m_chunkIndex = firstIndex;
        std::size_t i = 0;
        // A level saved row by row holds runs of records for consecutive cells: a run of
        // plain tiles is stored in a loop that only copies codes.
        for (; i + RUN <= count; i += RUN)
            if (!DecodeTileRun(records + i * 4))
                DecodeEach(records + i * 4, RUN);
        DecodeEach(records + i * 4, count - i);
    }

    // Overlapping objects, or a tile on an object's anchor, leave pieces of objects that saving
    // would drop or cut otherwise, and the level would open as another map next time. So the map
    // is made what saving it and reading it back gives: pieces go, tiles and anchors (what is
    // saved) stay, and each anchor, row by row, fills its footprint again around them.
    void Finish() {
        ClearUpTo(MAP_CELLS);
        // An anchor that holds no anchor any more lost it to a tile (the rest of that object
        // stayed behind), or to another object's footprint, which was noticed when written.
        for (const int at : m_placed.AsAdded())
            m_overlapped |= !IsMultiCellAnchor(m_cells[at]);
        m_result.objectsSettled = m_overlapped;
        if (!m_overlapped)
            return;
        const auto saved = [](Cell cell) { return CodeForCell(cell).has_value(); };
        const std::vector<int>& anchors = m_placed.InRowOrder();
        for (const int at : anchors)
            ForEachFootprintCell(m_cells, at, OBJECT_6X6, [&](Cell& cell, Cell) {
                if (!saved(cell))
                    cell = EMPTY_CELL; // the widest footprint covers every piece
            });
        for (const int at : anchors) {
            const Cell anchor = m_cells[at];
            if (ObjectSide(anchor) < 2)
                continue;
            ForEachFootprintCell(m_cells, at, anchor, [&](Cell& cell, Cell value) {
                if (!saved(cell))
                    cell = value;
            });
        }
    }

private:
    static constexpr std::size_t RUN = 16;

    static bool IsPlainTileCode(std::uint32_t code) {
        return code - 1 < static_cast<std::uint32_t>(TILE_COUNT) && code != FLAG_TILE;
    }

    void NoteUnknown(const std::uint8_t* from, int x, int y, int code) {
        UnknownRecords& unknown = m_result.unknown;
        if (unknown.count++ == 0) {
            unknown.firstOffset =
                m_recordsStart +
                (m_chunkIndex + static_cast<std::uint64_t>(from - m_chunk) / 4) * 4;
            unknown.firstX = x;
            unknown.firstY = y;
            unknown.firstCode = code;
        }
        unknown.codes.set(static_cast<std::size_t>(code));
    }

    void CountFlags(int flags) {
        const int room = MAX_FLAGS - m_result.initialFlags;
        m_result.initialFlags += std::min(flags, room);
        m_result.tooManyFlags |= flags > room;
    }

    // Stores RUN records if they are tiles (flags too) of consecutive cells of one row; false,
    // with nothing stored, otherwise.
    bool DecodeTileRun(const std::uint8_t* records) {
        const std::uint32_t place = ReadU32(records) & 0xFFFFFF;
        const std::uint32_t x = place & 0xFFF, y = place >> 12;
        if (x + RUN > MAP_SIZE || y >= MAP_SIZE)
            return false;
        const int at = static_cast<int>(y * MAP_SIZE + x);
#if defined(__SSE2__)
        // Eight records at a time (x86 is little-endian, as the file is). A record less the
        // place expected for it leaves its code alone when the place is right; codes go on in
        // 16-bit lanes, eight to a register, for the checks of the tile range.
        const __m128i expected0 =
            _mm_add_epi32(_mm_set1_epi32(static_cast<int>(place)), _mm_setr_epi32(0, 1, 2, 3));
        __m128i misplaced = _mm_setzero_si128();
        __m128i notTile = _mm_setzero_si128();
        __m128i flags = _mm_setzero_si128(); // flags per lane, counted down
        __m128i tiles[RUN / 4];
        for (std::size_t k = 0; k < RUN / 4; k += 2) {
            const __m128i expected =
                _mm_add_epi32(expected0, _mm_set1_epi32(static_cast<int>(k * 4)));
            const __m128i a = _mm_sub_epi32(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(records + k * 16)), expected);
            const __m128i b = _mm_sub_epi32(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(records + k * 16 + 16)),
                _mm_add_epi32(expected, _mm_set1_epi32(4)));
            misplaced =
                _mm_or_si128(misplaced, _mm_or_si128(_mm_slli_epi32(a, 8), _mm_slli_epi32(b, 8)));
            const __m128i codeA = _mm_srli_epi32(a, 24), codeB = _mm_srli_epi32(b, 24);
            const __m128i codes = _mm_packs_epi32(codeA, codeB);
            notTile = _mm_or_si128(notTile, _mm_cmplt_epi16(codes, _mm_set1_epi16(1)));
            notTile = _mm_or_si128(notTile, _mm_cmpgt_epi16(codes, _mm_set1_epi16(TILE_COUNT)));
            flags = _mm_add_epi16(flags, _mm_cmpeq_epi16(codes, _mm_set1_epi16(FLAG_TILE)));
            tiles[k] = _mm_sub_epi32(codeA, _mm_set1_epi32(1));
            tiles[k + 1] = _mm_sub_epi32(codeB, _mm_set1_epi32(1));
        }
        const __m128i fine = _mm_cmpeq_epi32(_mm_or_si128(misplaced, notTile), _mm_setzero_si128());
        if (_mm_movemask_epi8(fine) != 0xFFFF)
            return false;
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(flags, _mm_setzero_si128())) != 0xFFFF) {
            alignas(16) std::array<std::int16_t, 8> perLane;
            _mm_store_si128(reinterpret_cast<__m128i*>(perLane.data()), flags);
            int count = 0;
            for (const std::int16_t lane : perLane)
                count -= lane;
            CountFlags(count);
        }
        ClearBefore(at, static_cast<int>(RUN));
        for (std::size_t k = 0; k < RUN / 4; ++k)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(m_cells + at + k * 4), tiles[k]);
#else
        bool tiles = true;
        int flags = 0;
        for (std::size_t k = 0; k < RUN; ++k) {
            const std::uint32_t record = ReadU32(records + k * 4);
            const std::uint32_t code = record >> 24;
            tiles &= ((record & 0xFFFFFF) == place + k) &
                     (code - 1 < static_cast<std::uint32_t>(TILE_COUNT));
            flags += code == FLAG_TILE;
        }
        if (!tiles)
            return false;
        CountFlags(flags);
        ClearBefore(at, static_cast<int>(RUN));
        for (std::size_t k = 0; k < RUN; ++k)
            m_cells[at + k] = static_cast<Cell>((ReadU32(records + k * 4) >> 24) - 1);
#endif
        return true;
    }

    // Before `count` cells from `at` are all written: only the gap before them needs clearing.
    void ClearBefore(int at, int count) {
        if (at + count > m_clearedTo) {
            ClearUpTo(at);
            m_clearedTo = at + count;
        }
    }

    void DecodeEach(const std::uint8_t* records, std::size_t count) {
        Cell* cells = m_cells;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t record = ReadU32(records + i * 4);
            const unsigned x = record & 0xFFF;
            const unsigned y = (record >> 12) & 0xFFF;
            if (x < MAP_SIZE && y < MAP_SIZE && IsPlainTileCode(record >> 24)) [[likely]] {
                const int at = static_cast<int>(y * MAP_SIZE + x);
                ClearBefore(at, 1);
                cells[at] = static_cast<Cell>((record >> 24) - 1);
            } else {
                Decode(record, records + i * 4);
            }
        }
    }

    Cell* m_cells;
    LevelReadResult& m_result;
    std::uint64_t m_recordsStart; // byte offset of the first record in the file
    bool m_keepUnknown;
    const std::uint8_t* m_chunk = nullptr; // the records DecodeAll was given last
    std::uint64_t m_chunkIndex = 0;        // and the number of their first in the file
    PlacedAnchors m_placed;
    int m_clearedTo; // cells before this one are EMPTY_CELL or read from the file
    bool m_overlapped = false;
};

// Records are decoded in chunks so that a huge file needs no huge buffer.
void DecodeInChunks(const ByteSource& file, std::uint64_t offset, std::uint64_t records,
                    RecordDecoder& decoder) {
    const std::uint64_t firstOffset = offset;
    constexpr std::size_t chunkRecords = 64 * 1024;
    std::vector<std::uint8_t> chunk;
    try {
        chunk.resize(static_cast<std::size_t>(std::min<std::uint64_t>(records, chunkRecords) * 4));
    } catch (const std::bad_alloc&) {
        throw ReadError(messages::RECORDS_OUT_OF_MEMORY);
    }
    for (std::uint64_t left = records; left > 0;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(left, chunkRecords));
        const std::size_t got = file.ReadAt(offset, std::span(chunk.data(), want * 4)) / 4;
        decoder.DecodeAll(chunk.data(), got, (offset - firstOffset) / 4);
        if (got < want)
            break; // the file shrank while we read it
        left -= want;
        offset += want * 4;
    }
}

} // namespace

UnknownCodesError::UnknownCodesError(const UnknownRecords& records)
    : ReadError(messages::TILE_ID_OUT_OF_RANGE), records(records) {}

LevelReadResult ReadLevel(const ByteSource& file, Cell* cells, const LevelReadOptions& options) {
    LevelReadResult result;
    std::array<std::uint8_t, 6> start{};
    const bool hasBmp = file.ReadAt(0, start) == start.size() && start[0] == 'B' && start[1] == 'M';
    const std::uint64_t recordsStart = hasBmp ? ReadU32(start.data() + 2) : 0;
    result.defaultTileSet = !hasBmp;
    result.tileSet = hasBmp ? LoadTileSet(file) : LoadBuiltInTileSet();
    if (!result.tileSet)
        throw ReadError(messages::NO_TILE_SET);

    RecordDecoder decoder(cells, result, recordsStart, options.keepUnknown,
                          options.cellsAlreadyEmpty);
    const std::uint64_t size = file.Size();
    if (recordsStart < size) { // a bfSize past the end leaves no records
        result.recordCount = (size - recordsStart) / 4;
        const std::span<const std::uint8_t> inMemory = file.InMemory();
        if (inMemory.size() == size)
            decoder.DecodeAll(inMemory.data() + recordsStart,
                              static_cast<std::size_t>(result.recordCount), 0);
        else
            DecodeInChunks(file, recordsStart, result.recordCount, decoder);
    }
    // Every one is counted first, so that the message can say how many there are.
    if (result.unknown.count > 0 && !options.keepUnknown)
        throw UnknownCodesError(result.unknown);
    decoder.Finish();
    return result;
}

} // namespace krav
