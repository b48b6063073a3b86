// Levels the fuzzer found wrong, kept in tests/fuzz-regressions/. Each must pass the fuzzer's
// round trip: if it reads, saving it and reading that back gives the same map and tile set.
#include "document/LevelReader.h"
#include "document/LevelWriter.h"
#include "document/LittleEndian.h"
#include "document/ReadError.h"
#include "support/LevelBytes.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace krav {
namespace {

using test::AppendRecord;
using test::Bytes;

struct Read {
    std::vector<Cell> cells = std::vector<Cell>(MAP_CELLS, EMPTY_CELL);
    LevelReadResult result;
};

Read ReadBytes(const Bytes& bytes) {
    Read read;
    read.result = ReadLevel(MemorySource(bytes), read.cells.data());
    return read;
}

Cell At(const Read& read, int x, int y) {
    return read.cells[y * MAP_SIZE + x];
}

void ExpectRoundTrip(const Bytes& bytes) {
    Read first;
    try {
        first = ReadBytes(bytes);
    } catch (const ReadError&) {
        return; // refused: nothing to save
    }
    const TileSetBitmap* own = first.result.defaultTileSet ? nullptr : first.result.tileSet.get();
    const Read again = ReadBytes(WriteLevel(first.cells.data(), own));
    EXPECT_TRUE(first.cells == again.cells);
    EXPECT_EQ(again.result.defaultTileSet, first.result.defaultTileSet);
    const TileSetBitmap& a = *first.result.tileSet;
    const TileSetBitmap& b = *again.result.tileSet;
    auto fileHeader = a.fileHeader; // saving gives bfSize the bitmap's real size
    WriteU32(fileHeader.data() + 2,
             static_cast<std::uint32_t>(BMP_STANDARD_SIZE + a.trailingBytes.size()));
    EXPECT_EQ(b.fileHeader, fileHeader);
    EXPECT_EQ(b.infoHeader, a.infoHeader);
    EXPECT_EQ(b.colourTable, a.colourTable);
    EXPECT_EQ(b.pixels, a.pixels);
    EXPECT_EQ(b.topDown, a.topDown);
    EXPECT_EQ(b.trailingBytes, a.trailingBytes);
}

TEST(FuzzRegressions, EveryKeptLevelSavesAndReadsBackAsItWasRead) {
    const std::filesystem::path folder =
        std::filesystem::path(KRAV_SOURCE_DIR) / "tests" / "fuzz-regressions";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    ASSERT_FALSE(files.empty()) << "nothing found in " << folder;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        ExpectRoundTrip(test::ScratchFolder::Read(file.string()));
    }
}

// What those levels now open as: the map that saving them gives.
TEST(FuzzRegressions, OverlappingObjectsOpenAsTheyWillBeSaved) {
    Bytes tileOnAnchor;
    AppendRecord(tileOnAnchor, 219, 0, 0);
    AppendRecord(tileOnAnchor, 1, 0, 0);
    const Read pieces = ReadBytes(tileOnAnchor);
    EXPECT_EQ(At(pieces, 0, 0), 0u);
    EXPECT_EQ(At(pieces, 1, 0), EMPTY_CELL) << "no piece of the object stays without its anchor";
    EXPECT_EQ(std::count(pieces.cells.begin(), pieces.cells.end(), EMPTY_CELL), MAP_CELLS - 1);

    Bytes objectOnAnchor;
    AppendRecord(objectOnAnchor, 217, 518, 400);
    AppendRecord(objectOnAnchor, 217, 517, 400);
    const Read covered = ReadBytes(objectOnAnchor);
    EXPECT_EQ(At(covered, 517, 400), 700u);
    EXPECT_EQ(At(covered, 518, 401), 703u);
    EXPECT_EQ(At(covered, 519, 400), EMPTY_CELL);
    EXPECT_EQ(At(covered, 519, 401), EMPTY_CELL);

    // Both anchors survive; where the footprints meet, the anchor later row by row wins, as it
    // does when the saved file is read.
    Bytes againstRowOrder;
    AppendRecord(againstRowOrder, 219, 1020, 5);
    AppendRecord(againstRowOrder, 219, 1023, 0);
    const Read crossing = ReadBytes(againstRowOrder);
    EXPECT_EQ(At(crossing, 1023, 0), 500u);
    EXPECT_EQ(At(crossing, 1023, 4), 524u);
    EXPECT_EQ(At(crossing, 1020, 5), 500u);
    EXPECT_EQ(At(crossing, 1023, 5), 503u);

    // Objects that only touch, and tiles on pieces of an object, are read as they are.
    Bytes touching;
    AppendRecord(touching, 217, 10, 10);
    AppendRecord(touching, 217, 12, 10);
    AppendRecord(touching, 7, 13, 11);
    const Read side = ReadBytes(touching);
    EXPECT_EQ(At(side, 11, 11), 703u);
    EXPECT_EQ(At(side, 12, 11), 702u);
    EXPECT_EQ(At(side, 13, 11), 6u);
}

} // namespace
} // namespace krav
