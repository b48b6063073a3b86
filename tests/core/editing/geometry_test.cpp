// Which cells a map view shows: zoom steps, the grid switch, scrolling, resizing.
#include "editing/ViewGeometry.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

ViewGeometry ViewOf(int width, int height) {
    ViewGeometry view;
    view.Reset(width, height);
    return view;
}

struct ZoomStep {
    std::string action; // "in", "out" or "grid"
    double zoom;
    bool grid;
};

TEST(ViewGeometry, ZoomStepsAndTheGridRule) {
    const std::vector<ZoomStep> steps = {
        {"in", 2.0, true},     {"in", 2.0, true}, // 2:1 is the limit
        {"out", 1.0, true},    {"grid", 1.0, false},   {"out", 0.5, false},    {"out", 0.25, false},
        {"grid", 0.25, false}, // no grid at low zoom
        {"out", 0.125, false}, {"out", 0.0625, false}, {"out", 0.0625, false}, {"in", 0.125, false},
        {"in", 0.25, false},   {"in", 0.5, true}, // on again, although it was switched off by hand
    };
    ViewGeometry view = ViewOf(800, 600);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.action + " to " + std::to_string(step.zoom));
        if (step.action == "grid")
            view.ToggleGrid();
        else
            view.ZoomAt(100, 100, step.action == "out");
        EXPECT_EQ(view.Zoom(), step.zoom);
        EXPECT_EQ(view.CellWidth(), static_cast<int>(16 * step.zoom));
        EXPECT_EQ(view.IsGridShown(), step.grid);
        EXPECT_EQ(view.GetGridState(), step.zoom <= 0.25 ? -1 : step.grid);
    }
}

TEST(ViewGeometry, ZoomCentresThePointedCellUnlessAnEdgeIsInTheWay) {
    struct Case {
        Point pointer;
        bool zoomOut;
        Rect visible; // left, top, right, bottom
    };
    const std::vector<Case> cases = {
        {{10, 10}, false, {0, 0, 25, 18}},   // near the corner: stays at (0, 0)
        {{400, 288}, true, {0, 0, 100, 75}}, // 1:2 around cell (25, 18)
    };
    for (const auto& c : cases) {
        ViewGeometry view = ViewOf(800, 600);
        view.ZoomAt(c.pointer.x, c.pointer.y, c.zoomOut);
        EXPECT_EQ((Rect{view.LeftCol(), view.TopRow(), view.RightCol(), view.BottomRow()}),
                  c.visible);
        EXPECT_EQ(view.VerticalBar().Position(), view.TopRow());
        EXPECT_EQ(view.HorizontalBar().Position(), view.LeftCol());
    }
    // Near the bottom-right corner the map's last cells end at the window's edge.
    ViewGeometry view = ViewOf(800, 600);
    view.SetVisibleArea(974, 987, 1024, 1024);
    view.ZoomAt(790, 590, false);
    EXPECT_EQ(view.RightCol(), 1024);
    EXPECT_EQ(view.BottomRow(), 1024);
    EXPECT_EQ(view.LeftCol(), 1024 - 25);
    EXPECT_EQ(view.TopRow(), 1024 - 18);
}

