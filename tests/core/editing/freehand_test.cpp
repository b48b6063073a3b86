// The Pencil, the Eraser and the Dropper, driven through the map view's input handlers.
#include "document/Messages.h"
#include "support/EditorFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

// A view on a new level, 40 x 30 cells at 1:1, with the Pencil current.
struct Editor : test::EditorView {
    // Flags along the bottom rows, well away from the cells the tests paint; the view counts
    // every flag of the map.
    void PutFlags(int count) {
        for (int i = 0; i < count; ++i)
            doc.SetCell(1000 + i / MAP_SIZE, i % MAP_SIZE, FLAG_CELL);
        engine.Flags() = FlagCells();
    }

    void Down(bool right, Point client) {
        right ? engine.OnRButtonDown(MK_RBUTTON, client) : engine.OnLButtonDown(MK_LBUTTON, client);
    }
    void Drag(bool right, Point client) {
        engine.OnMouseMove(right ? MK_RBUTTON : MK_LBUTTON, client);
    }
    void Up(bool right, Point client) {
        right ? engine.OnRButtonUp(0, client) : engine.OnLButtonUp(0, client);
    }

    // A stroke through the given cells.
    void Stroke(const std::vector<Point>& cells, bool right = false) {
        Down(right, At(cells.front().x, cells.front().y));
        for (std::size_t i = 1; i < cells.size(); ++i)
            Drag(right, At(cells[i].x, cells[i].y));
        Up(right, At(cells.back().x, cells.back().y));
    }
};

TEST(Freehand, AStrokeIsOneUndoStepEvenOverTheSameCellTwice) {
    Editor e;
    e.doc.SetCell(5, 3, 7);
    e.doc.SetModifiedFlag(false);
    const std::vector<Cell> before = e.Map();
    e.engine.SetForeBack(42, true);

    e.Down(false, e.At(3, 5));
    EXPECT_TRUE(e.host.capture);
    e.Drag(false, e.At(4, 5));
    e.Drag(false, e.At(3, 5)); // back over the first cell
    e.Up(false, e.At(3, 5));

    EXPECT_FALSE(e.host.capture);
    EXPECT_TRUE(e.engine.PendingChanges().empty());
    EXPECT_EQ(e.doc.GetCell(5, 3), 42u);
    EXPECT_EQ(e.doc.GetCell(5, 4), 42u);
    EXPECT_TRUE(e.doc.IsModified());
    EXPECT_NE(e.engine.Radar().IndexAt(4, 5), RADAR_BLACK);
    EXPECT_EQ(e.engine.History().GetUndoStack().Count(), 1);

    e.engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(e.doc.GetCell(5, 3), 7u);
    EXPECT_TRUE(e.Map() == before);
}

TEST(Freehand, TheEraserEmptiesWithEitherButton) {
    for (const bool right : {false, true}) {
        SCOPED_TRACE(right ? "right" : "left");
        Editor e;
        e.host.tool = ID_TOOL_ERASER;
        e.doc.SetCell(2, 2, 7);
        e.doc.SetCell(2, 3, 8);
        e.Stroke({{2, 2}, {3, 2}, {4, 2}}, right);
        for (const int column : {2, 3, 4})
            EXPECT_EQ(e.doc.GetCell(2, column), EMPTY_CELL);
        EXPECT_EQ(e.engine.Radar().IndexAt(2, 2), RADAR_BLACK);
        EXPECT_EQ(e.engine.History().GetUndoStack().Count(), 1);
    }
}

TEST(Freehand, ADragRepaintsACellOnlyWhenItChanges) {
    Editor e;
    e.doc.SetCell(1, 1, 0);
    e.doc.SetCell(1, 2, 0);
    const ViewGeometry& view = e.engine.Geometry();
    // Tile 0 over tile 0 (the press repaints anyway), over tile 0, then over an empty cell.
    e.Stroke({{1, 1}, {2, 1}, {3, 1}});
    EXPECT_EQ(e.host.invalidated, (std::vector<Rect>{view.CellsToClient({1, 1, 2, 2}),
                                                     view.CellsToClient({3, 1, 4, 2})}));
}

