// Kept cells (codes of no tile or object, kept from a level file) under every editing
// operation: each treats one as an ordinary occupied cell, moving and copying it like a tile.
// No operation may ever lose one it was not pointed at, change its code, or fail to bring it
// back on undo.
#include "editing/CopyBuffer.h"
#include "editing/MapViewEngine.h"
#include "palettes/RadarOverview.h"
#include "support/SelectToolFixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace krav {
namespace {

constexpr Cell K241 = KeptCell(241);
constexpr Cell K0 = KeptCell(0);
constexpr Cell K255 = KeptCell(255);

class KeptCellEditing : public test::SelectToolFixture {
protected:
    void SetUp() override {
        // A row of kept cells of the extreme codes, between tiles and next to a flag.
        Put(9, 10, 3);
        Put(10, 10, K241);
        Put(11, 10, K0);
        Put(12, 10, K255);
        Put(13, 10, FLAG_CELL);
        host.tool = ID_TOOL_SELECT;
    }
    Point CellPoint(int column, int row) const { return {column * 16 + 1, row * 16 + 1}; }
    void Select(const Rect& cells) {
        engine.OnLButtonDown(MK_LBUTTON, CellPoint(cells.left, cells.top));
        engine.OnMouseMove(MK_LBUTTON, CellPoint(cells.right, cells.bottom));
        engine.OnLButtonUp(0, CellPoint(cells.right, cells.bottom));
    }
    void Click(int tool, int column, int row) {
        host.tool = tool;
        engine.OnLButtonDown(MK_LBUTTON, At(column, row));
        engine.OnLButtonUp(0, At(column, row));
    }
    // Undo then redo, and undo again, must each give exactly the maps before and after.
    void ExpectUndoRedo(const std::vector<Cell>& before, const std::vector<Cell>& after) {
        engine.UndoRedo(ApplyMode::Undo);
        EXPECT_EQ(Map(), before) << "undo";
        engine.UndoRedo(ApplyMode::Redo);
        EXPECT_EQ(Map(), after) << "redo";
        engine.UndoRedo(ApplyMode::Undo);
        EXPECT_EQ(Map(), before) << "undo again";
    }
};

TEST_F(KeptCellEditing, PaintingOverOneReplacesItAndUndoBringsItBack) {
    for (const int tool : {ID_TOOL_PENCIL, ID_TOOL_ERASER}) {
        SCOPED_TRACE(tool);
        const std::vector<Cell> before = Map();
        engine.SetForeBack(7, true);
        Click(tool, 10, 10);
        EXPECT_EQ(doc.GetCell(10, 10), tool == ID_TOOL_PENCIL ? 7u : EMPTY_CELL);
        EXPECT_EQ(doc.GetCell(10, 11), K0) << "the cell beside is not touched";
        const std::vector<Cell> after = Map();
        ExpectUndoRedo(before, after);
    }
}

TEST_F(KeptCellEditing, AFlagAtTheLimitLeavesItAsItWas) {
    FillCells({0, 100, MAX_FLAGS - 1, 101}, FLAG_CELL);
    ASSERT_EQ(engine.FlagCount(), MAX_FLAGS);
    engine.SetForeBack(static_cast<int>(FLAG_CELL), true);
    Click(ID_TOOL_PENCIL, 10, 10);
    EXPECT_EQ(doc.GetCell(10, 10), K241);
    EXPECT_EQ(engine.FlagCount(), MAX_FLAGS);
}

TEST_F(KeptCellEditing, AnObjectStampedOverThemTakesTheirCellsUntilUndone) {
    const std::vector<Cell> before = Map();
    Click(ID_TOOL_STAMP, 10, 9); // the 6 x 6 object, over columns 7..12
    for (int x = 10; x <= 12; ++x)
        EXPECT_TRUE(SpecialObjectHolding(doc.GetCell(10, x)).has_value()) << x;
    EXPECT_EQ(doc.GetCell(10, 13), FLAG_CELL);
    ExpectUndoRedo(before, Map());
}

TEST_F(KeptCellEditing, FillReplacesThemAndUndoBringsThemBack) {
    const std::vector<Cell> before = Map();
    Select({10, 10, 12, 11});
    engine.SetForeBack(4, true);
    engine.Selection().FillSelection();
    EXPECT_EQ(doc.GetCell(10, 10), 4u);
    EXPECT_EQ(doc.GetCell(10, 11), 4u);
    EXPECT_EQ(doc.GetCell(10, 12), K255);
    ExpectUndoRedo(before, Map());
}

TEST_F(KeptCellEditing, FlipsMoveThemLikeTilesWithTheirCodes) {
    const std::vector<Cell> before = Map();
    Select({9, 9, 14, 12});
    engine.Selection().FlipHorizontal();
    EXPECT_EQ(doc.GetCell(10, 9), FLAG_CELL);
    EXPECT_EQ(doc.GetCell(10, 10), K255);
    EXPECT_EQ(doc.GetCell(10, 11), K0);
    EXPECT_EQ(doc.GetCell(10, 12), K241);
    EXPECT_EQ(doc.GetCell(10, 13), 3u);
    ExpectUndoRedo(before, Map());
}

TEST_F(KeptCellEditing, AVerticalFlipMovesThemToTheirMirroredRow) {
    const std::vector<Cell> before = Map();
    Select({9, 10, 14, 12});
    engine.Selection().FlipVertical();
    EXPECT_EQ(doc.GetCell(11, 10), K241);
    EXPECT_EQ(doc.GetCell(11, 12), K255);
    EXPECT_EQ(doc.GetCell(10, 10), EMPTY_CELL);
    ExpectUndoRedo(before, Map());
}

TEST_F(KeptCellEditing, AMovedBlockCarriesThemAndUndoPutsThemBack) {
    const std::vector<Cell> before = Map();
    Select({9, 10, 14, 11});
    engine.OnLButtonDown(MK_LBUTTON, CellPoint(10, 10)); // lifted
    engine.OnMouseMove(MK_LBUTTON, CellPoint(10, 20));
    engine.OnLButtonUp(0, CellPoint(10, 20));
    engine.Selection().DropSelection();
    EXPECT_EQ(doc.GetCell(10, 10), EMPTY_CELL);
    EXPECT_EQ(doc.GetCell(20, 10), K241);
    EXPECT_EQ(doc.GetCell(20, 11), K0);
    EXPECT_EQ(doc.GetCell(20, 12), K255);
    EXPECT_EQ(engine.FlagCount(), 1);
    engine.UndoRedo(ApplyMode::Undo);
    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(Map(), before);
}

TEST_F(KeptCellEditing, CopyAndPasteCopyThem) {
    CopyBuffer buffer;
    Select({10, 10, 13, 11});
    engine.Selection().CopySelection(buffer, false);
    engine.Selection().PasteBlock(buffer); // at the view's top-left corner
    engine.Selection().DropSelection();
    EXPECT_EQ(doc.GetCell(0, 0), K241);
    EXPECT_EQ(doc.GetCell(0, 1), K0);
    EXPECT_EQ(doc.GetCell(0, 2), K255);
    EXPECT_EQ(doc.GetCell(10, 10), K241) << "the copy leaves the originals";

    const std::vector<Cell> before = Map();
    Select({10, 10, 13, 11});
    engine.Selection().CopySelection(buffer, true); // cut
    EXPECT_EQ(doc.GetCell(10, 10), EMPTY_CELL);
    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(Map(), before);
}

// Erase Map is not undone, but a step from before it still puts back what it took.
TEST_F(KeptCellEditing, AStepTakenBackAfterEraseMapPutsTheCodeBack) {
    engine.SetForeBack(7, true);
    Click(ID_TOOL_PENCIL, 12, 10);
    engine.EraseMap();
    EXPECT_EQ(doc.GetCell(10, 10), EMPTY_CELL);
    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(doc.GetCell(10, 12), K255);
    EXPECT_EQ(doc.GetCell(10, 10), EMPTY_CELL);
    engine.UndoRedo(ApplyMode::Redo); // back to what the undo found: the erased map
    EXPECT_EQ(doc.GetCell(10, 12), EMPTY_CELL);
    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(doc.GetCell(10, 12), K255);
}

TEST_F(KeptCellEditing, TheRadarMarksThemWhite) {
    RadarPicture built;
    built.Build(doc.GetCells());
    for (int x = 10; x <= 12; ++x)
        EXPECT_EQ(built.IndexAt(x, 10), RADAR_WHITE);
    EXPECT_EQ(built.IndexAt(13, 10), RADAR_YELLOW);
    engine.SetForeBack(7, true);
    Click(ID_TOOL_PENCIL, 10, 10);
    EXPECT_NE(engine.Radar().IndexAt(10, 10), RADAR_WHITE);
    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(engine.Radar().IndexAt(10, 10), RADAR_WHITE);
}

// The radar window shrinks the map: a kept cell outranks the flag and tiles beside it.
TEST_F(KeptCellEditing, TheShrunkRadarStillShowsThem) {
    RadarPicture built;
    built.Build(doc.GetCells());
    RadarOverview overview;
    overview.Resize(64, 64); // 16 x 16 cells a pixel
    overview.Build(built);
    EXPECT_EQ(overview.Row(0)[0], RADAR_WHITE);
    Put(10, 10, 3);
    Put(11, 10, 3);
    Put(12, 10, 3);
    built.Build(doc.GetCells());
    overview.Build(built);
    EXPECT_EQ(overview.Row(0)[0], RADAR_YELLOW);
}

} // namespace
} // namespace krav
