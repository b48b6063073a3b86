// The Select tool driven like a mouse: dragging out selections, the auto-scroll timers, and
// floating blocks that are lifted, copied, dragged and dropped.
#include "document/Messages.h"
#include "editing/MapViewEngine.h"
#include "support/SelectToolFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

class Selection : public test::SelectToolFixture {
protected:
    // A pointer a few pixels inside a map cell.
    Point At(int column, int row) const {
        const ViewGeometry& view = engine.Geometry();
        return {(column - view.LeftCol()) * view.CellWidth() + 3,
                (row - view.TopRow()) * view.CellHeight() + 3};
    }
    static Point Plus(Point p, int dx, int dy) { return {p.x + dx, p.y + dy}; }

    void Drag(Point from, Point to, int flags = MK_LBUTTON) {
        engine.OnLButtonDown(flags, from);
        engine.OnMouseMove(flags, to);
        engine.OnLButtonUp(flags & ~MK_LBUTTON, to);
    }
    // Drags from the first cell to the one after the last (right and bottom excluded).
    void Select(const Rect& cells) {
        Drag(At(cells.left, cells.top), At(cells.right, cells.bottom));
    }
    Rect SelectedCells() const {
        const Rect& map = engine.Selection().SelectionRect();
        const int cell = engine.Geometry().CellWidth();
        return {map.left / cell, map.top / cell, map.right / cell, map.bottom / cell};
    }
    // Drops the selection and any floating block, as choosing another tool does.
    void LeaveTool() { engine.ChangeTool(ID_TOOL_SELECT, ID_TOOL_PENCIL); }

    bool HoldsPattern(const Rect& cells) const {
        Cell value = 1;
        for (int y = cells.top; y < cells.bottom; ++y)
            for (int x = cells.left; x < cells.right; ++x)
                if (doc.GetCell(y, x) != value++)
                    return false;
        return true;
    }
    bool IsEmpty(const Rect& cells) const {
        for (int y = cells.top; y < cells.bottom; ++y)
            for (int x = cells.left; x < cells.right; ++x)
                if (doc.GetCell(y, x) != EMPTY_CELL)
                    return false;
        return true;
    }
    int UndoSteps() const { return engine.History().GetUndoStack().Count(); }
};

// --- dragging out a selection -----------------------------------------------------------------

TEST_F(Selection, AClickWithoutMovingSelectsNothing) {
    engine.OnLButtonDown(MK_LBUTTON, At(4, 4));
    EXPECT_TRUE(engine.HasSelection()); // while the band is held
    EXPECT_TRUE(host.capture);
    engine.OnMouseMove(MK_LBUTTON, Plus(At(4, 4), 9, 9)); // still the same cell
    engine.OnLButtonUp(0, Plus(At(4, 4), 9, 9));
    EXPECT_FALSE(engine.HasSelection());
    EXPECT_FALSE(engine.Selection().HasFinishedSelection());
    EXPECT_FALSE(engine.Selection().IsSelecting());
    EXPECT_FALSE(host.capture);
}

TEST_F(Selection, DraggedCornersAreSnappedDownAndKeptInsideTheMap) {
    struct Case {
        const char* name;
        Point origin;   // the visible area's top-left cell
        Point from, to; // cells, or client points off the window
        bool toIsClient;
        Rect cells;
    };
    const Case cases[] = {
        {"down right", {0, 0}, {2, 3}, {5, 7}, false, {2, 3, 5, 7}},
        {"up left", {0, 0}, {5, 7}, {2, 3}, false, {2, 3, 5, 7}},
        {"past the far edges",
         {984, 994},
         {1020, 1020},
         {700, 520},
         true,
         {1020, 1020, 1024, 1024}},
        {"past the near edges", {0, 0}, {3, 2}, {-40, -40}, true, {0, 0, 3, 2}},
    };
    for (const Case& c : cases) {
        engine.SetVisibleArea(c.origin.x, c.origin.y, c.origin.x + 40, c.origin.y + 30);
        Drag(At(c.from.x, c.from.y), c.toIsClient ? c.to : At(c.to.x, c.to.y));
        EXPECT_TRUE(engine.Selection().HasFinishedSelection()) << c.name;
        EXPECT_EQ(SelectedCells(), c.cells) << c.name;
        LeaveTool();
    }
}

TEST_F(Selection, GrowsToWholeObjectsAndToTheObjectsThoseReach) {
    PutObject(OBJECT_6X6, 10, 10); // columns and rows 10..15
    PutObject(OBJECT_2X2, 16, 15); // touched only once the first object is in
    PutObject(OBJECT_1X1, 17, 11);
    Select({14, 10, 18, 12});
    EXPECT_EQ(SelectedCells(), (Rect{10, 10, 18, 17}));
}

