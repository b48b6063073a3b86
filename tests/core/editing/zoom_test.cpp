// Zooming while something is in hand: a selection, a floating block, a rubber band, the stamp
// preview or a shape keep their map cells, and the next operation takes exactly those.
#include "editing/MapViewEngine.h"
#include "editing/StatusTexts.h"
#include "support/SelectToolFixture.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

class ZoomWhileHolding : public test::SelectToolFixture {
public:
    // Ctrl+wheel, notches away from the user zoom in, towards the user out.
    void WheelZoom(Point pointer, int notches) {
        engine.OnMouseWheel(
            {.delta = {0, notches * WHEEL_NOTCH}, .client = pointer, .control = true});
    }
    // An empty map at 1:1 with nothing selected.
    void Reset() {
        engine.Selection().Leave();
        doc.ClearMap(true);
        engine.OnInitialUpdate(640, 480);
    }
    void Drag(Point from, Point to, int flags = MK_LBUTTON) {
        engine.OnLButtonDown(flags, from);
        engine.OnMouseMove(flags, to);
        engine.OnLButtonUp(flags & ~MK_LBUTTON, to);
    }
    void Select(const Rect& cells) {
        Drag(At(cells.left, cells.top), At(cells.right, cells.bottom));
        ASSERT_EQ(engine.Selection().SelectionCells(), cells);
    }
    // The cells the view outlines: what it paints from the selection's map pixels.
    Rect OutlinedCells() const {
        const Rect client = engine.Geometry().MapToClient(engine.Selection().SelectionRect());
        const ViewGeometry& view = engine.Geometry();
        return {client.left / view.CellWidth() + view.LeftCol(),
                client.top / view.CellHeight() + view.TopRow(),
                client.right / view.CellWidth() + view.LeftCol(),
                client.bottom / view.CellHeight() + view.TopRow()};
    }
    // Whether the map holds the pattern at cells and nothing else anywhere.
    bool OnlyPatternAt(const Rect& cells) const {
        std::vector<Cell> expected(MAP_CELLS, EMPTY_CELL);
        Cell value = 1;
        for (int y = cells.top; y < cells.bottom; ++y)
            for (int x = cells.left; x < cells.right; ++x)
                expected[y * MAP_SIZE + x] = value++;
        return Map() == expected;
    }
};

// The ways a view's zoom changes with a selection kept: the wheel at a pointer, and the
// Magnify tool's zoom around the middle (pressed here without choosing the tool).
struct ZoomPath {
    std::string name;
    std::function<void(ZoomWhileHolding&, Point, bool zoomOut)> step;
};

std::vector<ZoomPath> ZoomPaths() {
    return {{"ctrl+wheel",
             [](ZoomWhileHolding& f, Point at, bool out) { f.WheelZoom(at, out ? -1 : 1); }},
            {"magnify", [](ZoomWhileHolding& f, Point at, bool out) {
                 const int tool = f.host.tool;
                 f.host.tool = ID_TOOL_MAGNIFY;
                 out ? f.engine.OnRButtonDown(MK_RBUTTON, at)
                     : f.engine.OnLButtonDown(MK_LBUTTON, at);
                 out ? f.engine.OnRButtonUp(0, at) : f.engine.OnLButtonUp(0, at);
                 f.host.tool = tool;
             }}};
}

TEST_F(ZoomWhileHolding, ASelectionKeepsItsCellsAndCutTakesOnlyThem) {
    // Flags in the 3 x 10 selection and all around it, tiles beyond.
    const Rect selected{20, 5, 23, 15};
    struct Case {
        int steps; // negative: out
        Point pointer;
    };
    for (const ZoomPath& path : ZoomPaths()) {
        for (const Case c : {Case{-4, {100, 100}}, {-2, {631, 7}}, {1, {300, 200}}, {-1, {0, 0}}}) {
            SCOPED_TRACE(path.name + " " + std::to_string(c.steps));
            Reset();
            FillCells({0, 0, 60, 40}, 7);
            FillCells({18, 3, 25, 17}, FLAG_CELL);
            Select(selected);
            for (int i = 0; i < std::abs(c.steps); ++i)
                path.step(*this, c.pointer, c.steps < 0);
            EXPECT_EQ(engine.Selection().SelectionCells(), selected);
            EXPECT_EQ(OutlinedCells(), selected);
            EXPECT_EQ(engine.SelectionText(), ExtentText(20, 5, 23, 15));

            std::vector<Cell> expected = Map();
            for (int y = selected.top; y < selected.bottom; ++y)
                for (int x = selected.left; x < selected.right; ++x)
                    expected[y * MAP_SIZE + x] = EMPTY_CELL;
            const int flags = engine.FlagCount();
            CopyBuffer buffer;
            engine.Selection().CopySelection(buffer, true);
            EXPECT_EQ(Map(), expected);
            EXPECT_EQ(engine.FlagCount(), flags - 3 * 10);
            EXPECT_EQ(buffer.Extents(), (Rect{0, 0, 3 * 16, 10 * 16}));
        }
    }
}

