// The shape tools driven through a map view's engine: what they preview, what they write and
// how they are undone.
#include "document/Messages.h"
#include "editing/StatusTexts.h"
#include "support/EditorFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace krav {
namespace {

constexpr Cell TILE = 42;
class ShapeTool : public ::testing::Test, public test::EditorView {
protected:
    void SetUp() override { engine.SetForeBack(TILE, true); }

    // The middle of a view-relative cell at 1:1.
    static Point At(Point cell) { return {cell.x * 16 + 8, cell.y * 16 + 8}; }

    // A left-button drag from one cell to another, the modifier flags held throughout.
    void Drag(int tool, Point from, Point to, int flags = 0) {
        host.tool = tool;
        engine.OnLButtonDown(MK_LBUTTON | flags, At(from));
        engine.OnMouseMove(MK_LBUTTON | flags, At(to));
        engine.OnLButtonUp(flags, At(to));
    }

    void Click(Point cell) {
        engine.OnLButtonDown(MK_LBUTTON, At(cell));
        engine.OnLButtonUp(0, At(cell));
    }

    // A double-click as the window delivers it: press, release, double-click, release.
    void DoubleClick(Point cell) {
        Click(cell);
        engine.OnLButtonDblClk(MK_LBUTTON, At(cell));
        engine.OnLButtonUp(0, At(cell));
    }

    // The map cells that differ from an earlier copy of the map, row by row.
    std::vector<Point> ChangedSince(const std::vector<Cell>& before) const {
        std::vector<Point> changed;
        for (int i = 0; i < MAP_CELLS; ++i)
            if (doc.GetCells()[i] != before[i])
                changed.push_back({i % MAP_SIZE, i / MAP_SIZE});
        return changed;
    }

    std::vector<Point> Preview() const {
        std::vector<Point> cells;
        for (const ShapePoint& p : engine.Shapes().PreviewPoints())
            cells.push_back({p.column, p.row});
        return cells;
    }

    int UndoSteps() const { return engine.History().GetUndoStack().Count(); }
    UndoKind NewestKind() const { return engine.History().GetUndoStack().Newest()->kind; }

    // Places the 2 x 2 object on cells (10, 10) to (11, 11).
    void PutObject() {
        engine.Stamp().SetObject(OBJECT_2X2);
        engine.Stamp().PlaceStamp(At({11, 11}));
        engine.Stamp().StampObject();
        ASSERT_EQ(doc.GetCell(10, 10), OBJECT_2X2);
    }
};

TEST_F(ShapeTool, EachToolWritesItsCellsAsOneUndoStep) {
    struct Case {
        const char* name;
        int tool;
        Point from, to;
        std::vector<Point> cells;     // row by row
        std::optional<UndoKind> kind; // none: no step
    };
    const std::vector<Case> cases{
        {"line on one cell", ID_TOOL_LINE, {5, 5}, {5, 5}, {{5, 5}}, UndoKind::Line},
        {"line", ID_TOOL_LINE, {4, 1}, {1, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}, UndoKind::Line},
        {"ellipse on one cell", ID_TOOL_ELLIPSE, {5, 5}, {5, 5}, {}, std::nullopt},
        {"ellipse without its fill cell",
         ID_TOOL_ELLIPSE,
         {0, 0},
         {2, 2},
         {{1, 0}, {0, 1}, {2, 1}, {1, 2}},
         UndoKind::Cells},
        {"filled ellipse",
         ID_TOOL_FILLED_ELLIPSE,
         {0, 0},
         {2, 2},
         {{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}},
         UndoKind::Cells},
        {"rectangle leaves its interior as it was",
         ID_TOOL_RECTANGLE,
         {3, 3},
         {1, 1},
         {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}},
         UndoKind::Cells},
        {"filled rectangle",
         ID_TOOL_FILLED_RECTANGLE,
         {1, 1},
         {3, 3},
         {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}},
         UndoKind::Cells},
    };
    doc.SetCell(2, 2, 7); // the rectangles' middle cell holds a tile of its own
    const std::vector<Cell> before = Map();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drag(c.tool, c.from, c.to);
        EXPECT_EQ(ChangedSince(before), c.cells);
        for (const Point cell : c.cells)
            EXPECT_EQ(doc.GetCell(cell.y, cell.x), TILE);
        EXPECT_FALSE(host.capture);
        EXPECT_FALSE(engine.IsHeld(MouseButton::Left));
        EXPECT_TRUE(engine.Shapes().PreviewPoints().empty());
        if (!c.kind) {
            EXPECT_EQ(UndoSteps(), 0);
            continue;
        }
        ASSERT_EQ(UndoSteps(), 1);
        EXPECT_EQ(NewestKind(), *c.kind);
        engine.UndoRedo(ApplyMode::Undo);
        EXPECT_EQ(Map(), before);
        engine.History().DiscardHistory();
    }
}

