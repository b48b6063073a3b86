// Where the renderer draws the grid over a map view.
#include "editing/ViewGeometry.h"
#include "render/GridLines.h"

#include <gtest/gtest.h>

namespace krav {
namespace {

TEST(GridLines, LieOnEachCellsLastPixelAndTheEdgeJustOutsideTheMap) {
    ViewGeometry view;
    view.Reset(640, 480);
    const GridLines inner = ComputeGridLines(view, {0, 0, 40, 20});
    ASSERT_GE(inner.vertical.size(), 3u);
    EXPECT_EQ(inner.vertical[0], (GridLine{-1, 0, 20, false}));
    EXPECT_EQ(inner.vertical[1].pos, 15);
    EXPECT_EQ(inner.vertical[2].pos, 31);
    EXPECT_EQ(inner.horizontal[1], (GridLine{15, 0, 40, false}));

    // Right edge on screen at 1:1 with the view at column 1000: the edge is at x = 385.
    view.SetVisibleArea(1000, 0, 1024, 30);
    const GridLines edge = ComputeGridLines(view, view.ClientRect());
    EXPECT_EQ(edge.vertical.back(), (GridLine{385, 0, 481, true}));
    EXPECT_FALSE(edge.horizontal.back().edge);
    EXPECT_EQ(edge.horizontal.back().to, 24 * 16) << "rows stop at the map's right edge";
}

} // namespace
} // namespace krav
