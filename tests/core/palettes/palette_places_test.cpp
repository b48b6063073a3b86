#include "palettes/PalettePlaces.h"

#include <gtest/gtest.h>
#include <string>

namespace krav {
namespace {

TEST(FirstClearSpot, TakesTheFirstCandidateOnTheScreenThatCoversNoOtherWindow) {
    const Rect screen{0, 0, 1000, 800};
    const Rect tiles{0, 600, 300, 800}; // bottom-left
    const Rect radar{850, 650, 1000, 800};
    struct Case {
        std::string what;
        std::vector<Point> candidates;
        Point want;
    };
    const std::vector<Case> cases = {
        {"beside, touching edges only", {{300, 750}, {0, 550}}, {300, 750}},
        {"the first overlaps the tile set", {{299, 750}, {0, 550}}, {0, 550}},
        {"the first leaves the screen", {{900, 0}, {0, 550}}, {0, 550}},
        {"the first sticks out at the bottom", {{400, 751}, {400, 700}}, {400, 700}},
        {"the first covers the Radar", {{700, 700}, {500, 700}}, {500, 700}},
        {"none is free: the first", {{-5, 0}, {100, 700}}, {-5, 0}},
        {"no candidate: the screen's corner", {}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FirstClearSpot(c.candidates, 200, 50, {tiles, radar}, screen), c.want);
    }
}

} // namespace
} // namespace krav