TEST_F(ShapeTool, TheRightButtonDrawsWithTheBackgroundTile) {
    host.tool = ID_TOOL_FILLED_RECTANGLE;
    engine.OnRButtonDown(MK_RBUTTON, At({1, 1}));
    engine.OnMouseMove(MK_RBUTTON, At({2, 1}));
    engine.OnRButtonUp(0, At({2, 1}));
    EXPECT_EQ(doc.GetCell(1, 1), 1u);
    EXPECT_EQ(doc.GetCell(1, 2), 1u);
    EXPECT_FALSE(engine.IsHeld(MouseButton::Right));
    EXPECT_FALSE(host.capture);
}

TEST_F(ShapeTool, ThePreviewFollowsThePointerWithoutTouchingTheMap) {
    PutObject();
    const std::vector<Cell> before = Map();
    host.tool = ID_TOOL_LINE;
    engine.OnLButtonDown(MK_LBUTTON, At({8, 10}));
    EXPECT_TRUE(host.capture);
    EXPECT_EQ(Preview(), (std::vector<Point>{{8, 10}}));

    host.invalidated.clear();
    engine.OnMouseMove(MK_LBUTTON, At({11, 10})); // over the object
    EXPECT_EQ(Preview(), (std::vector<Point>{{8, 10}, {9, 10}, {10, 10}, {11, 10}}));
    EXPECT_EQ(engine.LineText(), ExtentText(8, 10, 11, 10));
    // Only the old and the new line are repainted.
    const Rect line{8 * 16, 10 * 16, 12 * 16 + 1, 11 * 16 + 1};
    ASSERT_FALSE(host.invalidated.empty());
    for (const Rect& r : host.invalidated) {
        EXPECT_TRUE(r.left >= line.left && r.top >= line.top && r.right <= line.right &&
                    r.bottom <= line.bottom)
            << r.left << "," << r.top << " - " << r.right << "," << r.bottom;
    }

    engine.OnMouseMove(MK_LBUTTON, At({11, 13}));
    EXPECT_EQ(engine.LineText(), ExtentText(8, 10, 11, 13));
    EXPECT_EQ(Map(), before);

    engine.OnKeyDown(ViewKey::Escape, false);
    EXPECT_EQ(Map(), before);
    EXPECT_TRUE(engine.Shapes().PreviewPoints().empty());
    EXPECT_EQ(host.invalidated.back(), (Rect{8 * 16, 10 * 16, 12 * 16 + 1, 14 * 16 + 1}));
    EXPECT_FALSE(host.capture);
    EXPECT_FALSE((engine.IsDrawingLine() && !engine.Shapes().IsConnectedLineActive()));
    EXPECT_EQ(UndoSteps(), 1); // the stamp's only
    engine.OnLButtonUp(0, At({11, 13}));
    EXPECT_EQ(Map(), before);
}