TEST_F(Selection, TheBandScrollTimerFollowsTheCornerAcrossTheEdgeZones) {
    engine.OnLButtonDown(MK_LBUTTON, At(10, 10));
    struct Step {
        Point pointer;
        std::vector<std::string> events;
    };
    const Step steps[] = {
        {{300, 200}, {}},
        {{630, 200}, {"start 6 55"}},            // within a cell of the right edge
        {{700, 200}, {"stop 6", "start 6 300"}}, // outside the window
        {{705, 200}, {}},                        // already running at that period
        {{300, 200}, {"stop 6"}},                // back in the inner area
        {{300, 470}, {"start 6 55"}},
    };
    for (const Step& step : steps) {
        host.events.clear();
        engine.OnMouseMove(MK_LBUTTON, step.pointer);
        EXPECT_EQ(host.events, step.events) << step.pointer.x << "," << step.pointer.y;
    }
    host.events.clear();
    engine.OnLButtonUp(0, {300, 470});
    EXPECT_EQ(host.events, std::vector<std::string>{"stop 6"});
}

TEST_F(Selection, ScrollTicksKeepTheAnchorOnItsMapCell) {
    // At the map's corner nothing can scroll, and the anchor stays.
    engine.OnLButtonDown(MK_LBUTTON, At(5, 5));
    engine.OnMouseMove(MK_LBUTTON, {-5, -20});
    engine.OnTimer(ViewTimer::SelectScroll, {-5, -20});
    EXPECT_EQ(engine.Selection().Anchor(), (Point{80, 80}));
    EXPECT_TRUE(host.scrolled.empty());
    engine.OnLButtonUp(0, {-5, -20});
    LeaveTool();

    engine.SetVisibleArea(100, 100, 140, 130);
    engine.OnLButtonDown(MK_LBUTTON, At(110, 110)); // anchor at client (160, 160)
    engine.OnMouseMove(MK_LBUTTON, {-5, 500});
    engine.OnTimer(ViewTimer::SelectScroll, {-5, 500}); // a page down (30 rows), a page left (40)
    EXPECT_EQ(engine.Selection().Anchor(), (Point{160 + 640, 160 - 480}));
    engine.OnMouseMove(MK_LBUTTON, {300, 470});
    engine.OnTimer(ViewTimer::SelectScroll, {300, 470}); // one row down
    EXPECT_EQ(engine.Selection().Anchor(), (Point{800, -336}));
    engine.OnLButtonUp(0, {300, 470});
    // From the anchor's cell to the cell under the pointer, which is now (78, 160).
    EXPECT_EQ(engine.Geometry().TopRow(), 131);
    EXPECT_EQ(engine.Geometry().LeftCol(), 60);
    EXPECT_EQ(SelectedCells(), (Rect{78, 110, 110, 160}));
}

// --- floating blocks --------------------------------------------------------------------------

TEST_F(Selection, TheLeftButtonAloneLiftsTheBlockAKeyCopiesIt) {
    struct Case {
        int flags;
        bool lifted;
        int column; // each case works on cells of its own
    };
    for (const Case c : {Case{MK_LBUTTON, true, 10}, Case{MK_LBUTTON | MK_SHIFT, false, 20},
                         Case{MK_LBUTTON | MK_CONTROL, false, 30}}) {
        const Rect block{c.column, 10, c.column + 3, 12};
        PutPattern(block);
        Put(c.column + 2, 11, FLAG_CELL);
        const int flags = engine.FlagCount();
        const int steps = UndoSteps();
        Select(block);

        engine.OnLButtonDown(c.flags, At(c.column + 1, 11));
        EXPECT_TRUE(engine.IsFloating());
        EXPECT_FALSE(engine.HasSelection());
        EXPECT_EQ(IsEmpty(block), c.lifted) << c.flags;
        EXPECT_EQ(engine.FlagCount(), c.lifted ? flags - 1 : flags) << c.flags;
        EXPECT_EQ(UndoSteps(), steps + (c.lifted ? 1 : 0)) << c.flags;
        EXPECT_EQ(*engine.Selection().FloatingCells(),
                  (std::vector<Cell>{1, 2, 3, 4, 5, FLAG_CELL}));

        // Letting go keeps it floating.
        engine.OnLButtonUp(c.flags & ~MK_LBUTTON, At(c.column + 1, 11));
        EXPECT_TRUE(engine.IsFloating());
        EXPECT_FALSE(engine.IsHeld(MouseButton::Left));
        EXPECT_FALSE(host.capture);
        engine.Selection().DropSelection();
    }
}

