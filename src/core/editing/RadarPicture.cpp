#include "editing/RadarPicture.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace krav {

namespace {

// Every value a map cell can hold except EMPTY_CELL lies below 2048, so one small table
// gives the kind of any cell in a single step; empty cells and values above are KIND_EMPTY.
constexpr Cell LOOKUP_SIZE = 2048;

constexpr std::array<std::uint8_t, LOOKUP_SIZE> MakeKinds() {
    std::array<std::uint8_t, LOOKUP_SIZE> kinds{};
    for (Cell v = 0; v < LOOKUP_SIZE; ++v) {
        if (v < static_cast<Cell>(TILE_COUNT)) {
            kinds[v] = static_cast<std::uint8_t>(v);
            continue;
        }
        if (IsKeptCell(v)) {
            kinds[v] = KIND_KEPT;
            continue;
        }
        switch (ObjectBaseOf(v).value_or(EMPTY_CELL)) {
        case OBJECT_6X6:
            kinds[v] = KIND_OBJECT_6X6;
            break;
        case OBJECT_5X5:
            kinds[v] = KIND_OBJECT_5X5;
            break;
        case OBJECT_2X2:
            kinds[v] = KIND_OBJECT_2X2;
            break;
        case OBJECT_1X1:
            kinds[v] = KIND_OBJECT_1X1;
            break;
        default: // values that never occur are empty
            kinds[v] = KIND_EMPTY;
            break;
        }
    }
    return kinds;
}

constexpr std::array<std::uint8_t, 256> MakeColours() {
    std::array<std::uint8_t, 256> colours{}; // kinds past the last are black
    // Ranges of tile codes; the tile is the code - 1.
    struct Range {
        int firstCode, lastCode;
        std::uint8_t index;
    };
    constexpr Range ranges[] = {
        {1, 161, RADAR_GREY},    {162, 169, RADAR_BLUE}, {FLAG_TILE, FLAG_TILE, RADAR_YELLOW},
        {171, 171, RADAR_GREEN}, {172, 175, RADAR_GREY}, {176, TILE_COUNT, RADAR_CYAN}};
    for (const Range& range : ranges) {
        for (int code = range.firstCode; code <= range.lastCode; ++code) {
            colours[code - 1] = range.index;
        }
    }
    colours[KIND_OBJECT_1X1] = RADAR_GREY;
    colours[KIND_EMPTY] = RADAR_BLACK;
    colours[KIND_KEPT] = RADAR_WHITE;
    colours[KIND_OBJECT_2X2] = RADAR_GREY;
    colours[KIND_OBJECT_5X5] = RADAR_MAGENTA;
    colours[KIND_OBJECT_6X6] = RADAR_RED;
    return colours;
}

constexpr std::array<std::uint8_t, LOOKUP_SIZE> KINDS = MakeKinds();
constexpr std::array<std::uint8_t, 256> COLOURS_OF_KINDS = MakeColours();
static_assert(OBJECT_1X1 < LOOKUP_SIZE && KeptCell(CODE_COUNT - 1) < LOOKUP_SIZE - 1);
static_assert(KIND_OBJECT_6X6 + 1 == KIND_COUNT && KIND_COUNT <= 256);

} // namespace

// The last entry is empty and no cell holds its value, so every value above can share it:
// a lookup with no branch, which whole-map loops run a million times.
static_assert(KINDS[LOOKUP_SIZE - 1] == KIND_EMPTY);

std::uint8_t CellKind(Cell v) {
    return KINDS[std::min(v, LOOKUP_SIZE - 1)];
}

std::uint8_t RadarColourOfKind(std::uint8_t kind) {
    return COLOURS_OF_KINDS[kind];
}

std::uint8_t RadarColourIndex(Cell v) {
    return RadarColourOfKind(CellKind(v));
}