TEST_F(ShapeTool, AWrittenShapeRemovesAWholeObjectFirst) {
    PutObject();
    const std::vector<Cell> before = Map();
    Drag(ID_TOOL_LINE, {8, 10}, {12, 10});
    for (int x = 8; x <= 12; ++x)
        EXPECT_EQ(doc.GetCell(10, x), TILE) << x;
    EXPECT_EQ(doc.GetCell(11, 10), EMPTY_CELL);
    EXPECT_EQ(doc.GetCell(11, 11), EMPTY_CELL);

    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(Map(), before);
}

TEST_F(ShapeTool, AConnectedLineIsOneUndoStep) {
    const std::vector<Cell> before = Map();
    host.tool = ID_TOOL_CONNECTED_LINE;
    Click({1, 1});
    EXPECT_TRUE(engine.IsHeld(MouseButton::Left)); // kept between clicks
    engine.OnMouseMove(0, At({4, 1}));
    EXPECT_EQ(engine.LineText(), ExtentText(1, 1, 4, 1));
    Click({4, 1});
    EXPECT_EQ(ChangedSince(before), (std::vector<Point>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    engine.OnMouseMove(0, At({4, 3}));
    EXPECT_EQ(Preview(), (std::vector<Point>{{4, 1}, {4, 2}, {4, 3}}));
    Click({4, 3});
    DoubleClick({6, 3});

    EXPECT_EQ(ChangedSince(before),
              (std::vector<Point>{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}, {5, 3}, {6, 3}}));
    EXPECT_FALSE(engine.Shapes().IsConnectedLineActive());
    EXPECT_FALSE(engine.IsHeld(MouseButton::Left));
    EXPECT_FALSE(host.capture);
    EXPECT_TRUE(engine.Shapes().PreviewPoints().empty());
    ASSERT_EQ(UndoSteps(), 1);
    EXPECT_EQ(NewestKind(), UndoKind::ConnectedLine);

    const std::vector<Cell> drawn = Map();
    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(Map(), before);
    engine.UndoRedo(ApplyMode::Redo);
    EXPECT_EQ(Map(), drawn);
}

TEST_F(ShapeTool, EachConnectedLineClickWritesTheTileOfItsButton) {
    constexpr Cell BACK = 7;
    engine.SetForeBack(BACK, false);
    struct Case {
        const char* name;
        bool startLeft, clickLeft, doubleLeft;
        Cell clicked, doubled; // the tiles of the segments the click and the double-click write
    };
    const std::vector<Case> cases{
        {"left line, right click", true, false, true, BACK, TILE},
        {"right line, left click", false, true, false, TILE, BACK},
        {"left line, right double-click", true, true, false, TILE, BACK},
        {"one button throughout", true, true, true, TILE, TILE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.tool = ID_TOOL_CONNECTED_LINE;
        const auto press = [&](bool left, Point cell) {
            left ? engine.OnLButtonDown(MK_LBUTTON, At(cell))
                 : engine.OnRButtonDown(MK_RBUTTON, At(cell));
            left ? engine.OnLButtonUp(0, At(cell)) : engine.OnRButtonUp(0, At(cell));
        };
        press(c.startLeft, {1, 1});
        press(c.clickLeft, {3, 1});
        press(c.doubleLeft, {3, 3});
        c.doubleLeft ? engine.OnLButtonDblClk(MK_LBUTTON, At({3, 3}))
                     : engine.OnRButtonDblClk(MK_RBUTTON, At({3, 3}));
        EXPECT_FALSE(engine.Shapes().IsConnectedLineActive());
        // The second segment starts on the last cell of the first one.
        for (int x = 1; x <= 2; ++x)
            EXPECT_EQ(doc.GetCell(1, x), c.clicked) << "column " << x;
        for (int y = 1; y <= 3; ++y)
            EXPECT_EQ(doc.GetCell(y, 3), c.doubled) << "row " << y;
        doc.ClearMap(false);
        engine.OnKeyDown(ViewKey::Escape, false); // forgets the buttons
    }
}

TEST_F(ShapeTool, EscapeTakesBackTheNewestSegmentThenEndsTheLine) {
    doc.SetCell(1, 3, FLAG_CELL); // under the segment that is taken back
    engine.Flags() = 1;
    engine.SetForeBack(FLAG_CELL, true);
    const std::vector<Cell> before = Map();
    host.tool = ID_TOOL_CONNECTED_LINE;
    Click({1, 1});
    Click({4, 1});
    engine.OnMouseMove(0, At({4, 3}));
    ASSERT_EQ(engine.FlagCount(), 4);

    engine.OnKeyDown(ViewKey::Escape, false);
    EXPECT_EQ(Map(), before);
    EXPECT_EQ(engine.FlagCount(), 1);
    EXPECT_EQ(engine.FlagCount(), FlagCells());
    EXPECT_TRUE(engine.Shapes().IsConnectedLineActive());
    EXPECT_EQ(engine.Shapes().ActiveLine()->start, (Point{1, 1}));
    EXPECT_EQ(Preview(), (std::vector<Point>{{1, 1}, {2, 2}, {3, 2}, {4, 3}}));

    // Nothing written is left: Escape now ends the line.
    engine.OnKeyDown(ViewKey::Escape, false);
    EXPECT_FALSE(engine.Shapes().IsConnectedLineActive());
    EXPECT_FALSE(host.capture);
    EXPECT_TRUE(engine.Shapes().PreviewPoints().empty());
    EXPECT_EQ(Map(), before);
    EXPECT_EQ(UndoSteps(), 0);
}

TEST_F(ShapeTool, EscapeKeepsTheEarlierSegmentsOfTheLine) {
    const std::vector<Cell> before = Map();
    host.tool = ID_TOOL_CONNECTED_LINE;
    Click({1, 1});
    Click({4, 1});
    Click({4, 3});
    engine.OnKeyDown(ViewKey::Escape, false);
    EXPECT_EQ(engine.Shapes().ActiveLine()->start, (Point{4, 1}));
    EXPECT_EQ(ChangedSince(before), (std::vector<Point>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));

    DoubleClick({1, 3});
    EXPECT_EQ(ChangedSince(before),
              (std::vector<Point>{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {2, 2}, {3, 2}, {1, 3}}));
    ASSERT_EQ(UndoSteps(), 1);
    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_EQ(Map(), before);
}

TEST_F(ShapeTool, TheFlagLimitStopsTheRestOfTheShape) {
    struct Case {
        const char* name;
        int tool;
        Point from, to;
        std::vector<Point> cells; // written, row by row
    };
    // One flag lies inside each shape: writing over it costs nothing.
    const std::vector<Case> cases{
        {"line", ID_TOOL_LINE, {0, 1}, {9, 1}, {{0, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}}},
        {"filled rectangle",
         ID_TOOL_FILLED_RECTANGLE,
         {0, 0},
         {3, 3},
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {2, 1}}},
    };
    for (int x = 0; x < 249; ++x)
        doc.SetCell(100, x, FLAG_CELL);
    doc.SetCell(1, 1, FLAG_CELL);
    engine.Flags() = 250;
    ASSERT_EQ(engine.FlagCount(), FlagCells());
    engine.SetForeBack(FLAG_CELL, true);
    const std::vector<Cell> before = Map();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.prompt.messages.clear();
        Drag(c.tool, c.from, c.to);
        EXPECT_EQ(ChangedSince(before), c.cells);
        EXPECT_EQ(engine.FlagCount(), 256);
        EXPECT_EQ(engine.FlagCount(), FlagCells());
        EXPECT_EQ(host.prompt.messages, std::vector<std::string>{messages::FLAG_LIMIT});
        engine.UndoRedo(ApplyMode::Undo);
        EXPECT_EQ(Map(), before);
        EXPECT_EQ(engine.FlagCount(), FlagCells());
    }
}

