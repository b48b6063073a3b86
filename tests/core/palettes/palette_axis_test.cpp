// The tile set palette's view-port along one axis, and how palette windows keep whole tiles
// while their edges are dragged.
#include "palettes/EdgeSnap.h"
#include "palettes/PaletteAxis.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

using Step = PaletteAxis::Step;

// Ten tile rows, as in the standard tile set.
PaletteAxis RowsShowing(int first, int visible) {
    PaletteAxis rows;
    rows.SetCount(10);
    rows.Reset(visible);
    while (rows.First() < first)
        rows.Scroll(Step::LineForward, visible);
    return rows;
}

TEST(PaletteAxis, ResizingKeepsTheBottomInViewOnceItWasThere) {
    struct Case {
        std::string what;
        int first, visible; // before
        int newVisible;
        int expectedFirst, expectedLast;
    };
    const std::vector<Case> cases = {
        {"grow from the top", 0, 5, 8, 0, 8},
        {"shrink from the top", 0, 10, 6, 4, 10}, // the bottom row was in view
        {"shrink in the middle", 2, 5, 3, 2, 5},
        {"grow past the bottom", 4, 5, 8, 2, 10},
        {"grow at the bottom", 5, 5, 7, 3, 10},
        {"whole tile set", 3, 5, 10, 0, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PaletteAxis rows = RowsShowing(c.first, c.visible);
        rows.Resize(c.newVisible);
        EXPECT_EQ(rows.First(), c.expectedFirst);
        EXPECT_EQ(rows.Last(), c.expectedLast);
    }
}

TEST(PaletteAxis, LinesAndPagesStopAtTheEnds) {
    struct Case {
        std::string what;
        int first;
        Step step;
        int moved, expectedFirst, expectedLast;
    };
    // Four whole rows visible out of ten.
    const std::vector<Case> cases = {
        {"line up at the top", 0, Step::LineBack, 0, 0, 4},
        {"line up", 3, Step::LineBack, -1, 2, 6},
        {"line down", 3, Step::LineForward, 1, 4, 8},
        {"line down at the bottom", 6, Step::LineForward, 0, 6, 10},
        {"page up", 5, Step::PageBack, -4, 1, 5},
        {"page up, stops at the top", 2, Step::PageBack, -2, 0, 4},
        {"page up at the top", 0, Step::PageBack, 0, 0, 4},
        {"page down", 1, Step::PageForward, 4, 5, 9},
        {"page down, stops at the bottom", 3, Step::PageForward, 3, 6, 10},
        {"page down at the bottom", 6, Step::PageForward, 0, 6, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PaletteAxis rows = RowsShowing(c.first, 4);
        EXPECT_EQ(rows.Scroll(c.step, 4), c.moved);
        EXPECT_EQ(rows.First(), c.expectedFirst);
        EXPECT_EQ(rows.Last(), c.expectedLast);
    }
}

TEST(PaletteAxis, FramesShowForTilesFromTheFirstToThePartlyVisibleLast) {
    const PaletteAxis rows = RowsShowing(2, 4);
    EXPECT_FALSE(rows.Shows(1));
    EXPECT_TRUE(rows.Shows(2));
    EXPECT_TRUE(rows.Shows(6));
    EXPECT_FALSE(rows.Shows(7));
}

TEST(EdgeSnap, DraggedEdgesMoveByWholeStepsOnly) {
    struct Case {
        int drag, moved;
    };
    const std::vector<Case> cases = {{0, 0},   {15, 0},    {16, 16},   {31, 16}, {33, 32},
                                     {-15, 0}, {-20, -16}, {-32, -32}, {49, 48}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.drag);
        EXPECT_EQ(SnapEdge(100, 100 + c.drag, 16), 100 + c.moved);
    }
    EXPECT_EQ(SnapEdge(200, 249, 50), 200);
    EXPECT_EQ(SnapEdge(200, 250, 50), 250);
    EXPECT_EQ(SnapEdge(200, 149, 50), 150);
}

TEST(EdgeSnap, OnlyTheEdgesOfAResizeAreSnapped) {
    const Rect recorded{100, 200, 292, 360};
    struct Case {
        std::string what;
        Rect proposed, expected;
    };
    const std::vector<Case> cases = {
        {"right edge by 20", {100, 200, 312, 360}, {100, 200, 308, 360}},
        {"left edge by -20", {80, 200, 292, 360}, {84, 200, 292, 360}},
        {"bottom edge by -15", {100, 200, 292, 345}, {100, 200, 292, 360}},
        {"top-left corner", {90, 170, 292, 360}, {100, 184, 292, 360}},
        {"a move is no resize", {137, 211, 329, 371}, {137, 211, 329, 371}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SnapDraggedEdges(recorded, c.proposed, 16, 16), c.expected);
    }
    // Without a vertical step only the width is snapped.
    EXPECT_EQ(SnapDraggedEdges({3, 500, 203, 550}, {3, 500, 160, 530}, 50, 0),
              (Rect{3, 500, 203, 530}));
}

} // namespace
} // namespace krav
