// The level document's own rules: a new level, cell writes and the modified flag, sectors.
#include "document/CKRAVDoc.h"
#include "document/LoadTileSet.h"
#include "document/Sectors.h"
#include "support/FakePrompt.h"

#include <gtest/gtest.h>

namespace krav {
namespace {

TEST(Document, NewLevelIsEmptyWithTheBuiltInTileSet) {
    CKRAVDoc doc;
    test::FakePrompt prompt;
    ASSERT_TRUE(doc.OnNewDocument(prompt));
    EXPECT_EQ(std::count(doc.GetCells(), doc.GetCells() + MAP_CELLS, EMPTY_CELL), MAP_CELLS);
    EXPECT_EQ(doc.GetFlagCount(), 0);
    EXPECT_TRUE(doc.IsDefaultTileSet());
    ASSERT_NE(doc.GetTileSet(), nullptr);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.Serialize().empty()) << "the built-in tile set is never written";
}

TEST(Document, SetCellMarksModifiedOnlyWhenTheCellChanges) {
    CKRAVDoc doc;
    EXPECT_FALSE(doc.SetCell(3, 4, EMPTY_CELL));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.SetCell(3, 4, 17));
    EXPECT_EQ(doc.GetCell(3, 4), 17u);
    EXPECT_EQ(doc.GetCells()[3 * 1024 + 4], 17u);
    EXPECT_TRUE(doc.IsModified());
}

TEST(Document, ClearMapEmptiesAndTellsTheViews) {
    for (const bool markModified : {false, true}) {
        CKRAVDoc doc;
        int updates = 0;
        doc.SetUpdateAllViews([&] { ++updates; });
        doc.GetCells()[12345] = 7;
        doc.ClearMap(markModified);
        EXPECT_EQ(doc.GetCells()[12345], EMPTY_CELL);
        EXPECT_EQ(doc.IsModified(), markModified);
        EXPECT_EQ(updates, 1);
    }
}

TEST(Document, SetTileSetKindDecidesWhetherItIsWritten) {
    CKRAVDoc doc;
    doc.SetTileSet(TILESET_IMPORTED, LoadBuiltInTileSet());
    EXPECT_FALSE(doc.IsDefaultTileSet());
    EXPECT_EQ(doc.Serialize().size(), 49718u);
    EXPECT_FALSE(doc.IsModified()) << "the caller marks the change";
    doc.SetTileSet(TILESET_BUILTIN, LoadBuiltInTileSet());
    EXPECT_TRUE(doc.Serialize().empty());
}

TEST(Sectors, NamesByColumnLetterAndRowNumber) {
    struct Case {
        int coordinate;
        char letter;
        int number;
    };
    for (const Case c : {Case{0, 'A', 1},
                         {51, 'A', 1},
                         {52, 'B', 2},
                         {987, 'S', 19},
                         {988, 'T', 20},
                         {1023, 'T', 20},
                         {1039, 'T', 20},
                         {1040, 'T', 20},
                         {5000, 'T', 20}}) {
        EXPECT_EQ(SectorLetter(c.coordinate), c.letter) << c.coordinate;
        EXPECT_EQ(SectorNumber(c.coordinate), c.number) << c.coordinate;
    }
}

} // namespace
} // namespace krav