TEST(Freehand, AStrokeOverAnObjectRemovesItWholeAtTheFirstTouch) {
    struct Case {
        int tool;
        int startColumn; // inside the object (the press touches it) or left of it
    };
    for (const Case c : {Case{ID_TOOL_PENCIL, 12},
                         {ID_TOOL_PENCIL, 8},
                         {ID_TOOL_ERASER, 12},
                         {ID_TOOL_ERASER, 8}}) {
        SCOPED_TRACE(testing::Message() << c.tool << " from column " << c.startColumn);
        Editor e;
        e.host.tool = c.tool;
        e.engine.SetForeBack(3, true);
        e.PutObject(OBJECT_6X6, 10, 10); // columns and rows 10..15
        const std::vector<Cell> before = e.Map();

        // The corners lie away from the stroke: they go with its first touch.
        const auto objectGone = [&e] {
            return e.doc.GetCell(10, 10) == EMPTY_CELL && e.doc.GetCell(15, 15) == EMPTY_CELL;
        };
        e.Down(false, e.At(c.startColumn, 12));
        EXPECT_EQ(objectGone(), c.startColumn >= 10);
        for (int column = c.startColumn + 1; column <= 13; ++column) {
            e.Drag(false, e.At(column, 12));
            EXPECT_EQ(objectGone(), column >= 10) << column;
        }
        e.Up(false, e.At(13, 12));

        const Cell painted = c.tool == ID_TOOL_PENCIL ? 3u : EMPTY_CELL;
        for (int row = 10; row < 16; ++row) {
            for (int column = 10; column < 16; ++column) {
                const bool passed = row == 12 && column >= c.startColumn && column <= 13;
                EXPECT_EQ(e.doc.GetCell(row, column), passed ? painted : EMPTY_CELL)
                    << column << "," << row;
            }
        }
        EXPECT_EQ(e.engine.Radar().IndexAt(15, 15), RADAR_BLACK);
        EXPECT_EQ(e.engine.History().GetUndoStack().Count(), 1);
        e.engine.UndoRedo(ApplyMode::Undo);
        EXPECT_TRUE(e.Map() == before);
    }
}