TEST(ViewGeometry, ZoomAtThePointerKeepsThePointedCellThereUnlessAnEdgeIsInTheWay) {
    struct Case {
        std::string what;
        Point origin; // left column, top row before the zoom
        Point pointer;
        bool zoomOut;
        Point origin2;  // after it
        bool cellStays; // under the pointer
    };
    const std::vector<Case> cases = {
        {"in", {500, 400}, {200, 150}, false, {500 + 12 - 6, 400 + 9 - 4}, true},
        {"out", {500, 400}, {200, 150}, true, {500 + 12 - 25, 400 + 9 - 18}, true},
        {"out near the corner", {5, 5}, {200, 150}, true, {0, 0}, false},
        {"out near the far corner", {974, 987}, {200, 150}, true, {1024 - 100, 1024 - 75}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ViewGeometry view = ViewOf(800, 600);
        view.SetVisibleArea(c.origin.x, c.origin.y, c.origin.x + 50, c.origin.y + 37);
        const Point cell = view.CellAt(c.pointer);
        view.ZoomAt(c.pointer.x, c.pointer.y, c.zoomOut, ZoomAnchor::Pointer);
        EXPECT_EQ((Point{view.LeftCol(), view.TopRow()}), c.origin2);
        EXPECT_EQ(view.RightCol() - view.LeftCol(), 800 / view.CellWidth());
        EXPECT_EQ(view.HorizontalBar().Position(), view.LeftCol());
        EXPECT_EQ(view.VerticalBar().Position(), view.TopRow());
        EXPECT_EQ(view.CellAt(c.pointer) == cell, c.cellStays);
    }
}

TEST(ViewGeometry, AtOneToSixteenRowsAreCappedAtTheMap) {
    ViewGeometry tall = ViewOf(800, 1000);
    for (int i = 0; i < 4; ++i)
        tall.ZoomAt(0, 0, true);
    EXPECT_EQ(tall.BottomRow() - tall.TopRow(), 1000);
    ViewGeometry taller = ViewOf(800, 1500);
    for (int i = 0; i < 4; ++i)
        taller.ZoomAt(0, 0, true);
    EXPECT_EQ(taller.TopRow(), 0);
    EXPECT_EQ(taller.BottomRow(), 1024);
}

TEST(ViewGeometry, ScrollCodes) {
    struct Case {
        const char* name;
        int top; // origin before
        int code;
        int thumb;
        int moved; // change of the origin
    };
    // A 640-pixel-high client at 1:1: a page of 40 rows.
    const std::vector<Case> cases = {
        {"page up near the top", 3, SB_PAGEUP, 0, -3},
        {"page up at the top", 0, SB_PAGEUP, 0, 0},
        {"line up", 10, SB_LINEUP, 0, -1},
        {"line down", 10, SB_LINEDOWN, 0, 1},
        {"line down at the bottom", 984, SB_LINEDOWN, 0, 0},
        {"page down near the bottom", 980, SB_PAGEDOWN, 0, 4},
        {"thumb position does nothing", 10, SB_THUMBPOSITION, 500, 0},
        {"thumb track", 10, SB_THUMBTRACK, 500, 490},
        {"unknown code", 10, 9, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ViewGeometry view = ViewOf(640, 640);
        view.SetVisibleArea(0, c.top, 40, c.top + 40);
        EXPECT_EQ(view.ScrollVertical(c.code, c.thumb), c.moved);
        EXPECT_EQ(view.TopRow(), c.top + c.moved);
        EXPECT_EQ(view.BottomRow(), c.top + c.moved + 40);
        EXPECT_EQ(view.VerticalBar().Position(), c.top + c.moved);
    }
}

TEST(ViewGeometry, ResizingKeepsTheMapsFarEdgeAtTheWindowsEdge) {
    ViewGeometry view = ViewOf(640, 640);
    view.SetVisibleArea(984, 984, 1024, 1024);
    view.OnSize(800, 480);
    EXPECT_EQ((Rect{view.LeftCol(), view.TopRow(), view.RightCol(), view.BottomRow()}),
              (Rect{974, 994, 1024, 1024}));
    // Away from the edges the origin stays.
    view.SetVisibleArea(100, 100, 150, 130);
    view.OnSize(320, 320);
    EXPECT_EQ((Rect{view.LeftCol(), view.TopRow(), view.RightCol(), view.BottomRow()}),
              (Rect{100, 100, 120, 120}));
}

// The cells a picture of "the visible area" takes: every map cell of which the window shows a
// pixel, the cut column and row included, and never one it does not show or one past the map.
TEST(ViewGeometry, ShownCellsAreTheCellsWithAPixelInTheWindow) {
    const auto meets = [](int from, int to, int extent) { return from < extent && to > 0; };
    for (const int width : {1, 15, 16, 17, 200, 641, 1030, 1500})
        for (const int zoomOuts : {-1, 0, 1, 2, 4})
            for (const bool farCorner : {false, true}) {
                ViewGeometry view = ViewOf(width, width / 2 + 7);
                for (int i = 0; i < std::abs(zoomOuts); ++i)
                    view.ZoomAt(0, 0, zoomOuts > 0);
                if (farCorner) // scrolled to the map's far corner
                    view.SetVisibleArea(1024 - (view.RightCol() - view.LeftCol()),
                                        1024 - (view.BottomRow() - view.TopRow()), 1024, 1024);
                const Rect shown = view.ShownCells();
                SCOPED_TRACE(std::to_string(width) + " wide, zoom " + std::to_string(view.Zoom()) +
                             (farCorner ? ", far corner" : ""));
                Rect expected{MAP_SIZE, MAP_SIZE, 0, 0};
                for (int col = 0; col < MAP_SIZE; ++col) {
                    const int x = (col - view.LeftCol()) * view.CellWidth();
                    if (meets(x, x + view.CellWidth(), view.ClientWidth())) {
                        expected.left = std::min(expected.left, col);
                        expected.right = std::max(expected.right, col + 1);
                    }
                }
                for (int row = 0; row < MAP_SIZE; ++row) {
                    const int y = (row - view.TopRow()) * view.CellHeight();
                    if (meets(y, y + view.CellHeight(), view.ClientHeight())) {
                        expected.top = std::min(expected.top, row);
                        expected.bottom = std::max(expected.bottom, row + 1);
                    }
                }
                if (expected.right == 0 || expected.bottom == 0) // narrower than a cell
                    EXPECT_TRUE(shown.IsEmpty());
                else
                    EXPECT_EQ(shown, expected);
                // The whole cells stay inside.
                EXPECT_EQ(shown.Intersected(view.VisibleCells()), view.VisibleCells());
            }
}

} // namespace
} // namespace krav
