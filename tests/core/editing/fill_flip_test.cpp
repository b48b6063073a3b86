// Fill Selection and the two flips on the selection of a view.
#include "document/Messages.h"
#include "editing/MapViewEngine.h"
#include "support/SelectToolFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

class BlockCommand : public test::SelectToolFixture {
protected:
    // Drags out the cells (right and bottom excluded) with the mouse.
    void Select(const Rect& cells) {
        const auto at = [](int column, int row) { return Point{column * 16 + 1, row * 16 + 1}; };
        engine.OnLButtonDown(MK_LBUTTON, at(cells.left, cells.top));
        engine.OnMouseMove(MK_LBUTTON, at(cells.right, cells.bottom));
        engine.OnLButtonUp(0, at(cells.right, cells.bottom));
    }
    std::vector<Cell> Snapshot() const { return {doc.GetCells(), doc.GetCells() + MAP_CELLS}; }
    bool MapIs(const std::vector<Cell>& cells) const {
        return std::equal(cells.begin(), cells.end(), doc.GetCells());
    }
    const UndoRecord* NewestStep() const { return engine.History().GetUndoStack().Newest(); }
};

using Fill = BlockCommand;
using Flip = BlockCommand;

TEST_F(Fill, AHundredCellsAreOneUndoStep) {
    FillCells({10, 10, 20, 20}, 3);
    Put(12, 12, FLAG_CELL);
    const std::vector<Cell> before = Snapshot();
    doc.SetModifiedFlag(false);
    Select({10, 10, 20, 20});
    engine.SetForeBack(7, true);
    engine.Selection().FillSelection();

    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x)
            ASSERT_EQ(doc.GetCell(y, x), 7u) << x << "," << y;
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(engine.History().GetUndoStack().Count(), 1);
    EXPECT_EQ(NewestStep()->kind, UndoKind::Fill);

    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_TRUE(MapIs(before));
}

TEST_F(Fill, WithFlagsStopsAtTheLimitAndSaysSoOnce) {
    FillCells({0, 0, 10, 1}, 3);
    FillCells({0, 100, 250, 101}, FLAG_CELL);
    const std::vector<Cell> before = Snapshot();
    Select({0, 0, 10, 1});
    engine.SetForeBack(static_cast<int>(FLAG_CELL), true);
    engine.Selection().FillSelection();

    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(doc.GetCell(0, x), x < 6 ? FLAG_CELL : 3u) << x;
    EXPECT_EQ(engine.FlagCount(), MAX_FLAGS);
    EXPECT_EQ(host.prompt.messages, std::vector<std::string>{messages::FILL_CANCELLED});
    engine.UndoRedo(ApplyMode::Undo); // what was filled is one step
    EXPECT_TRUE(MapIs(before));
}

TEST_F(Fill, AtTheLimitFlagsAlreadyThereAreKept) {
    FillCells({0, 0, 4, 1}, 3);
    Put(4, 0, FLAG_CELL);
    FillCells({0, 100, 255, 101}, FLAG_CELL);
    Select({0, 0, 5, 1});
    engine.SetForeBack(static_cast<int>(FLAG_CELL), true);
    engine.Selection().FillSelection();
    EXPECT_EQ(doc.GetCell(0, 0), 3u);
    EXPECT_EQ(doc.GetCell(0, 4), FLAG_CELL);
    EXPECT_EQ(engine.FlagCount(), MAX_FLAGS);
}

// Whole rows are recorded eight changes at a time, the rest one by one: every cell of a block
// wider than that, each holding another value, must come back as it was.
TEST_F(BlockCommand, EveryCellOfAWideBlockIsTakenBackAndDoneAgainExactly) {
    const struct {
        const char* name;
        void (SelectionTool::*command)();
    } commands[] = {
        {"Fill", &SelectionTool::FillSelection},
        {"Flip Horizontal", &SelectionTool::FlipHorizontal},
        {"Flip Vertical", &SelectionTool::FlipVertical},
    };
    int top = 5;
    for (const auto& c : commands) {
        SCOPED_TRACE(c.name);
        // 37 wide: four runs of eight and five cells more; each command has a block of its
        // own, so that selecting it starts a new selection instead of dragging the last one.
        const Rect block{3, top, 40, top + 5};
        top += 10;
        for (int y = block.top; y < block.bottom; ++y)
            for (int x = block.left; x < block.right; ++x)
                Put(x, y,
                    (x * 7 + y * 13) % 5 == 0 ? EMPTY_CELL : static_cast<Cell>((x * 31 + y) % 160));
        const std::vector<Cell> before = Snapshot();
        Select(block);
        engine.SetForeBack(9, true);
        (engine.Selection().*c.command)();
        const std::vector<Cell> after = Snapshot();
        ASSERT_FALSE(MapIs(before));
        engine.UndoRedo(ApplyMode::Undo);
        EXPECT_TRUE(MapIs(before));
        engine.UndoRedo(ApplyMode::Redo);
        EXPECT_TRUE(MapIs(after));
    }
}

TEST_F(Flip, AnObjectAtOneEdgeLandsUprightAtTheOther) {
    struct Case {
        bool horizontal;
        Rect selection;
        Point landed; // the object's new anchor
    };
    // Narrow and wide selections: rows are searched for objects four cells at a time.
    for (const Case& c :
         {Case{true, {10, 10, 15, 12}, {13, 10}}, Case{false, {30, 10, 32, 15}, {30, 13}},
          Case{true, {40, 10, 52, 12}, {50, 10}}, Case{false, {60, 10, 69, 15}, {60, 13}}}) {
        PutObject(OBJECT_2X2, c.selection.left, c.selection.top);
        Put(c.selection.right - 1, c.selection.bottom - 1, FLAG_CELL);
        const std::vector<Cell> before = Snapshot();
        Select(c.selection);
        c.horizontal ? engine.Selection().FlipHorizontal() : engine.Selection().FlipVertical();

        for (int offset = 0; offset < 4; ++offset)
            EXPECT_EQ(doc.GetCell(c.landed.y + offset / 2, c.landed.x + offset % 2), 700u + offset)
                << c.horizontal << offset;
        // The flag at the far corner went to the corner the object left.
        const Point flag = c.horizontal ? Point{c.selection.left, c.selection.bottom - 1}
                                        : Point{c.selection.right - 1, c.selection.top};
        EXPECT_EQ(doc.GetCell(flag.y, flag.x), FLAG_CELL) << c.horizontal;
        EXPECT_EQ(NewestStep()->kind, UndoKind::Cells);
        EXPECT_TRUE(engine.HasSelection());

        engine.UndoRedo(ApplyMode::Undo);
        EXPECT_TRUE(MapIs(before)) << c.horizontal;
    }
}

TEST_F(Flip, ASelectionOfOneObjectStaysAsItIs) {
    for (const Cell base : {OBJECT_2X2, OBJECT_5X5, OBJECT_6X6}) {
        PutObject(base, 40, 40);
        const std::vector<Cell> before = Snapshot();
        Select({40, 40, 41, 41}); // grows to the whole object
        engine.Selection().FlipHorizontal();
        EXPECT_TRUE(MapIs(before)) << base;
        engine.Selection().FlipVertical();
        EXPECT_TRUE(MapIs(before)) << base;
        engine.ChangeTool(ID_TOOL_SELECT, ID_TOOL_PENCIL);
    }
}

} // namespace
} // namespace krav
