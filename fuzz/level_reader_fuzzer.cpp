// libFuzzer target: any bytes as a level file. A level that reads must save and read back as the
// same map and the same tile set; a level that is refused must be refused with a ReadError, and
// only for a reason it has: a tile set that does not load or a record with an invalid code.
//
// Speed: a map is 4 MiB, and clearing it or looking at every one of its cells would hold this
// target to a few hundred inputs a second. So the two maps live from one input to the next,
// are read with cellsAlreadyEmpty (the reader clears nothing), and each input empties only the
// cells its records can reach. Every 1024th input checks that both maps are wholly empty again,
// so that the reader is never fuzzed over a map it was promised empty and is not. The round
// trip writes the level with WriteNear, which gives the bytes WriteLevel gives from those cells
// alone. One input in 1024 (chosen by its bytes, so that a crash file reproduces) and every
// input when KRAV_FUZZ_FULL_CHECK=1 also checks WriteNear against WriteLevel and that no cell
// outside the reach of the records was written.
#include "document/LevelReader.h"
#include "document/LevelWriter.h"
#include "document/LittleEndian.h"
#include "document/ReadError.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

namespace {

using namespace krav;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "level_reader_fuzzer: %s\n", what);
    std::abort();
}

void Require(bool condition, const char* what) {
    if (!condition)
        Fail(what);
}

struct Maps {
    std::vector<Cell> first = std::vector<Cell>(MAP_CELLS, EMPTY_CELL);
    std::vector<Cell> second = std::vector<Cell>(MAP_CELLS, EMPTY_CELL);
    std::vector<Cell> empty = std::vector<Cell>(MAP_CELLS, EMPTY_CELL);
};

Maps& TheMaps() {
    static Maps maps;
    return maps;
}

bool FullCheckForced() {
    static const bool forced = [] {
        const char* value = std::getenv("KRAV_FUZZ_FULL_CHECK");
        return value && *value && std::strcmp(value, "0") != 0;
    }();
    return forced;
}

// A record inside the grid: its cell and the side of the square of cells it may write.
struct Reach {
    int index;
    int side;
};

// What the input's records are, found the way the reader finds them.
struct InputRecords {
    bool hasBmp = false;
    std::uint64_t start = 0;    // where the records begin
    std::vector<Reach> reach;   // records inside the grid, in file order
    std::vector<int> positions; // their cells, ascending, each once
    int flags = 0;              // flag records inside the grid
    bool invalidCode = false;   // a record inside the grid with a code that means nothing
};

void Scan(std::span<const std::uint8_t> input, InputRecords& out) {
    out.hasBmp = input.size() >= 6 && input[0] == 'B' && input[1] == 'M';
    out.start = out.hasBmp ? ReadU32(input.data() + 2) : 0;
    out.reach.clear();
    out.positions.clear();
    out.flags = 0;
    out.invalidCode = false;
    for (std::uint64_t at = out.start; at + 4 <= input.size(); at += 4) {
        const std::uint32_t record = ReadU32(input.data() + at);
        const int x = static_cast<int>(record & 0xFFF);
        const int y = static_cast<int>((record >> 12) & 0xFFF);
        const int code = static_cast<int>(record >> 24);
        if (x >= MAP_SIZE || y >= MAP_SIZE)
            continue;
        const auto base = ObjectBaseForCode(code);
        if (code == FLAG_TILE)
            ++out.flags;
        if (!base && (code < 1 || code > TILE_COUNT))
            out.invalidCode = true;
        out.reach.push_back({y * MAP_SIZE + x, base ? ObjectSide(*base) : 1});
        out.positions.push_back(y * MAP_SIZE + x);
    }
    std::sort(out.positions.begin(), out.positions.end());
    out.positions.erase(std::unique(out.positions.begin(), out.positions.end()),
                        out.positions.end());
}

template <typename Visit> void ForEachReachedCell(const std::vector<Reach>& reach, Visit visit) {
    for (const Reach& r : reach) {
        const int x = r.index % MAP_SIZE, y = r.index / MAP_SIZE;
        const int rows = std::min(r.side, MAP_SIZE - y), columns = std::min(r.side, MAP_SIZE - x);
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                visit(r.index + row * MAP_SIZE + column);
    }
}

bool IsEmpty(const std::vector<Cell>& map) {
    return std::memcmp(map.data(), TheMaps().empty.data(), MAP_CELLS * sizeof(Cell)) == 0;
}

bool IsValidCell(Cell v) {
    return v == EMPTY_CELL || IsTileCell(v) || ObjectBaseOf(v).has_value();
}

