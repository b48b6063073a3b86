// Levels holding records of codes no tile or object has: refused with where they are, or
// opened keeping them as cells that are saved back exactly. Reading must NEVER drop or move
// such a record when asked to keep it, nor open the level without being asked.
#include "document/ByteSource.h"
#include "document/CKRAVDoc.h"
#include "document/KeptCells.h"
#include "document/LevelReader.h"
#include "document/Messages.h"
#include "support/FakePrompt.h"
#include "support/LevelBytes.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <tuple>

namespace krav {
namespace {

using test::AppendRecord;
using test::Bytes;

class KeptCells : public ::testing::Test {
protected:
    test::ScratchFolder folder;
    test::FakePrompt prompt;
    CKRAVDoc doc;
};

// The records of a level file (after the tile set) as (code, x, y), in file order.
std::vector<std::tuple<int, int, int>> RecordsOf(const Bytes& bytes, std::size_t start) {
    std::vector<std::tuple<int, int, int>> records;
    for (std::size_t at = start; at + 4 <= bytes.size(); at += 4) {
        const std::uint32_t r = bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                static_cast<std::uint32_t>(bytes[at + 3]) << 24;
        records.emplace_back(static_cast<int>(r >> 24), static_cast<int>(r & 0xFFF),
                             static_cast<int>(r >> 12 & 0xFFF));
    }
    return records;
}

TEST(KeptCellCodes, CollideWithNoTileObjectOrEmptyCell) {
    for (int code = 0; code < CODE_COUNT; ++code) {
        const Cell v = KeptCell(code);
        EXPECT_TRUE(IsKeptCell(v));
        EXPECT_FALSE(IsTileCell(v));
        EXPECT_FALSE(SpecialObjectHolding(v).has_value());
        EXPECT_NE(v, EMPTY_CELL);
        EXPECT_EQ(KeptCode(v), code);
        EXPECT_EQ(CodeForCell(v), code);
    }
    for (Cell v = 0; v < KEPT_CELL_BASE; ++v)
        EXPECT_FALSE(IsKeptCell(v)) << v;
    EXPECT_FALSE(IsKeptCell(KeptCell(CODE_COUNT - 1) + 1));
    EXPECT_FALSE(IsKeptCell(EMPTY_CELL));
    int unknown = 0;
    for (int code = 0; code < CODE_COUNT; ++code)
        unknown += IsUnknownCode(code);
    EXPECT_EQ(unknown, CODE_COUNT - TILE_COUNT - 5); // 0, 191..215, 221..255
}

TEST_F(KeptCells, RefusedTheMessageSaysWhereTheyAre) {
    const std::string path = folder.Write("real.lvl", test::LevelWithUnknownCodes());
    EXPECT_FALSE(doc.OnOpenDocument(path, prompt));
    EXPECT_EQ(prompt.messages,
              std::vector<std::string>{
                  "The map tile data is corrupt:\nTile ID out of Range!\n\n" + path +
                  ": 6 records have a code that is no tile and no object (codes 241, 242). The "
                  "first is at byte 49738: cell (5, 2), code 241.\n\n" +
                  messages::KEEP_UNKNOWN_OPTION});
    EXPECT_TRUE(std::all_of(doc.GetCells(), doc.GetCells() + MAP_CELLS,
                            [](Cell v) { return v == EMPTY_CELL; }));
}

TEST_F(KeptCells, TheEditorAsksAndOpensOnlyWhenTold) {
    const std::string path = folder.Write("real.lvl", test::LevelWithUnknownCodes());
    prompt.answers = {false};
    EXPECT_FALSE(doc.OnOpenDocument(path, prompt, UnknownCodes::Ask));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].rfind(messages::TILE_ID_OUT_OF_RANGE, 0), 0u);
    EXPECT_EQ(prompt.messages[0].substr(prompt.messages[0].size() -
                                        std::string(messages::OPEN_KEEPING_UNKNOWN).size()),
              messages::OPEN_KEEPING_UNKNOWN);
    EXPECT_EQ(doc.GetCell(2, 5), EMPTY_CELL);

    test::FakePrompt yes;
    yes.answers = {true};
    CKRAVDoc opened;
    ASSERT_TRUE(opened.OnOpenDocument(path, yes, UnknownCodes::Ask));
    EXPECT_EQ(yes.messages.size(), 1u) << "one question, no other message";
    EXPECT_EQ(opened.GetCell(2, 5), KeptCell(241));
    EXPECT_FALSE(opened.IsModified());
    EXPECT_EQ(opened.GetPathName(), path);
}

TEST_F(KeptCells, KeptTheyHoldTheirCodesAndSaveBackByteForByte) {
    const Bytes bytes = test::LevelWithUnknownCodes();
    ASSERT_TRUE(doc.OnOpenDocument(folder.Write("real.lvl", bytes), prompt, UnknownCodes::Keep));
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(doc.GetCell(2, 5), KeptCell(241));
    EXPECT_EQ(doc.GetCell(2, 6), KeptCell(242));
    EXPECT_EQ(doc.GetCell(2, 7), 7u); // code 8
    EXPECT_EQ(doc.GetCell(3, 20), KeptCell(241));
    EXPECT_EQ(doc.GetCell(10, 1023), KeptCell(241));
    EXPECT_EQ(doc.GetCell(1023, 1023), KeptCell(242));
    EXPECT_EQ(doc.GetCell(4, 11), OBJECT_2X2 + 3); // the object around them is whole
    EXPECT_EQ(doc.GetFlagCount(), 1);
    const KeptCellCount kept = CountKeptCells(doc.GetCells());
    EXPECT_EQ(kept.cells, 6);
    EXPECT_EQ(CodeList(kept.codes), "codes 241, 242");
    EXPECT_EQ(doc.Serialize(), bytes);
}