namespace {

constexpr int STRETCH = 16;

bool AllEqual(const Cell* stretch, Cell value) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi32(static_cast<int>(value));
    __m128i equal = _mm_set1_epi32(-1);
    for (int k = 0; k < STRETCH; k += 4) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stretch + k));
        equal = _mm_and_si128(equal, _mm_cmpeq_epi32(four, wanted));
    }
    return _mm_movemask_epi8(equal) == 0xFFFF;
#else
    return std::all_of(stretch, stretch + STRETCH, [value](Cell v) { return v == value; });
#endif
}

// A stretch of plain tiles, whose kinds are the tiles themselves, packed into bytes; false
// (nothing written) when a cell of it holds anything else.
bool PackTiles(const Cell* stretch, std::uint8_t* out) {
#if defined(__SSE2__)
    // Unsigned "below TILE_COUNT" as a signed comparison with the sign bits flipped.
    const __m128i flip = _mm_set1_epi32(static_cast<int>(0x80000000u));
    const __m128i limit = _mm_set1_epi32(static_cast<int>(0x80000000u + TILE_COUNT));
    __m128i four[4];
    __m128i tiles = _mm_set1_epi32(-1);
    for (int k = 0; k < 4; ++k) {
        four[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stretch + 4 * k));
        tiles = _mm_and_si128(tiles, _mm_cmplt_epi32(_mm_xor_si128(four[k], flip), limit));
    }
    if (_mm_movemask_epi8(tiles) != 0xFFFF)
        return false;
    // Values below 190 pass both saturating packs unchanged.
    const __m128i low = _mm_packs_epi32(four[0], four[1]);
    const __m128i high = _mm_packs_epi32(four[2], four[3]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(low, high));
    return true;
#else
    if (!std::all_of(stretch, stretch + STRETCH, [](Cell v) { return v < Cell{TILE_COUNT}; }))
        return false;
    for (int k = 0; k < STRETCH; ++k)
        out[k] = static_cast<std::uint8_t>(stretch[k]);
    return true;
#endif
}

// Kinds of count cells into out, a stretch at a time. Maps are mostly empty stretches and
// areas of tiles: a stretch of one value gets one lookup and one store, a stretch of tiles
// is packed into bytes. Whether a stretch may be of one value is told by its ends first.
void KindsOfCells(const Cell* cells, int count, std::uint8_t* out) {
    int i = 0;
    for (; i + STRETCH <= count; i += STRETCH) {
        const Cell first = cells[i];
        if (PackTiles(cells + i, out + i))
            continue;
        if (cells[i + STRETCH - 1] == first && AllEqual(cells + i, first)) {
            std::memset(out + i, CellKind(first), STRETCH);
        } else {
            for (int k = i; k < i + STRETCH; ++k)
                out[k] = CellKind(cells[k]);
        }
    }
    for (; i < count; ++i)
        out[i] = CellKind(cells[i]);
}

} // namespace

RadarPicture::RadarPicture() : m_kinds(MAP_CELLS, KIND_EMPTY) {}

void RadarPicture::Build(const Cell* cells) {
    KindsOfCells(cells, MAP_CELLS, m_kinds.data());
}

void RadarPicture::UpdateCell(const Cell* cells, int x, int y) {
    if (x < 0 || x >= MAP_SIZE || y < 0 || y >= MAP_SIZE) {
        return;
    }
    m_kinds[Offset(x, y)] = CellKind(cells[Offset(x, y)]);
}

void RadarPicture::UpdateCells(const Cell* cells, Rect block) {
    const int left = std::max(block.left, 0);
    const int right = std::min(block.right, MAP_SIZE);
    if (left >= right) {
        return;
    }
    const int top = std::max(block.top, 0);
    const int bottom = std::min(block.bottom, MAP_SIZE);
    for (int y = top; y < bottom; ++y) {
        KindsOfCells(cells + Offset(left, y), right - left, m_kinds.data() + Offset(left, y));
    }
}

void RadarPicture::Clear() {
    std::fill(m_kinds.begin(), m_kinds.end(), KIND_EMPTY);
}

} // namespace krav
