// Writing levels: what Save produces, and that reading it back loses nothing.
#include "document/CKRAVDoc.h"
#include "support/FakePrompt.h"
#include "support/LevelBytes.h"

#include <gtest/gtest.h>
#include <random>

namespace krav {
namespace {

using test::AppendRecord;
using test::Bytes;
using test::MakeBmp;

// Records in row-major order, as the writer emits them, covering every kind of code.
Bytes RowMajorRecords() {
    Bytes bytes;
    AppendRecord(bytes, 1, 0, 0);
    AppendRecord(bytes, 190, 1023, 0);
    AppendRecord(bytes, 219, 10, 20);
    AppendRecord(bytes, 220, 300, 20);
    AppendRecord(bytes, 217, 5, 400);
    AppendRecord(bytes, 216, 6, 400);
    AppendRecord(bytes, FLAG_TILE, 7, 400);
    AppendRecord(bytes, 171, 1023, 1023);
    return bytes;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct RoundTrip {
    const char* name;
    Bytes bytes;
};

TEST(LevelWriting, ValidLevelsSaveBackByteForByte) {
    const std::vector<RoundTrip> cases = {
        {"empty, built-in tile set", {}},
        {"records only", RowMajorRecords()},
        {"own tile set, no records", MakeBmp()},
        {"own tile set and records", Concat(MakeBmp(), RowMajorRecords())},
        // Real levels carry a few dozen bytes between the pixels and the records.
        {"extra bytes before the records", Concat(MakeBmp({.extraBytes = 34}), RowMajorRecords())},
        {"358 extra bytes", Concat(MakeBmp({.extraBytes = 358}), RowMajorRecords())},
        {"pixel offset not 1078",
         Concat(MakeBmp({.offBits = 1100, .extraBytes = 22}), RowMajorRecords())},
    };
    test::ScratchFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakePrompt prompt;
        CKRAVDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(folder.Write("in.lvl", c.bytes), prompt));
        const std::string out = folder.Path("out.lvl");
        ASSERT_TRUE(doc.OnSaveDocument(out, prompt));
        EXPECT_EQ(test::ScratchFolder::Read(out), c.bytes);
        EXPECT_TRUE(prompt.messages.empty());
    }
}

TEST(LevelWriting, TheOtherOneByOneCodeIsWrittenAsTheUsualOne) {
    test::ScratchFolder folder;
    test::FakePrompt prompt;
    Bytes bytes;
    AppendRecord(bytes, 218, 3, 4);
    CKRAVDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(folder.Write("a.lvl", bytes), prompt));
    Bytes expected;
    AppendRecord(expected, 216, 3, 4);
    EXPECT_EQ(doc.Serialize(), expected);
}

TEST(LevelWriting, WhatIsWrittenReadsBackAsTheSameMapAndTileSet) {
    test::ScratchFolder folder;
    test::FakePrompt prompt;
    CKRAVDoc source;
    ASSERT_TRUE(
        source.OnOpenDocument(folder.Write("tiles.bmp", MakeBmp({.extraBytes = 5})), prompt));
    std::mt19937 random(7);
    Cell* cells = source.GetCells();
    for (int i = 0; i < 200000; ++i)
        cells[random() % MAP_CELLS] = random() % FLAG_CELL; // no flags: no warning
    // Whole rows of tiles, as a dense level has, with a cell left empty here and there.
    for (int at = 500 * MAP_SIZE; at < 504 * MAP_SIZE; ++at)
        cells[at] = at % 101 == 0 ? EMPTY_CELL : static_cast<Cell>(at % FLAG_CELL);
    // Objects on a lattice so that no footprint overlaps another.
    for (int y = 0; y + 6 <= MAP_SIZE; y += 97)
        for (int x = 0; x + 6 <= MAP_SIZE; x += 89) {
            const Cell base =
                std::array{OBJECT_6X6, OBJECT_5X5, OBJECT_2X2, OBJECT_1X1}[(x + y) % 4];
            const int side = ObjectSide(base);
            for (int r = 0; r < side; ++r)
                for (int c = 0; c < side; ++c)
                    cells[(y + r) * MAP_SIZE + x + c] = base + r * side + c;
        }

    const std::string path = folder.Path("level.lvl");
    ASSERT_TRUE(source.OnSaveDocument(path, prompt));
    CKRAVDoc reread;
    ASSERT_TRUE(reread.OnOpenDocument(path, prompt));
    EXPECT_TRUE(std::equal(cells, cells + MAP_CELLS, reread.GetCells()));
    EXPECT_FALSE(reread.IsDefaultTileSet());
    EXPECT_EQ(reread.GetTileSet()->pixels, source.GetTileSet()->pixels);
    EXPECT_EQ(reread.GetTileSet()->colourTable, source.GetTileSet()->colourTable);
    EXPECT_EQ(reread.GetTileSet()->trailingBytes, source.GetTileSet()->trailingBytes);
    EXPECT_TRUE(prompt.messages.empty());
}

} // namespace
} // namespace krav
