#include "document/LevelWriter.h"

#include "document/LittleEndian.h"

#include <cstring>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Cells are written in runs of RUN; runs of tiles only, the common case, in a loop that only
// stores.
constexpr int RUN = 8;
static_assert(MAP_SIZE % RUN == 0);

std::uint32_t Record(int code, int x, int y) {
    return static_cast<std::uint32_t>(code) << 24 | static_cast<std::uint32_t>(y) << 12 |
           static_cast<std::uint32_t>(x);
}

#if defined(__SSE2__)
// Writes a run's cells as tile records, four at a time (x86 is little-endian, as the file is),
// and tells whether they were all tiles: as signed values, the cells from 0 to TILE_COUNT - 1.
// When they were not, what it wrote is written over.
bool PutTileRun(std::uint8_t* out, const Cell* run, int x, int y) {
    __m128i tiles = _mm_set1_epi32(-1);
    const __m128i first = _mm_add_epi32(_mm_set1_epi32(static_cast<int>(Record(0, x, y))),
                                        _mm_setr_epi32(0, 1, 2, 3));
    for (int i = 0; i < RUN; i += 4) {
        const __m128i cells = _mm_loadu_si128(reinterpret_cast<const __m128i*>(run + i));
        tiles = _mm_and_si128(tiles, _mm_cmpgt_epi32(cells, _mm_set1_epi32(-1)));
        tiles = _mm_and_si128(tiles, _mm_cmplt_epi32(cells, _mm_set1_epi32(TILE_COUNT)));
        const __m128i places = _mm_add_epi32(first, _mm_set1_epi32(i));
        const __m128i codes = _mm_slli_epi32(_mm_add_epi32(cells, _mm_set1_epi32(1)), 24);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i * 4), _mm_or_si128(codes, places));
    }
    return _mm_movemask_epi8(tiles) == 0xFFFF;
}
#else
bool PutTileRun(std::uint8_t* out, const Cell* run, int x, int y) {
    bool tiles = true;
    for (int i = 0; i < RUN; ++i) {
        tiles &= IsTileCell(run[i]);
        WriteU32(out + i * 4, Record(static_cast<int>(run[i]) + 1, x + i, y));
    }
    return tiles;
}
#endif

std::uint8_t* PutEach(std::uint8_t* out, const Cell* run, int x, int y) {
    for (int i = 0; i < RUN; ++i) {
        if (const auto code = CodeForCell(run[i])) {
            WriteU32(out, Record(*code, x + i, y));
            out += 4;
        }
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> WriteTileSetBmp(const TileSetBitmap& tileSet) {
    std::vector<std::uint8_t> out(BmpSize(tileSet));
    PutBmp(out.data(), tileSet);
    return out;
}

std::vector<std::uint8_t> WriteLevel(const Cell* cells, const TileSetBitmap* tileSet) {
    // Room for a record per cell, so that a run may be written in full before it is known to
    // be all tiles; the records are not counted first, the bytes are cut to them at the end.
    // The room is reserved, and given a row at a time: a sparse level touches only the memory
    // its records take, not 4 MiB.
    const std::size_t bmpSize = tileSet ? BmpSize(*tileSet) : 0;
    std::vector<std::uint8_t> out;
    out.reserve(bmpSize + std::size_t{MAP_CELLS} * 4);
    out.resize(bmpSize);
    if (tileSet)
        PutBmp(out.data(), *tileSet);
    std::size_t used = bmpSize;
    for (int y = 0; y < MAP_SIZE; ++y) {
        out.resize(used + std::size_t{MAP_SIZE} * 4); // within the reserve: out.data() stays
        std::uint8_t* const start = out.data() + used;
        std::uint8_t* at = start;
        const Cell* row = cells + y * MAP_SIZE;
        for (int x = 0; x < MAP_SIZE; x += RUN)
            at = PutTileRun(at, row + x, x, y) ? at + RUN * 4 : PutEach(at, row + x, x, y);
        used += static_cast<std::size_t>(at - start);
    }
    out.resize(used);
    if (out.size() < out.capacity() / 2)
        out.shrink_to_fit(); // a sparse level need not keep the room of a full one
    return out;
}

} // namespace krav