TEST(Freehand, FlagsAreCountedAndRefusedAtThePressAtTheLimit) {
    struct Case {
        const char* name;
        int tool;
        Cell old;
        Cell after;
        bool refused;
    };
    const Case cases[] = {
        {"flag over flag", ID_TOOL_PENCIL, FLAG_CELL, FLAG_CELL, false},
        {"flag over empty", ID_TOOL_PENCIL, EMPTY_CELL, EMPTY_CELL, true},
        {"flag over tile", ID_TOOL_PENCIL, 4, 4, true},
        {"eraser over flag", ID_TOOL_ERASER, FLAG_CELL, EMPTY_CELL, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e;
        e.host.tool = c.tool;
        e.engine.SetForeBack(FLAG_CELL, true);
        e.doc.SetCell(4, 4, c.old);
        e.PutFlags(c.old == FLAG_CELL ? 255 : 256); // 256 flags in all

        e.Down(false, e.At(4, 4));
        EXPECT_EQ(e.doc.GetCell(4, 4), c.after);
        EXPECT_EQ(e.engine.FlagCount(), e.FlagCells());
        EXPECT_EQ(e.host.capture, !c.refused);
        EXPECT_EQ(e.host.prompt.messages, c.refused ? std::vector<std::string>{messages::FLAG_LIMIT}
                                                    : std::vector<std::string>{});
        EXPECT_TRUE(e.engine.PendingChanges().empty() == c.refused);
        e.Up(false, e.At(4, 4));
        EXPECT_EQ(e.engine.History().GetUndoStack().Count(), c.refused ? 0 : 1);
    }
}

TEST(Freehand, TheFlagLimitInADragEndsTheStrokeAndKeepsWhatWasDrawn) {
    struct Case {
        bool right; // the stroke's button
        bool tick;  // refused on a timer tick rather than a move
    };
    for (const Case c : {Case{false, false}, {true, false}, {false, true}, {true, true}}) {
        SCOPED_TRACE(testing::Message() << "right " << c.right << " tick " << c.tick);
        Editor e;
        e.engine.SetForeBack(FLAG_CELL, true);
        e.engine.SetForeBack(FLAG_CELL, false);
        e.doc.SetCell(29, 2, FLAG_CELL); // already a flag: painting it costs nothing
        e.doc.SetCell(29, 3, 9);
        e.doc.SetCell(30, 3, 9); // just below the window
        e.PutFlags(254);         // 255 with the one above
        const std::vector<Cell> before = e.Map();

        e.Down(c.right, e.At(1, 29)); // the 256th flag
        e.Drag(c.right, e.At(2, 29));
        EXPECT_EQ(e.engine.FlagCount(), 256);
        if (c.tick) {
            const Point below{3 * 16 + 8, 480 + 8};
            e.Drag(c.right, below);
            e.engine.OnTimer(ViewTimer::PaintScroll, below);
            EXPECT_EQ(e.doc.GetCell(30, 3), 9u);
            EXPECT_EQ(e.engine.Geometry().TopRow(), 0); // the stroke is over: no scrolling
        } else {
            e.Drag(c.right, e.At(3, 29));
            EXPECT_EQ(e.doc.GetCell(29, 3), 9u);
        }

        EXPECT_EQ(e.host.prompt.messages, std::vector<std::string>{messages::FLAG_LIMIT});
        EXPECT_EQ(e.host.events.back(), "stop 7");
        EXPECT_EQ(e.engine.FlagCount(), e.FlagCells());
        EXPECT_FALSE(e.host.capture);
        EXPECT_FALSE(e.engine.IsHeld(MouseButton::Left));
        EXPECT_FALSE(e.engine.IsHeld(MouseButton::Right));
        EXPECT_TRUE(e.engine.PendingChanges().empty());
        EXPECT_EQ(e.engine.History().GetUndoStack().Count(), 1);

        // Moving on and releasing paint and record nothing more.
        e.Drag(c.right, e.At(5, 29));
        e.Up(c.right, e.At(5, 29));
        EXPECT_EQ(e.doc.GetCell(29, 5), EMPTY_CELL);
        EXPECT_EQ(e.engine.History().GetUndoStack().Count(), 1);

        e.engine.UndoRedo(ApplyMode::Undo);
        EXPECT_TRUE(e.Map() == before);
        EXPECT_EQ(e.engine.FlagCount(), e.FlagCells());
    }
}

// A fast drag samples the pointer a few cells apart: each move paints the straight line from
// the previous pointer cell, so the stroke has no gaps.
TEST(Freehand, AFastStrokeFillsTheCellsBetweenThePointerSamples) {
    struct Case {
        const char* name;
        std::vector<Point> path; // the press, then one move each
        std::vector<Point> painted;
    };
    const Case cases[] = {
        {"diagonal", {{2, 2}, {8, 5}}, {{2, 2}, {3, 3}, {4, 3}, {5, 4}, {6, 4}, {7, 5}, {8, 5}}},
        {"steep", {{3, 1}, {5, 7}}, {{3, 1}, {3, 2}, {4, 3}, {4, 4}, {4, 5}, {5, 6}, {5, 7}}},
        {"horizontal, every sixth cell sampled",
         {{1, 10}, {7, 10}, {13, 10}, {19, 10}, {25, 10}},
         {{1, 10},  {2, 10},  {3, 10},  {4, 10},  {5, 10},  {6, 10},  {7, 10},  {8, 10},  {9, 10},
          {10, 10}, {11, 10}, {12, 10}, {13, 10}, {14, 10}, {15, 10}, {16, 10}, {17, 10}, {18, 10},
          {19, 10}, {20, 10}, {21, 10}, {22, 10}, {23, 10}, {24, 10}, {25, 10}}},
        {"up and left, then up",
         {{20, 20}, {14, 17}, {14, 12}},
         {{20, 20},
          {19, 20},
          {18, 19},
          {17, 19},
          {16, 18},
          {15, 18},
          {14, 17},
          {14, 16},
          {14, 15},
          {14, 14},
          {14, 13},
          {14, 12}}},
        {"on the spot", {{6, 6}, {6, 6}}, {{6, 6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e;
        e.engine.SetForeBack(5, true);
        const ViewGeometry& view = e.engine.Geometry();
        e.Stroke(c.path);

        std::vector<Cell> expected(MAP_CELLS, EMPTY_CELL);
        for (const Point cell : c.painted) {
            expected[cell.y * MAP_SIZE + cell.x] = 5;
            EXPECT_NE(e.engine.Radar().IndexAt(cell.x, cell.y), RADAR_BLACK);
            // Each new cell is repainted in the view.
            EXPECT_NE(std::find(e.host.invalidated.begin(), e.host.invalidated.end(),
                                view.CellsToClient({cell.x, cell.y, cell.x + 1, cell.y + 1})),
                      e.host.invalidated.end())
                << cell.x << "," << cell.y;
        }
        EXPECT_TRUE(e.Map() == expected);
        EXPECT_EQ(e.engine.History().GetUndoStack().Count(), 1);
        e.engine.UndoRedo(ApplyMode::Undo);
        EXPECT_TRUE(e.Map() == std::vector<Cell>(MAP_CELLS, EMPTY_CELL));
    }
}

// The filled-in cells follow the rules of a cell the pointer touched, in the stroke's order.
TEST(Freehand, AFastStrokeTreatsTheCellsItJumpsLikeTheOnesItTouches) {
    struct Case {
        const char* name;
        int tool;
        Cell tile;
        void (*setup)(Editor&);
        std::vector<Point> path;
        // The map afterwards, from the map before.
        void (*expect)(std::vector<Cell>&);
        bool refused;
    };
    static const auto clearObject = [](std::vector<Cell>& map) {
        for (int y = 10; y < 16; ++y)
            for (int x = 10; x < 16; ++x)
                map[y * MAP_SIZE + x] = EMPTY_CELL;
    };
    const Case cases[] = {
        {"pencil across an object",
         ID_TOOL_PENCIL,
         3,
         [](Editor& e) { e.PutObject(OBJECT_6X6, 10, 10); },
         {{5, 12}, {20, 12}},
         [](std::vector<Cell>& map) {
             clearObject(map);
             for (int x = 5; x <= 20; ++x)
                 map[12 * MAP_SIZE + x] = 3;
         },
         false},
        {"eraser across an object",
         ID_TOOL_ERASER,
         3,
         [](Editor& e) { e.PutObject(OBJECT_6X6, 10, 10); },
         {{5, 12}, {20, 12}},
         [](std::vector<Cell>& map) { clearObject(map); },
         false},
        {"flags at the limit: over a flag, then refused at the next cell",
         ID_TOOL_PENCIL,
         FLAG_CELL,
         [](Editor& e) {
             e.Put(2, 5, FLAG_CELL);
             e.Put(3, 5, 9);
             e.PutFlags(254); // 255 with (2, 5)
         },
         {{1, 5}, {6, 5}},
         [](std::vector<Cell>& map) { map[5 * MAP_SIZE + 1] = FLAG_CELL; },
         true},
        {"walls over a flag at the limit",
         ID_TOOL_PENCIL,
         4,
         [](Editor& e) {
             e.Put(3, 5, FLAG_CELL);
             e.PutFlags(255);
         },
         {{1, 5}, {6, 5}},
         [](std::vector<Cell>& map) {
             for (int x = 1; x <= 6; ++x)
                 map[5 * MAP_SIZE + x] = 4;
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Editor e;
        e.host.tool = c.tool;
        e.engine.SetForeBack(c.tile, true);
        c.setup(e);
        const std::vector<Cell> before = e.Map();
        std::vector<Cell> expected = before;
        c.expect(expected);

        e.Stroke(c.path);

        EXPECT_TRUE(e.Map() == expected);
        EXPECT_EQ(e.engine.FlagCount(), e.FlagCells());
        EXPECT_EQ(e.host.prompt.messages, c.refused ? std::vector<std::string>{messages::FLAG_LIMIT}
                                                    : std::vector<std::string>{});
        EXPECT_FALSE(e.host.capture);
        EXPECT_EQ(e.engine.History().GetUndoStack().Count(), 1);
        e.engine.UndoRedo(ApplyMode::Undo);
        EXPECT_TRUE(e.Map() == before);
        EXPECT_EQ(e.engine.FlagCount(), e.FlagCells());
    }
}

TEST(Freehand, HoldingBelowTheWindowPaintsARowPerTickUntilTheMapEnds) {
    Editor e;
    e.engine.SetForeBack(6, true);
    const Point below{5 * 16 + 8, 480 + 8};
    e.Down(false, e.At(5, 20));
    e.host.events.clear();
    e.Drag(false, below);
    EXPECT_EQ(e.host.events, (std::vector<std::string>{"stop 7", "start 7 55"}));
    EXPECT_EQ(e.doc.GetCell(30, 5), EMPTY_CELL); // the move itself paints nothing

    while (e.engine.Geometry().BottomRow() < MAP_SIZE) {
        const int top = e.engine.Geometry().TopRow();
        const int next = e.engine.Geometry().BottomRow(); // the row just below the window
        e.engine.OnTimer(ViewTimer::PaintScroll, below);
        ASSERT_EQ(e.doc.GetCell(next, 5), 6u) << next;
        ASSERT_EQ(e.engine.Geometry().TopRow(), top + 1);
    }
    EXPECT_EQ(e.engine.Geometry().TopRow(), MAP_SIZE - 30);

    // Row 1023 is on screen: the pointer's cell lies outside the map.
    const std::size_t recorded = e.engine.PendingChanges().size();
    e.host.events.clear();
    e.engine.OnTimer(ViewTimer::PaintScroll, below);
    EXPECT_EQ(e.engine.PendingChanges().size(), recorded);
    EXPECT_TRUE(e.host.events.empty()); // the timer keeps running

    e.Drag(false, e.At(5, 1000)); // back inside
    EXPECT_EQ(e.host.events.front(), "stop 7");
    e.Up(false, e.At(5, 1000));

    for (int row = 21; row < 30; ++row)
        EXPECT_EQ(e.doc.GetCell(row, 5), EMPTY_CELL) << row;
    EXPECT_EQ(e.engine.History().GetUndoStack().Count(), 1);
    e.engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(std::count(e.doc.GetCells(), e.doc.GetCells() + MAP_CELLS, Cell{6}), 0);
}

TEST(Freehand, ATickPaintsTheCellBeyondTheEdgeAndScrollsTowardsThePointer) {
    struct Case {
        Point pointer;
        Point painted; // map cell
        int top, left; // the view's origin after the tick
    };
    // The view shows columns 100..139 and rows 100..129.
    const Case cases[] = {
        {{-8, -8}, {99, 99}, 99, 99},
        {{-8, 200}, {99, 112}, 100, 99},
        {{650, 200}, {140, 112}, 100, 101},
        {{200, 490}, {112, 130}, 101, 100},
        {{650, 490}, {140, 130}, 101, 101},
        {{640, 480}, {140, 130}, 100, 100}, // on the excluded edges: outside, yet not beyond
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pointer.x << "," << c.pointer.y);
        Editor e;
        e.engine.SetVisibleArea(100, 100, 140, 130);
        e.Down(false, e.At(120, 115));
        e.Drag(false, c.pointer);
        e.engine.OnTimer(ViewTimer::PaintScroll, c.pointer);
        EXPECT_EQ(e.doc.GetCell(c.painted.y, c.painted.x), 0u);
        EXPECT_EQ(e.engine.PendingChanges().size(), 2u);
        EXPECT_EQ(e.engine.Geometry().TopRow(), c.top);
        EXPECT_EQ(e.engine.Geometry().LeftCol(), c.left);
    }
}

TEST(Freehand, APressOutsideTheMapDoesNothing) {
    Editor e;
    e.engine.OnSize(1200, 1200);
    for (int i = 0; i < 4; ++i)
        e.engine.ZoomAt(0, 0, true); // 1:16, a pixel a cell
    ASSERT_EQ(e.engine.Geometry().CellWidth(), 1);
    for (const int tool : {ID_TOOL_PENCIL, ID_TOOL_ERASER, ID_TOOL_DROPPER}) {
        e.host.tool = tool;
        e.Down(false, {1100, 5});
        EXPECT_FALSE(e.host.capture) << tool;
        e.Up(false, {1100, 5});
    }
    EXPECT_FALSE(e.doc.IsModified());
    EXPECT_TRUE(e.host.picked.empty());
    EXPECT_FALSE(e.engine.CanUndo());
}

TEST(Freehand, TheDropperTakesOnlyPlainTiles) {
    struct Case {
        Cell value;
        bool taken;
    };
    const Case cases[] = {{42, true},
                          {0, true},
                          {FLAG_CELL, true},
                          {EMPTY_CELL, false},
                          {OBJECT_6X6 + 7, false},
                          {OBJECT_5X5, false},
                          {OBJECT_1X1, false}};
    for (const Case& c : cases) {
        for (const bool right : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.value << (right ? " right" : " left"));
            Editor e;
            e.host.tool = ID_TOOL_DROPPER;
            e.engine.SetForeBack(10, true);
            e.engine.SetForeBack(11, false);
            e.doc.SetCell(3, 3, c.value);
            e.doc.SetModifiedFlag(false);
            e.Down(right, e.At(3, 3));
            EXPECT_FALSE(e.host.capture);
            e.Up(right, e.At(3, 3));

            const int tile = static_cast<int>(c.value);
            EXPECT_EQ(e.engine.ForeTile(), c.taken && !right ? tile : 10);
            EXPECT_EQ(e.engine.BackTile(), c.taken && right ? tile : 11);
            const std::vector<Point> picked{Point{tile, right ? 0 : 1}};
            EXPECT_EQ(e.host.picked, c.taken ? picked : std::vector<Point>{});
            EXPECT_EQ(e.host.tool, ID_TOOL_DROPPER);
            EXPECT_EQ(e.doc.GetCell(3, 3), c.value);
            EXPECT_FALSE(e.doc.IsModified());
        }
    }
}

} // namespace
} // namespace krav

namespace krav {
namespace {

// Escape forgets the buttons, so the release never comes: the stroke must end there, as its
// own undo step, and not leak into the next one.
TEST(Freehand, EscapeEndsAStrokeAsItsOwnStep) {
    Editor e;
    e.engine.SetForeBack(9, true);
    e.Down(false, e.At(1, 1));
    e.Drag(false, e.At(2, 1));
    e.engine.OnKeyDown(ViewKey::Escape, false);
    EXPECT_FALSE(e.host.capture);
    EXPECT_TRUE(e.engine.PendingChanges().empty());
    e.Stroke({{5, 5}});
    e.engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(e.doc.GetCell(5, 5), EMPTY_CELL);
    EXPECT_EQ(e.doc.GetCell(1, 2), 9u) << "the first stroke is a step of its own";
}

} // namespace
} // namespace krav