// The writer goes row by row: records in another order come back in that order, each with
// its code and cell; a later record for a cell wins over an earlier one, as for tiles.
TEST_F(KeptCells, OutOfOrderRecordsComeBackInRowOrderWithTheirCodesAndCells) {
    Bytes bytes;
    AppendRecord(bytes, 250, 7, 900);
    AppendRecord(bytes, 0, 0, 0); // code 0 is unknown too
    AppendRecord(bytes, 12, 3, 1);
    AppendRecord(bytes, 199, 3, 1); // over the tile
    AppendRecord(bytes, 9, 8, 8);
    AppendRecord(bytes, 230, 8, 8);
    AppendRecord(bytes, 5, 8, 8);      // a tile over the kept cell
    AppendRecord(bytes, 221, 4000, 2); // off the map: skipped, as any record there
    ASSERT_TRUE(
        doc.OnOpenDocument(folder.Write("shuffled.lvl", bytes), prompt, UnknownCodes::Keep));
    const std::vector<std::tuple<int, int, int>> expected{
        {0, 0, 0}, {199, 3, 1}, {5, 8, 8}, {250, 7, 900}};
    EXPECT_EQ(RecordsOf(doc.Serialize(), 0), expected);
}

// A kept record over an object is kept like a tile over it: what is saved stays.
TEST_F(KeptCells, OverAnObjectTheyStayAsATileWould) {
    for (const bool onAnchor : {false, true}) {
        SCOPED_TRACE(onAnchor ? "on the anchor" : "on a footprint cell");
        Bytes bytes;
        AppendRecord(bytes, CODE_OBJECT_6X6, 10, 10);
        AppendRecord(bytes, 241, onAnchor ? 10 : 12, onAnchor ? 10 : 13);
        CKRAVDoc level;
        ASSERT_TRUE(
            level.OnOpenDocument(folder.Write("over.lvl", bytes), prompt, UnknownCodes::Keep));
        EXPECT_EQ(level.GetCell(onAnchor ? 10 : 13, onAnchor ? 10 : 12), KeptCell(241));
        CKRAVDoc again;
        ASSERT_TRUE(again.OnOpenDocument(folder.Write("again.lvl", level.Serialize()), prompt,
                                         UnknownCodes::Keep));
        EXPECT_TRUE(std::equal(level.GetCells(), level.GetCells() + MAP_CELLS, again.GetCells()))
            << "the map is what saving and reading it back gives";
    }
}

// Files too large to be in memory are read in chunks: the offset of the first unknown record
// must still be its place in the file.
TEST(KeptCellsInChunks, TheFirstOffsetCountsEveryChunkBefore) {
    class Unmapped final : public ByteSource {
    public:
        explicit Unmapped(const Bytes& bytes) : m_memory(bytes) {}
        std::uint64_t Size() const override { return m_memory.Size(); }
        std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
            return m_memory.ReadAt(offset, out);
        }

    private:
        MemorySource m_memory;
    };
    Bytes bytes = test::MakeBmp();
    for (int i = 0; i < 200000; ++i)
        AppendRecord(bytes, 3, i % MAP_SIZE, i / MAP_SIZE);
    AppendRecord(bytes, 200, 1, 1000);
    AppendRecord(bytes, 201, 2, 1000);
    std::vector<Cell> cells(MAP_CELLS);
    try {
        ReadLevel(Unmapped(bytes), cells.data());
        ADD_FAILURE() << "read without keeping";
    } catch (const UnknownCodesError& error) {
        EXPECT_EQ(error.what(), std::string(messages::TILE_ID_OUT_OF_RANGE));
        EXPECT_EQ(error.records.count, 2u);
        EXPECT_EQ(error.records.firstOffset, 49718u + 200000u * 4);
        EXPECT_EQ(std::tie(error.records.firstX, error.records.firstY, error.records.firstCode),
                  std::make_tuple(1, 1000, 200));
    }
    LevelReadOptions keep;
    keep.keepUnknown = true;
    const LevelReadResult read = ReadLevel(Unmapped(bytes), cells.data(), keep);
    EXPECT_EQ(read.unknown.count, 2u);
    EXPECT_EQ(cells[1000 * MAP_SIZE + 2], KeptCell(201));
    EXPECT_EQ(cells[1000 * MAP_SIZE + 3], EMPTY_CELL);
}

TEST(KeptCellTexts, NameTheCodes) {
    std::bitset<CODE_COUNT> one, three;
    one.set(0);
    three.set(255).set(7).set(199);
    EXPECT_EQ(CodeList(one), "code 0");
    EXPECT_EQ(CodeList(three), "codes 7, 199, 255");
    EXPECT_EQ(KeptCellText(KeptCell(241)), "code 241, no tile and no object (kept as read)");
    EXPECT_EQ(KeptCellText(5), "");
    EXPECT_EQ(KeptCellText(EMPTY_CELL), "");
}

} // namespace
} // namespace krav