TEST_F(Selection, AFloatingBlockMovesByWholeCellsOncePastOneCell) {
    struct Case {
        int dx, dy; // pixels the pointer travels
        int cellsX, cellsY;
    };
    const Case cases[] = {
        {16, 0, 0, 0}, {17, 0, 1, 0}, {-17, 0, -1, 0},
        {40, 0, 2, 0}, {0, 33, 0, 2}, {-16, -16, 0, 0},
    };
    for (const Case& c : cases) {
        Select({10, 10, 13, 12});
        const Point grip = At(11, 11);
        engine.OnLButtonDown(MK_LBUTTON | MK_SHIFT, grip);
        engine.OnMouseMove(MK_LBUTTON | MK_SHIFT, Plus(grip, c.dx, c.dy));
        EXPECT_EQ(SelectedCells(),
                  (Rect{10 + c.cellsX, 10 + c.cellsY, 13 + c.cellsX, 12 + c.cellsY}))
            << c.dx << "," << c.dy;
        engine.OnLButtonUp(MK_SHIFT, Plus(grip, c.dx, c.dy));
        LeaveTool();
    }
}

TEST_F(Selection, ABlockDraggedPastTheLeftEdgeStopsAtColumnZero) {
    PutPattern({2, 5, 6, 8});
    Select({2, 5, 6, 8});
    engine.OnLButtonDown(MK_LBUTTON, At(3, 6));
    engine.OnMouseMove(MK_LBUTTON, {-200, At(3, 6).y});
    EXPECT_EQ(SelectedCells(), (Rect{0, 5, 4, 8}));
    engine.OnLButtonUp(0, {-200, At(3, 6).y});
    engine.Selection().DropSelection();
    EXPECT_TRUE(HoldsPattern({0, 5, 4, 8}));
    EXPECT_TRUE(IsEmpty({4, 5, 6, 8}));
    EXPECT_TRUE(engine.HasSelection());
}

TEST_F(Selection, ControlPressInsideAFloatingBlockLeavesACopyAndDragsOn) {
    const Rect home{10, 10, 12, 12};
    PutPattern(home);
    Select(home);
    engine.OnLButtonDown(MK_LBUTTON, At(10, 10)); // lifted
    engine.OnMouseMove(MK_LBUTTON, Plus(At(10, 10), 3 * 16, 0));
    engine.OnLButtonUp(0, Plus(At(10, 10), 3 * 16, 0));

    engine.OnLButtonDown(MK_LBUTTON | MK_CONTROL, At(13, 11));
    EXPECT_TRUE(HoldsPattern({13, 10, 15, 12}));
    EXPECT_TRUE(engine.IsFloating());
    engine.OnMouseMove(MK_LBUTTON | MK_CONTROL, Plus(At(13, 11), 3 * 16, 0));
    engine.OnLButtonUp(MK_CONTROL, Plus(At(13, 11), 3 * 16, 0));
    engine.Selection().DropSelection();

    EXPECT_TRUE(IsEmpty(home));
    EXPECT_TRUE(HoldsPattern({13, 10, 15, 12}));
    EXPECT_TRUE(HoldsPattern({16, 10, 18, 12}));
    EXPECT_EQ(UndoSteps(), 3); // lift, copy left behind, drop
}

TEST_F(Selection, ADropOntoPartOfAnObjectRemovesTheWholeObject) {
    PutObject(OBJECT_6X6, 20, 20); // columns and rows 20..25
    PutPattern({10, 10, 12, 12});
    const std::vector<Cell> before(doc.GetCells(), doc.GetCells() + MAP_CELLS);
    Select({10, 10, 12, 12});
    engine.OnLButtonDown(MK_LBUTTON, At(10, 10));
    engine.OnMouseMove(MK_LBUTTON, Plus(At(10, 10), 15 * 16, 9 * 16));
    engine.OnLButtonUp(0, Plus(At(10, 10), 15 * 16, 9 * 16));
    ASSERT_EQ(SelectedCells(), (Rect{25, 19, 27, 21})); // over the object's top-right cell
    engine.Selection().DropSelection();

    EXPECT_EQ(doc.GetCell(20, 25), 3u);
    for (int y = 20; y < 26; ++y)
        for (int x = 20; x < 26; ++x)
            if (x != 25 || y != 20) {
                EXPECT_EQ(doc.GetCell(y, x), EMPTY_CELL) << x << "," << y;
            }

    engine.UndoRedo(ApplyMode::Undo); // the drop
    engine.UndoRedo(ApplyMode::Undo); // the lift
    EXPECT_TRUE(std::equal(before.begin(), before.end(), doc.GetCells()));
}

