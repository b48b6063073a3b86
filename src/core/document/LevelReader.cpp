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
    RecordDecoder(Cell* cells, LevelReadResult& result) : m_cells(cells), m_result(result) {}

    // Out of line: inlined into DecodeAll's loop it would crowd out the fast path's registers.
    [[gnu::noinline]] void Decode(std::uint32_t record) {
        const int x = static_cast<int>(record & 0xFFF);
        const int y = static_cast<int>((record >> 12) & 0xFFF);
        const int code = static_cast<int>(record >> 24);
        if (x >= MAP_SIZE || y >= MAP_SIZE)
            return; // skipped whatever its code
        if (code == FLAG_TILE) {
            if (m_result.initialFlags < MAX_FLAGS)
                ++m_result.initialFlags;
            else
                m_result.tooManyFlags = true;
        }
        const int at = y * MAP_SIZE + x;
        if (code >= 1 && code <= TILE_COUNT) {
            // A tile over an object's anchor is found in Finish.
            m_cells[at] = static_cast<Cell>(code - 1);
        } else if (const auto base = ObjectBaseForCode(code)) {
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
            throw ReadError(messages::TILE_ID_OUT_OF_RANGE);
        }
    }

    // Decodes count records; the common ones, plain tiles within the map, without a call.
    // Whether such a tile covered an object's anchor is asked once at the end (Finish).
    void DecodeAll(const std::uint8_t* records, std::size_t count) {
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
        // An anchor that holds no anchor any more lost it to a tile (the rest of that object
        // stayed behind), or to another object's footprint, which was noticed when written.
        for (const int at : m_placed.AsAdded())
            m_overlapped |= !IsMultiCellAnchor(m_cells[at]);
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
    static constexpr std::size_t RUN = 8;

    static bool IsPlainTileCode(std::uint32_t code) {
        return code - 1 < static_cast<std::uint32_t>(TILE_COUNT) && code != FLAG_TILE;
    }

    // Stores RUN records if they are plain tiles of consecutive cells of one row; false, with
    // nothing stored, otherwise.
    bool DecodeTileRun(const std::uint8_t* records) {
        const std::uint32_t place = ReadU32(records) & 0xFFFFFF;
        const std::uint32_t x = place & 0xFFF, y = place >> 12;
        if (x + RUN > MAP_SIZE || y >= MAP_SIZE)
            return false;
        Cell* out = m_cells + y * MAP_SIZE + x;
#if defined(__SSE2__)
        // Four records at a time (x86 is little-endian, as the file is).
        const __m128i places = _mm_set1_epi32(static_cast<int>(place));
        __m128i plain = _mm_set1_epi32(-1);
        std::array<__m128i, RUN / 4> tiles;
        for (std::size_t k = 0; k < RUN / 4; ++k) {
            const __m128i records4 =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(records + k * 16));
            const int first = static_cast<int>(k * 4);
            const __m128i expected =
                _mm_add_epi32(places, _mm_setr_epi32(first, first + 1, first + 2, first + 3));
            // code - 1, from -1 to 254: signed compares are enough.
            tiles[k] = _mm_sub_epi32(_mm_srli_epi32(records4, 24), _mm_set1_epi32(1));
            plain = _mm_and_si128(
                plain,
                _mm_cmpeq_epi32(_mm_and_si128(records4, _mm_set1_epi32(0xFFFFFF)), expected));
            plain = _mm_and_si128(plain, _mm_cmpgt_epi32(tiles[k], _mm_set1_epi32(-1)));
            plain = _mm_and_si128(plain, _mm_cmplt_epi32(tiles[k], _mm_set1_epi32(TILE_COUNT)));
            plain = _mm_andnot_si128(_mm_cmpeq_epi32(tiles[k], _mm_set1_epi32(FLAG_CELL)), plain);
        }
        if (_mm_movemask_epi8(plain) != 0xFFFF)
            return false;
        for (std::size_t k = 0; k < RUN / 4; ++k)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k * 4), tiles[k]);
#else
        bool plain = true;
        for (std::size_t k = 0; k < RUN; ++k) {
            const std::uint32_t record = ReadU32(records + k * 4);
            plain &= ((record & 0xFFFFFF) == place + k) & IsPlainTileCode(record >> 24);
        }
        if (!plain)
            return false;
        for (std::size_t k = 0; k < RUN; ++k)
            out[k] = static_cast<Cell>((ReadU32(records + k * 4) >> 24) - 1);
#endif
        return true;
    }

    void DecodeEach(const std::uint8_t* records, std::size_t count) {
        Cell* cells = m_cells;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t record = ReadU32(records + i * 4);
            const unsigned x = record & 0xFFF;
            const unsigned y = (record >> 12) & 0xFFF;
            if (x < MAP_SIZE && y < MAP_SIZE && IsPlainTileCode(record >> 24)) [[likely]]
                cells[y * MAP_SIZE + x] = static_cast<Cell>((record >> 24) - 1);
            else
                Decode(record);
        }
    }

    Cell* m_cells;
    LevelReadResult& m_result;
    PlacedAnchors m_placed;
    bool m_overlapped = false;
};

} // namespace

LevelReadResult ReadLevel(const ByteSource& file, Cell* cells) {
    LevelReadResult result;
    std::array<std::uint8_t, 6> start{};
    const bool hasBmp = file.ReadAt(0, start) == start.size() && start[0] == 'B' && start[1] == 'M';
    const std::uint64_t recordsStart = hasBmp ? ReadU32(start.data() + 2) : 0;
    result.defaultTileSet = !hasBmp;
    result.tileSet = hasBmp ? LoadTileSet(file) : LoadBuiltInTileSet();
    if (!result.tileSet)
        throw ReadError(messages::NO_TILE_SET);

    const std::uint64_t size = file.Size();
    if (recordsStart >= size)
        return result; // a bfSize past the end leaves no records
    result.recordCount = (size - recordsStart) / 4;

    // Records are decoded in chunks so that a huge file needs no huge buffer.
    constexpr std::size_t chunkRecords = 64 * 1024;
    std::vector<std::uint8_t> chunk;
    try {
        chunk.resize(static_cast<std::size_t>(
            std::min<std::uint64_t>(result.recordCount, chunkRecords) * 4));
    } catch (const std::bad_alloc&) {
        throw ReadError(messages::RECORDS_OUT_OF_MEMORY);
    }
    RecordDecoder decoder(cells, result);
    std::uint64_t offset = recordsStart;
    for (std::uint64_t left = result.recordCount; left > 0;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(left, chunkRecords));
        const std::size_t got = file.ReadAt(offset, std::span(chunk.data(), want * 4)) / 4;
        decoder.DecodeAll(chunk.data(), got);
        if (got < want)
            break; // the file shrank while we read it
        left -= want;
        offset += want * 4;
    }
    decoder.Finish();
    return result;
}

} // namespace krav