void Put(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// The bytes WriteLevel gives for a map none of whose cells outside positions is saved.
std::vector<std::uint8_t> WriteNear(const Cell* cells, const TileSetBitmap* tileSet,
                                    const std::vector<int>& positions) {
    std::vector<std::uint8_t> out;
    if (tileSet) {
        auto fileHeader = tileSet->fileHeader;
        WriteU32(fileHeader.data() + 2,
                 static_cast<std::uint32_t>(BMP_STANDARD_SIZE + tileSet->trailingBytes.size()));
        Put(out, fileHeader);
        Put(out, tileSet->infoHeader);
        Put(out, tileSet->colourTable);
        Put(out, tileSet->pixels);
        Put(out, tileSet->trailingBytes);
    }
    for (const int i : positions) {
        const auto code = CodeForCell(cells[i]);
        if (!code)
            continue;
        std::uint8_t record[4];
        WriteU32(record, static_cast<std::uint32_t>(*code) << 24 |
                             static_cast<std::uint32_t>(i / MAP_SIZE) << 12 |
                             static_cast<std::uint32_t>(i % MAP_SIZE));
        Put(out, record);
    }
    return out;
}

void RequireSameTileSet(const LevelReadResult& read, const LevelReadResult& again) {
    Require(again.defaultTileSet == read.defaultTileSet,
            "built-in tile set or not changed on the round trip");
    const TileSetBitmap& a = *read.tileSet;
    const TileSetBitmap& b = *again.tileSet;
    // Saving gives bfSize the real size of the bitmap: the same unless the file ended before
    // bfSize.
    auto fileHeader = a.fileHeader;
    WriteU32(fileHeader.data() + 2,
             static_cast<std::uint32_t>(BMP_STANDARD_SIZE + a.trailingBytes.size()));
    Require(b.fileHeader == fileHeader, "file header changed on the round trip");
    Require(b.infoHeader == a.infoHeader, "info header changed on the round trip");
    Require(b.colourTable == a.colourTable, "colour table changed on the round trip");
    Require(b.pixels == a.pixels, "pixels changed on the round trip");
    Require(b.topDown == a.topDown, "row order changed on the round trip");
    Require(b.trailingBytes == a.trailingBytes, "trailing bytes changed on the round trip");
}

// Both maps are empty before every read: the harness empties what each input wrote.
constexpr LevelReadOptions kEmptyMap{.cellsAlreadyEmpty = true};

void Check(std::span<const std::uint8_t> input, const InputRecords& records, Maps& maps,
           bool full) {
    LevelReadResult read;
    try {
        read = ReadLevel(MemorySource(input), maps.first.data(), kEmptyMap);
    } catch (const ReadError&) {
        Require(records.hasBmp || records.invalidCode,
                "refused a level without a tile set or a bad record");
        return;
    }
    Require(!records.invalidCode, "read a record with an invalid code");
    Require(read.tileSet != nullptr, "no tile set and no error");
    Require(read.defaultTileSet == !records.hasBmp,
            "built-in tile set or not, against the first bytes");
    Require(read.initialFlags == std::min(records.flags, MAX_FLAGS), "flags miscounted");
    Require(read.tooManyFlags == (records.flags > MAX_FLAGS), "too many flags misjudged");
    const std::uint64_t expectedRecords =
        records.start < input.size() ? (input.size() - records.start) / 4 : 0;
    Require(read.recordCount == expectedRecords, "records miscounted");
    ForEachReachedCell(records.reach, [&](int i) {
        Require(IsValidCell(maps.first[i]), "a cell holds no valid value");
    });

    const TileSetBitmap* own = read.defaultTileSet ? nullptr : read.tileSet.get();
    const std::vector<std::uint8_t> saved = WriteNear(maps.first.data(), own, records.positions);
    if (full)
        Require(WriteLevel(maps.first.data(), own) == saved, "WriteLevel differs from WriteNear");

    LevelReadResult again;
    try {
        again = ReadLevel(MemorySource(saved), maps.second.data(), kEmptyMap);
    } catch (const ReadError&) {
        Fail("a saved level does not read back");
    }
    ForEachReachedCell(records.reach, [&](int i) {
        Require(maps.first[i] == maps.second[i], "map changed on the round trip");
    });
    RequireSameTileSet(read, again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static InputRecords records; // kept to reuse its buffers
    const std::span<const std::uint8_t> input(data, size);
    Scan(input, records);

    // The bytes choose which inputs get the full check: hash the size and both ends.
    std::uint32_t hash = static_cast<std::uint32_t>(size) * 2654435761u;
    for (std::size_t i = 0; i < size && i < 64; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    for (std::size_t i = size > 64 ? size - 64 : 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    const bool full = FullCheckForced() || (hash >> 22) == 0;

    Maps& maps = TheMaps();
    if (full)
        Require(IsEmpty(maps.first) && IsEmpty(maps.second),
                "an earlier input wrote outside its records' reach");
    Check(input, records, maps, full);
    ForEachReachedCell(records.reach, [&](int i) { maps.first[i] = maps.second[i] = EMPTY_CELL; });
    if (full)
        Require(IsEmpty(maps.first) && IsEmpty(maps.second),
                "wrote cells outside the records' reach");
    // Whatever the bytes choose: replay the last inputs with KRAV_FUZZ_FULL_CHECK=1 to find
    // which one it was.
    static unsigned inputs = 0;
    if (++inputs % 1024 == 0)
        Require(IsEmpty(maps.first) && IsEmpty(maps.second),
                "one of the last 1024 inputs wrote cells outside its records' reach");
    return 0;
}