TEST_F(ZoomWhileHolding, AFloatingBlockIsDrawnAtTheNewZoomAndDropsWhole) {
    const Rect cells{4, 3, 7, 13};
    for (const int steps : {1, -1, -4}) {
        SCOPED_TRACE(steps);
        Reset();
        PutPattern(cells);
        Select(cells);
        // Lifted and held: the zoom comes while the button is down.
        engine.OnLButtonDown(MK_LBUTTON, At(5, 8));
        ASSERT_TRUE(engine.IsFloating());
        WheelZoom(At(5, 8), steps);
        EXPECT_EQ(engine.Selection().SelectionCells(), cells);
        EXPECT_EQ(OutlinedCells(), cells);
        // Dragged two cells right at the new zoom, then dropped.
        const Point to{At(7, 8).x, At(7, 8).y};
        engine.OnMouseMove(MK_LBUTTON, to);
        engine.OnLButtonUp(0, to);
        EXPECT_EQ(engine.Selection().SelectionCells(), cells.Offset(2, 0));
        engine.Selection().DropSelection();
        EXPECT_TRUE(OnlyPatternAt(cells.Offset(2, 0)));
    }
}

TEST_F(ZoomWhileHolding, APastedBlockKeepsItsCellsAcrossZooms) {
    const Rect cells{2, 2, 5, 12};
    PutPattern(cells);
    Select(cells);
    CopyBuffer buffer;
    engine.Selection().CopySelection(buffer, true);
    engine.SetVisibleArea(100, 200, 140, 230);
    engine.Selection().PasteBlock(buffer);
    const Rect pasted{100, 200, 103, 210};
    EXPECT_EQ(engine.Selection().SelectionCells(), pasted);
    WheelZoom({320, 240}, -3);
    WheelZoom({10, 10}, 4);
    EXPECT_EQ(engine.Selection().SelectionCells(), pasted);
    engine.Selection().DropSelection();
    EXPECT_TRUE(OnlyPatternAt(pasted));
}

TEST_F(ZoomWhileHolding, TheStampPreviewIsMadeAgainUnderThePointerAndStampsThere) {
    host.tool = ID_TOOL_STAMP;
    struct Case {
        Cell base;
        int steps;
        Rect footprint; // around the pointer's cell (530, 520)
    };
    for (const Case c : {Case{OBJECT_1X1, -4, {530, 520, 531, 521}},
                         {OBJECT_6X6, 1, {527, 517, 533, 523}},
                         {OBJECT_5X5, -2, {528, 518, 533, 523}},
                         {OBJECT_2X2, -1, {529, 519, 531, 521}}}) {
        SCOPED_TRACE(c.base);
        Reset();
        engine.SetVisibleArea(500, 500, 540, 530);
        host.stampObject = c.base;
        engine.ChangeTool(ID_TOOL_SELECT, ID_TOOL_STAMP);
        // The pointer moves less than a cell on, to where the wheel turns; the zoom keeps its
        // cell under it.
        engine.OnMouseMove(0, At(529, 519));
        const Point pointer = At(530, 520);
        engine.OnMouseMove(0, pointer);
        WheelZoom(pointer, c.steps);
        ASSERT_EQ(engine.Geometry().CellAt(pointer), (Point{530, 520}));
        EXPECT_EQ(engine.Stamp().PreviewRect(), engine.Geometry().CellsToClient(c.footprint));
        engine.OnLButtonDown(MK_LBUTTON, pointer);
        engine.OnLButtonUp(0, pointer);
        EXPECT_EQ(doc.GetCell(c.footprint.top, c.footprint.left), c.base);
        const int side = c.footprint.Width();
        EXPECT_EQ(doc.GetCell(c.footprint.bottom - 1, c.footprint.right - 1),
                  c.base + static_cast<Cell>(side * side - 1));
        engine.ChangeTool(ID_TOOL_STAMP, ID_TOOL_SELECT);
    }
}

