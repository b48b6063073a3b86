// The part of the radar picture the radar window shows, how it follows the view and where a
// click sends the view.
#include "palettes/RadarViewport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

RadarViewport ViewportOf(int width, int height, Rect viewArea) {
    RadarViewport radar;
    radar.Resize(width, height);
    radar.SetViewRect(viewArea);
    return radar;
}

TEST(RadarViewport, SetViewRectPlacesTheShownPart) {
    struct Case {
        std::string what;
        Rect view;
        int shownLeft, shownTop;
    };
    const std::vector<Case> cases = {
        {"at the map's corner", {0, 0, 40, 30}, 0, 0},
        {"left column 0, very wide", {0, 500, 1024, 540}, 0, 458},
        {"touching the right and bottom edges", {1000, 990, 1024, 1024}, 899, 899},
        {"in the middle: centred", {400, 300, 600, 400}, 438, 288},
        {"near the top: not above row 0", {200, 10, 240, 30}, 158, 0},
        // Only the near edge limits it; the part may reach past column 1024.
        {"near the right edge, not touching it", {980, 500, 1020, 540}, 938, 458},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RadarViewport radar = ViewportOf(125, 125, c.view);
        EXPECT_EQ(radar.Shown(),
                  (Rect{c.shownLeft, c.shownTop, c.shownLeft + 125, c.shownTop + 125}));
        EXPECT_EQ(radar.ViewArea(), c.view);
    }
}

TEST(RadarViewport, ALeftColumnOfZeroKeepsTheShownPartAtColumnZero) {
    for (int viewWidth : {1, 64, 125, 600, 1024}) {
        for (int clientWidth : {100, 125, 700, 1023}) {
            SCOPED_TRACE(std::to_string(viewWidth) + " / " + std::to_string(clientWidth));
            const RadarViewport radar = ViewportOf(clientWidth, 125, {0, 100, viewWidth, 140});
            EXPECT_EQ(radar.Shown().left, 0);
            EXPECT_EQ(radar.Shown().right, clientWidth);
        }
    }
}

TEST(RadarViewport, ResizingCentresOnTheViewAndPinsToThePicture) {
    struct Case {
        int width, height;
        int shownLeft, shownTop;
    };
    // The view shows columns 900..1000 and rows 20..60.
    const std::vector<Case> cases = {
        {125, 125, 888, 0},
        {200, 100, 824, 0},
        {300, 300, 724, 0}, // wider than the columns left to the right: pinned at 1024 - w
        {1023, 1023, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        RadarViewport radar = ViewportOf(125, 125, {900, 20, 1000, 60});
        radar.Resize(c.width, c.height);
        EXPECT_EQ(radar.Shown(),
                  (Rect{c.shownLeft, c.shownTop, c.shownLeft + c.width, c.shownTop + c.height}));
    }
}

TEST(RadarViewport, TheShownPartFollowsTheViewOnlyPastItsMiddle) {
    struct Case {
        std::string what;
        int shownTop;         // before: the view shows rows viewTop..viewTop + 20
        int viewTop, newTop;  //
        int expectedShownTop; // after
        int contentShift;     // pixels the drawn content moves (positive: down)
    };
    const std::vector<Case> cases = {
        {"down, view middle above the part's middle", 0, 0, 10, 0, 0},
        {"down, past the middle", 0, 40, 60, 20, -20},
        {"down, pinned at the bottom", 875, 900, 940, 899, -24},
        {"down, already at the bottom", 899, 990, 1000, 899, 0},
        {"up, view middle below the part's middle", 100, 190, 180, 100, 0},
        {"up, past the middle", 100, 120, 100, 80, 20},
        {"up, pinned at the top", 20, 40, 10, 0, 20},
        {"up, already at the top", 0, 10, 0, 0, 0},
        {"not moved", 300, 330, 330, 300, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RadarViewport radar;
        radar.Resize(125, 125);
        // Put the shown part where the case wants it: centre it on a view of 125 rows.
        radar.SetViewArea({0, c.shownTop, 40, c.shownTop + 125});
        radar.Resize(125, 125);
        ASSERT_EQ(radar.Shown().top, c.shownTop);
        radar.SetViewArea({0, c.viewTop, 40, c.viewTop + 20});

        EXPECT_EQ(radar.ScrollViewRows(c.newTop, c.newTop + 20), c.contentShift);
        EXPECT_EQ(radar.Shown().top, c.expectedShownTop);
        EXPECT_EQ(radar.Shown().bottom, c.expectedShownTop + 125);
        EXPECT_EQ(radar.ViewArea(), (Rect{0, c.newTop, 40, c.newTop + 20}));
        EXPECT_EQ(radar.Shown().left, 0); // the other axis stays
    }
}

TEST(RadarViewport, ColumnsFollowLikeRows) {
    RadarViewport radar = ViewportOf(100, 100, {950, 0, 990, 30});
    ASSERT_EQ(radar.Shown().left, 920);
    EXPECT_EQ(radar.ScrollViewCols(984, 1024), -4); // pinned at 1024 - 100
    EXPECT_EQ(radar.Shown(), (Rect{924, 0, 1024, 100}));
    EXPECT_EQ(radar.ScrollViewCols(800, 840), 184);
    EXPECT_EQ(radar.Shown(), (Rect{740, 0, 840, 100}));
    EXPECT_EQ(radar.Shown().top, 0);
}

TEST(RadarViewport, AClickCentresTheViewThereInsideTheMap) {
    struct Case {
        std::string what;
        Rect view; // before the click; the shown part is placed for it
        int px, py;
        Rect newView;
        int shownLeft, shownTop;
    };
    const std::vector<Case> cases = {
        {"top-left corner while the part starts at 0, 0",
         {30, 20, 70, 50},
         0,
         0,
         {0, 0, 40, 30},
         0,
         0},
        {"the middle", {0, 0, 40, 30}, 62, 62, {42, 47, 82, 77}, 0, 0},
        {"far right", {0, 0, 40, 30}, 124, 10, {104, 0, 144, 30}, 62, 0},
        {"bottom-right of a part at the map's corner",
         {1000, 1000, 1024, 1024},
         124,
         124,
         {1000, 1000, 1024, 1024},
         899,
         899},
        {"whole map wide", {0, 0, 1024, 30}, 100, 0, {0, 0, 1024, 30}, 450, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RadarViewport radar = ViewportOf(125, 125, c.view);
        EXPECT_EQ(radar.Click(c.px, c.py), c.newView);
        EXPECT_EQ(radar.ViewArea(), c.newView);
        EXPECT_EQ(radar.Shown(),
                  (Rect{c.shownLeft, c.shownTop, c.shownLeft + 125, c.shownTop + 125}));
    }
}

TEST(RadarViewport, TheViewRectangleLiesOnePixelOutsideOnTheFarSides) {
    const RadarViewport radar = ViewportOf(125, 125, {400, 300, 440, 330});
    ASSERT_EQ(radar.Shown().left, 358);
    ASSERT_EQ(radar.Shown().top, 253);
    EXPECT_EQ(radar.ViewRectOnClient(), (Rect{42, 47, 83, 78}));
}

} // namespace
} // namespace krav