TEST_F(Selection, FlagsOverTheLimitAreSkippedWhenABlockIsDropped) {
    FillCells({0, 0, 10, 1}, FLAG_CELL);
    FillCells({0, 100, 240, 101}, FLAG_CELL);
    ASSERT_EQ(engine.FlagCount(), 250);
    Select({0, 0, 10, 1});
    engine.OnLButtonDown(MK_LBUTTON | MK_SHIFT, At(0, 0));
    engine.OnMouseMove(MK_LBUTTON | MK_SHIFT, Plus(At(0, 0), 0, 5 * 16));
    engine.OnLButtonUp(MK_SHIFT, Plus(At(0, 0), 0, 5 * 16));
    engine.Selection().DropSelection();

    EXPECT_EQ(engine.FlagCount(), MAX_FLAGS);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(doc.GetCell(5, x), x < 6 ? FLAG_CELL : EMPTY_CELL) << x;
    EXPECT_EQ(host.prompt.messages, std::vector<std::string>{messages::FLAGS_SKIPPED});
}

TEST_F(Selection, UndoWhileALiftedBlockFloatsThenADropWritesASecondCopy) {
    const Rect home{10, 10, 13, 12};
    PutPattern(home);
    Put(12, 11, FLAG_CELL);
    Select(home);
    engine.OnLButtonDown(MK_LBUTTON, At(10, 10));
    engine.OnLButtonUp(0, At(10, 10));
    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(doc.GetCell(11, 12), FLAG_CELL);
    ASSERT_TRUE(engine.IsFloating());

    engine.OnLButtonDown(MK_LBUTTON, At(10, 10));
    engine.OnMouseMove(MK_LBUTTON, Plus(At(10, 10), 5 * 16, 0));
    engine.OnLButtonUp(0, Plus(At(10, 10), 5 * 16, 0));
    engine.Selection().DropSelection();
    EXPECT_EQ(doc.GetCell(10, 10), 1u);
    EXPECT_EQ(doc.GetCell(10, 15), 1u);
    EXPECT_EQ(doc.GetCell(11, 17), FLAG_CELL);
    EXPECT_EQ(engine.FlagCount(), 2);
}

TEST_F(Selection, APressBesideAFloatingBlockOnlyDropsIt) {
    PutPattern({10, 10, 12, 12});
    Select({10, 10, 12, 12});
    engine.Selection().FloatSelection();
    ASSERT_TRUE(engine.IsFloating());
    EXPECT_FALSE(host.capture); // floated by command, not held

    engine.OnLButtonDown(MK_LBUTTON, At(30, 20));
    EXPECT_FALSE(engine.IsFloating());
    EXPECT_FALSE(engine.Selection().IsSelecting());
    EXPECT_EQ(SelectedCells(), (Rect{10, 10, 12, 12}));
    engine.OnMouseMove(MK_LBUTTON, At(35, 25));
    engine.OnLButtonUp(0, At(35, 25));
    EXPECT_EQ(SelectedCells(), (Rect{10, 10, 12, 12}));
    EXPECT_TRUE(HoldsPattern({10, 10, 12, 12}));
}

TEST_F(Selection, DraggingABlockNearTheEdgeScrollsAndTheDragPointFollowsTheMap) {
    Select({10, 10, 12, 12});
    engine.OnLButtonDown(MK_LBUTTON | MK_SHIFT, At(10, 10));
    host.events.clear();
    engine.OnMouseMove(MK_LBUTTON, {630, 200});
    engine.OnMouseMove(MK_LBUTTON, {650, 200});
    EXPECT_EQ(host.events, (std::vector<std::string>{"start 5 55", "stop 5", "start 5 300"}));

    const Point drag = engine.Selection().DragPoint();
    const Rect place = engine.Selection().SelectionRect();
    engine.OnTimer(ViewTimer::FloatScroll, {650, 200}); // a page right
    EXPECT_EQ(engine.Geometry().LeftCol(), 40);
    EXPECT_EQ(engine.Selection().DragPoint(), (Point{drag.x - 640, drag.y}));
    EXPECT_EQ(engine.Selection().SelectionRect(), place);

    host.events.clear();
    engine.OnLButtonUp(0, {650, 200});
    EXPECT_EQ(host.events, std::vector<std::string>{"stop 5"});
    EXPECT_TRUE(engine.IsFloating());
}

TEST_F(Selection, LeavingTheToolThrowsAFloatingBlockAway) {
    PutPattern({10, 10, 12, 12});
    Select({10, 10, 12, 12});
    engine.OnLButtonDown(MK_LBUTTON, At(10, 10));
    engine.OnMouseMove(MK_LBUTTON, Plus(At(10, 10), 5 * 16, 0));
    LeaveTool(); // even while held
    EXPECT_FALSE(engine.IsFloating());
    EXPECT_FALSE(engine.HasSelection());
    EXPECT_FALSE(engine.IsHeld(MouseButton::Left));
    EXPECT_FALSE(host.capture);
    EXPECT_TRUE(IsEmpty({10, 10, 17, 12}));
    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_TRUE(HoldsPattern({10, 10, 12, 12}));
}

} // namespace
} // namespace krav