TEST_F(ZoomWhileHolding, ARubberBandKeepsItsAnchorCell) {
    engine.OnLButtonDown(MK_LBUTTON, At(10, 10));
    engine.OnMouseMove(MK_LBUTTON, At(14, 12));
    WheelZoom(At(14, 12), 1);
    engine.OnMouseMove(MK_LBUTTON, At(16, 13));
    engine.OnLButtonUp(0, At(16, 13));
    EXPECT_EQ(engine.Selection().SelectionCells(), (Rect{10, 10, 16, 13}));
    EXPECT_EQ(OutlinedCells(), (Rect{10, 10, 16, 13}));
}

TEST_F(ZoomWhileHolding, AShapeInProgressKeepsItsCells) {
    struct Case {
        int tool;
        int steps;
        int written; // cells the shape writes from (10, 10) to (14, 12)
    };
    for (const Case c : {Case{ID_TOOL_LINE, 1, 5},
                         {ID_TOOL_LINE, -2, 5},
                         {ID_TOOL_FILLED_RECTANGLE, 1, 15},
                         {ID_TOOL_RECTANGLE, -3, 12}}) {
        SCOPED_TRACE(c.tool);
        Reset();
        engine.SetVisibleArea(5, 5, 45, 35);
        host.tool = c.tool;
        engine.SetForeBack(9, true);
        engine.OnLButtonDown(MK_LBUTTON, At(10, 10));
        engine.OnMouseMove(MK_LBUTTON, At(13, 11));
        WheelZoom(At(13, 11), c.steps);
        // The preview shows the same map cells at the new size.
        const ViewGeometry& view = engine.Geometry();
        for (const ShapePoint& p : engine.Shapes().PreviewPoints()) {
            EXPECT_GE(p.column + view.LeftCol(), 10);
            EXPECT_LE(p.column + view.LeftCol(), 13);
        }
        engine.OnMouseMove(MK_LBUTTON, At(14, 12));
        engine.OnLButtonUp(0, At(14, 12));
        EXPECT_EQ(doc.GetCell(10, 10), 9u);
        EXPECT_EQ(doc.GetCell(12, 14), 9u);
        EXPECT_EQ(static_cast<int>(std::count(doc.GetCells(), doc.GetCells() + MAP_CELLS, 9u)),
                  c.written);
        host.tool = ID_TOOL_SELECT;
    }
}

TEST_F(ZoomWhileHolding, AConnectedLineKeepsItsSegmentsAcrossAZoom) {
    for (const int steps : {-2, 1}) {
        SCOPED_TRACE(steps);
        Reset();
        engine.SetVisibleArea(100, 100, 140, 130);
        host.tool = ID_TOOL_CONNECTED_LINE;
        engine.SetForeBack(9, true);
        engine.OnLButtonDown(MK_LBUTTON, At(110, 110));
        engine.OnLButtonUp(MK_LBUTTON, At(110, 110));
        engine.OnLButtonDown(MK_LBUTTON, At(114, 110)); // writes the first segment
        engine.OnLButtonUp(MK_LBUTTON, At(114, 110));
        WheelZoom(At(114, 110), steps);
        engine.OnMouseMove(MK_LBUTTON, At(114, 113));
        engine.OnLButtonDblClk(MK_LBUTTON, At(114, 113));
        engine.OnLButtonUp(0, At(114, 113));
        for (const Point p : {Point{110, 110}, {114, 110}, {114, 111}, {114, 113}})
            EXPECT_EQ(doc.GetCell(p.y, p.x), 9u) << p.x << "," << p.y;
        EXPECT_EQ(std::count(doc.GetCells(), doc.GetCells() + MAP_CELLS, 9u), 8);
        // Both segments are one step.
        engine.UndoRedo(ApplyMode::Undo);
        EXPECT_EQ(std::count(doc.GetCells(), doc.GetCells() + MAP_CELLS, 9u), 0);
        host.tool = ID_TOOL_SELECT;
    }
}

} // namespace
} // namespace krav
