// Copy, Cut and Paste through the copy buffer that all views share.
#include "editing/MapViewEngine.h"
#include "support/SelectToolFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace krav {
namespace {

class Clipboard : public test::SelectToolFixture {
protected:
    // Drags out the cells (right and bottom excluded) with the mouse.
    void Select(MapViewEngine& view, const Rect& cells) {
        const ViewGeometry& g = view.Geometry();
        const auto at = [&g](int column, int row) {
            return Point{(column - g.LeftCol()) * g.CellWidth() + 1,
                         (row - g.TopRow()) * g.CellHeight() + 1};
        };
        view.OnLButtonDown(MK_LBUTTON, at(cells.left, cells.top));
        view.OnMouseMove(MK_LBUTTON, at(cells.right, cells.bottom));
        view.OnLButtonUp(0, at(cells.right, cells.bottom));
    }
    void Select(const Rect& cells) { Select(engine, cells); }
    Rect SelectionPixels() const { return engine.Selection().SelectionRect(); }

    // Numbered tiles, so that every cell of a block can be told apart.
    void PutPattern(const Rect& cells, Cell first = 1) {
        for (int y = cells.top; y < cells.bottom; ++y)
            for (int x = cells.left; x < cells.right; ++x)
                Put(x, y, first++);
    }
    bool HoldsPattern(const Rect& cells, Cell first = 1) const {
        for (int y = cells.top; y < cells.bottom; ++y)
            for (int x = cells.left; x < cells.right; ++x)
                if (doc.GetCell(y, x) != first++)
                    return false;
        return true;
    }

    CopyBuffer buffer;
};

TEST_F(Clipboard, ACopyKeepsItsSizeInCellsAtAnotherZoom) {
    engine.ZoomAt(0, 0, true); // 1:2, cells of 8 pixels
    PutPattern({5, 5, 9, 8});
    Select({5, 5, 9, 8});
    engine.Selection().CopySelection(buffer, false);
    EXPECT_TRUE(buffer.HasCopy());
    EXPECT_EQ(buffer.Extents(), (Rect{0, 0, 64, 48}));
    EXPECT_TRUE(engine.HasSelection()); // a copy leaves the selection as it was

    engine.ChangeTool(ID_TOOL_SELECT, ID_TOOL_MAGNIFY);
    engine.ZoomAt(0, 0, false);
    engine.ZoomAt(0, 0, false); // 2:1, cells of 32 pixels
    engine.Selection().PasteBlock(buffer);
    EXPECT_TRUE(engine.IsFloating());
    EXPECT_EQ(SelectionPixels(), (Rect{0, 0, 128, 96}));
    engine.Selection().DropSelection();
    EXPECT_TRUE(HoldsPattern({0, 0, 4, 3}));
}

TEST_F(Clipboard, APasteNearTheFarCornerIsMovedInsideTheMap) {
    Select({0, 0, 50, 40}); // larger than what is left beyond the view's corner
    engine.Selection().CopySelection(buffer, false);
    engine.SetVisibleArea(984, 994, 1024, 1024);
    engine.Selection().PasteBlock(buffer);
    EXPECT_EQ(SelectionPixels(), (Rect{974 * 16, 984 * 16, 1024 * 16, 1024 * 16}));
}

TEST_F(Clipboard, CutEmptiesTheCellsAndUndoBringsThemBack) {
    PutPattern({10, 10, 15, 12});
    for (int x = 10; x < 15; ++x)
        Put(x, 11, FLAG_CELL);
    Put(40, 40, FLAG_CELL);
    Select({10, 10, 15, 12});
    engine.Selection().CopySelection(buffer, true);

    EXPECT_EQ(engine.FlagCount(), 1);
    EXPECT_EQ(std::count(doc.GetCells(), doc.GetCells() + MAP_CELLS, EMPTY_CELL), MAP_CELLS - 1);
    EXPECT_EQ(buffer.Extents(), (Rect{0, 0, 80, 32}));
    EXPECT_EQ(*buffer.Cells(), (std::vector<Cell>{1, 2, 3, 4, 5, FLAG_CELL, FLAG_CELL, FLAG_CELL,
                                                  FLAG_CELL, FLAG_CELL}));
    EXPECT_TRUE(engine.HasSelection()); // framing empty cells now

    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(engine.FlagCount(), 6);
    EXPECT_TRUE(HoldsPattern({10, 10, 15, 11}));
}

TEST_F(Clipboard, TheSameBlockPastesAgainAndAgain) {
    PutPattern({20, 20, 23, 22});
    Put(22, 21, FLAG_CELL);
    Select({20, 20, 23, 22});
    engine.Selection().CopySelection(buffer, false);
    const CellBlock copied = buffer.Cells();
    const std::vector<Cell> cells = *copied;

    for (const int column : {0, 10}) {
        engine.SetVisibleArea(column, 0, column + 40, 30);
        engine.Selection().PasteBlock(buffer);
        engine.Selection().DropSelection();
    }
    EXPECT_EQ(doc.GetCell(0, 0), 1u);
    EXPECT_EQ(doc.GetCell(1, 2), FLAG_CELL);
    EXPECT_EQ(doc.GetCell(0, 10), 1u);
    EXPECT_EQ(doc.GetCell(1, 12), FLAG_CELL);
    EXPECT_EQ(engine.FlagCount(), 3);
    EXPECT_EQ(buffer.Cells(), copied);
    EXPECT_EQ(*buffer.Cells(), cells);
}

TEST_F(Clipboard, ACopyInAnotherViewDoesNotChangeWhatAPastedBlockDrops) {
    PutPattern({0, 0, 2, 2}, 1);
    PutPattern({5, 5, 7, 7}, 50);
    Select({0, 0, 2, 2});
    engine.Selection().CopySelection(buffer, false);
    engine.SetVisibleArea(20, 20, 60, 50);
    engine.Selection().PasteBlock(buffer);

    test::RecordingHost otherHost;
    otherHost.tool = ID_TOOL_SELECT;
    MapViewEngine other{doc, otherHost};
    other.OnInitialUpdate(640, 480);
    Select(other, {5, 5, 7, 7});
    other.Selection().CopySelection(buffer, false);
    ASSERT_EQ(buffer.Cells()->front(), 50u);

    engine.Selection().DropSelection();
    EXPECT_TRUE(HoldsPattern({20, 20, 22, 22}, 1));
}

TEST_F(Clipboard, PasteThrowsAwayAFloatingBlockAndTheSelection) {
    PutPattern({0, 0, 2, 2});
    Select({0, 0, 2, 2});
    engine.Selection().CopySelection(buffer, false);
    PutPattern({10, 10, 12, 12}, 20);
    Select({10, 10, 12, 12});
    engine.OnLButtonDown(MK_LBUTTON, {10 * 16 + 1, 10 * 16 + 1}); // lifted
    engine.OnLButtonUp(0, {10 * 16 + 1, 10 * 16 + 1});

    engine.SetVisibleArea(30, 30, 70, 60);
    engine.Selection().PasteBlock(buffer);
    EXPECT_EQ(engine.Selection().FloatingKind(), FloatKind::Paste);
    EXPECT_FALSE(engine.HasSelection());
    EXPECT_EQ(doc.GetCell(10, 10), EMPTY_CELL); // the lifted block was not written back
    engine.Selection().DropSelection();
    EXPECT_TRUE(HoldsPattern({30, 30, 32, 32}));
    EXPECT_EQ(doc.GetCell(10, 10), EMPTY_CELL);
}

} // namespace
} // namespace krav