TEST_F(ShapeTool, ShapesLandRelativeToTheVisibleAreaAndStopAtTheMapEdge) {
    engine.SetVisibleArea(100, 200, 140, 230);
    host.tool = ID_TOOL_LINE;
    engine.OnLButtonDown(MK_LBUTTON, At({1, 1}));
    engine.OnMouseMove(MK_LBUTTON, At({3, 1}));
    EXPECT_EQ(Preview(), (std::vector<Point>{{1, 1}, {2, 1}, {3, 1}}));
    EXPECT_EQ(engine.LineText(), ExtentText(101, 201, 103, 201));
    engine.OnLButtonUp(0, At({3, 1}));
    for (int x = 101; x <= 103; ++x)
        EXPECT_EQ(doc.GetCell(201, x), TILE) << x;

    engine.SetVisibleArea(1000, 0, 1024, 30);
    std::vector<Cell> before = Map();
    Drag(ID_TOOL_FILLED_RECTANGLE, {22, 0}, {30, 1}); // the pointer beyond the map's edge
    EXPECT_EQ(ChangedSince(before),
              (std::vector<Point>{{1022, 0}, {1023, 0}, {1022, 1}, {1023, 1}}));
}

TEST_F(ShapeTool, ShiftAndControlShapeTheDrag) {
    struct Case {
        const char* name;
        int tool;
        Point from, to;
        int flags;
        std::vector<Point> cells;
    };
    const std::vector<Case> cases{
        {"Shift makes a line horizontal",
         ID_TOOL_LINE,
         {0, 0},
         {5, 1},
         MK_SHIFT,
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}},
        {"Control centres a rectangle on the start",
         ID_TOOL_FILLED_RECTANGLE,
         {5, 5},
         {6, 6},
         MK_CONTROL,
         {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {5, 5}, {6, 5}, {4, 6}, {5, 6}, {6, 6}}},
        {"Shift makes a circle",
         ID_TOOL_FILLED_ELLIPSE,
         {0, 0},
         {4, 2},
         MK_SHIFT,
         {{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Cell> before = Map();
        Drag(c.tool, c.from, c.to, c.flags);
        EXPECT_EQ(ChangedSince(before), c.cells);
        engine.UndoRedo(ApplyMode::Undo);
    }
}

TEST_F(ShapeTool, AConstrainedSegmentEndsWhereItWasDrawn) {
    host.tool = ID_TOOL_CONNECTED_LINE;
    Click({0, 0});
    engine.OnLButtonDown(MK_LBUTTON | MK_SHIFT, At({5, 1}));
    EXPECT_EQ(engine.Shapes().ActiveLine()->start, (Point{5, 0}));
    EXPECT_EQ(doc.GetCell(1, 5), EMPTY_CELL);
    EXPECT_EQ(doc.GetCell(0, 5), TILE);
}

TEST_F(ShapeTool, APressBeyondCell1024OnlyBeeps) {
    engine.OnSize(1100, 480);
    for (int i = 0; i < 4; ++i)
        engine.ZoomAt(0, 0, true);
    ASSERT_EQ(engine.Geometry().CellWidth(), 1);
    const std::vector<Cell> before = Map();
    host.tool = ID_TOOL_FILLED_RECTANGLE;
    engine.OnLButtonDown(MK_LBUTTON, {1030, 5});
    EXPECT_EQ(host.beeps, std::vector<int>{static_cast<int>(BeepType::Warning)});
    EXPECT_FALSE(host.capture);
    EXPECT_TRUE(engine.Shapes().PreviewPoints().empty());
    engine.OnMouseMove(MK_LBUTTON, {5, 5});
    engine.OnLButtonUp(0, {5, 5});
    EXPECT_EQ(Map(), before);
}

} // namespace
} // namespace krav
