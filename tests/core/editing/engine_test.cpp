// A map view's engine: what reaches the window, the Rubber Stamp, and the status texts.
#include "editing/MapViewEngine.h"
#include "support/RecordingHost.h"

#include <gtest/gtest.h>

namespace krav {
namespace {

class Engine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnNewDocument(host.prompt));
        engine.OnInitialUpdate(640, 480);
        host.invalidated.clear();
    }

    // The cells a client rectangle covers.
    Rect CellsOf(const Rect& client) const {
        const Rect map = engine.Geometry().ClientToMap(client);
        const int cell = engine.Geometry().CellWidth();
        return {map.left / cell, map.top / cell, map.right / cell, map.bottom / cell};
    }

    void Stamp(Cell base, int column, int row) {
        engine.Stamp().SetObject(base);
        const int cell = engine.Geometry().CellWidth();
        engine.Stamp().PlaceStamp({(column - engine.Geometry().LeftCol()) * cell + 3,
                                   (row - engine.Geometry().TopRow()) * cell + 3});
        engine.Stamp().StampObject();
    }

    test::RecordingHost host;
    CKRAVDoc doc;
    MapViewEngine engine{doc, host};
};

TEST_F(Engine, AnUpdateHintRepaintsOnlyItsCell) {
    engine.OnUpdate((5 << 16) + 7);
    EXPECT_EQ(host.invalidated, std::vector<Rect>{(Rect{112, 80, 128, 96})});
    engine.OnUpdate(0);
    EXPECT_EQ(host.invalidated.back(), (Rect{0, 0, 640, 480}));
}

TEST_F(Engine, ScrollingMovesTheWindowContentsAndTellsTheRadar) {
    engine.SetVisibleArea(0, 3, 40, 33);
    engine.OnVScroll(SB_PAGEUP);
    EXPECT_EQ(engine.Geometry().TopRow(), 0);
    EXPECT_EQ(host.scrolled, std::vector<Point>{(Point{0, 48})});
    EXPECT_EQ(host.events, std::vector<std::string>{"radar rows"});
    engine.OnVScroll(SB_LINEUP); // at the top: nothing
    EXPECT_EQ(host.scrolled.size(), 1u);
}

TEST_F(Engine, StampFootprintsArePlacedAroundThePointerAndKeptInsideTheMap) {
    struct Case {
        Cell base;
        int column, row; // the pointer's cell
        Rect cells;
    };
    for (const Case c : {Case{500, 1, 1, {0, 0, 6, 6}},
                         {500, 20, 20, {17, 17, 23, 23}},
                         {600, 10, 10, {8, 8, 13, 13}},
                         {700, 10, 10, {9, 9, 11, 11}},
                         {800, 10, 10, {10, 10, 11, 11}}}) {
        engine.Stamp().SetObject(c.base);
        engine.Stamp().PlaceStamp({c.column * 16 + 5, c.row * 16 + 9});
        EXPECT_EQ(CellsOf(engine.Stamp().PreviewRect()), c.cells) << c.base;
    }
    engine.SetVisibleArea(1000, 1000, 1024, 1024);
    engine.Stamp().SetObject(OBJECT_6X6);
    engine.Stamp().PlaceStamp({23 * 16, 23 * 16});
    EXPECT_EQ(CellsOf(engine.Stamp().PreviewRect()), (Rect{1018, 1018, 1024, 1024}));
}

TEST_F(Engine, AStampedObjectIsNumberedRowByRow) {
    Stamp(OBJECT_5X5, 10, 10);
    EXPECT_EQ(doc.GetCell(8, 8), 600u);
    EXPECT_EQ(doc.GetCell(8, 9), 601u);
    EXPECT_EQ(doc.GetCell(12, 12), 624u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(engine.Radar().IndexAt(8, 8), engine.Radar().IndexAt(12, 12));
    EXPECT_NE(engine.Radar().IndexAt(8, 8), 0);
}

TEST_F(Engine, StampingOverAnObjectRemovesItWholeAndUndoBringsItBack) {
    Stamp(OBJECT_6X6, 20, 20); // columns and rows 17..22
    doc.SetCell(30, 30, FLAG_CELL);
    ++engine.Flags();
    std::vector<Cell> before(doc.GetCells(), doc.GetCells() + MAP_CELLS);

    Stamp(OBJECT_6X6, 23, 23); // 20..25: over the first object's corner
    for (int y = 17; y < 20; ++y)
        for (int x = 17; x < 23; ++x)
            EXPECT_EQ(doc.GetCell(y, x), EMPTY_CELL) << x << "," << y;
    EXPECT_EQ(doc.GetCell(20, 20), 500u);

    engine.UndoRedo(ApplyMode::Undo);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), doc.GetCells()));

    Stamp(OBJECT_1X1, 30, 30); // over the flag
    EXPECT_EQ(engine.FlagCount(), 0);
}

TEST_F(Engine, StatusTexts) {
    engine.OnMouseMove(0, {5, 5});
    EXPECT_EQ(engine.CursorText(), "   0,    0 :: A1 ");
    EXPECT_EQ(engine.VisibleAreaText(), "0, 0 --> 40, 30 :: A1 --> A1");
    EXPECT_EQ(engine.ZoomText(), "Zoom: 1:1");
    EXPECT_EQ(engine.FlagsText(), "Flags: 0   ");
    EXPECT_EQ(engine.SelectionText(), "");

    host.tool = ID_TOOL_SELECT;
    engine.OnLButtonDown(MK_LBUTTON, {10 * 16 + 3, 20 * 16 + 3});
    engine.OnMouseMove(MK_LBUTTON, {15 * 16 + 3, 25 * 16 + 3});
    engine.OnLButtonUp(0, {15 * 16 + 3, 25 * 16 + 3});
    EXPECT_EQ(engine.SelectionText(), "10,20 --> 15,25 :: A1 --> A1");

    engine.SetVisibleArea(100, 200, 140, 230);
    engine.ChangeTool(ID_TOOL_SELECT, ID_TOOL_LINE);
    host.tool = ID_TOOL_LINE;
    engine.OnLButtonDown(MK_LBUTTON, {2 * 16 + 3, 3 * 16 + 3});
    engine.OnMouseMove(MK_LBUTTON, {7 * 16 + 3, 3 * 16 + 3});
    EXPECT_EQ(engine.LineText(), "102,203 --> 107,203 :: B4 --> C4");
}

} // namespace
} // namespace krav
