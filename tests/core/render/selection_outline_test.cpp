// The selection's outline as the view draws it into its picture.
#include "render/SelectionOutline.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

constexpr std::uint32_t W = 0xFFFFFFFFu, B = 0xFF000000u, O = 0x12345678u;

// Draws the outline into a picture of `area` and gives its pixels as text, a row a line:
// '#' black, 'o' white, '.' untouched.
std::string Drawn(const Rect& outline, const Rect& area) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(area.Width() * area.Height()), O);
    DrawSelectionOutline(outline, area, pixels.data(), area.Width());
    std::string text;
    for (int y = 0; y < area.Height(); ++y) {
        for (int x = 0; x < area.Width(); ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y * area.Width() + x)];
            text += p == B ? '#' : p == W ? 'o' : '.';
        }
        text += '\n';
    }
    return text;
}

TEST(SelectionOutline, WhiteFrameWithADotOnEveryThirdPixelFromEachCorner) {
    EXPECT_EQ(Drawn({1, 1, 8, 6}, {0, 0, 9, 7}), ".........\n"
                                                 ".#oo#oo#.\n"
                                                 ".o.....o.\n"
                                                 ".o.....o.\n"
                                                 ".#.....#.\n"
                                                 ".#oo#oo#.\n"
                                                 ".........\n");
}

TEST(SelectionOutline, IsCutToThePartOfTheViewPainted) {
    // The same outline, painted as two bands: each holds its part of it and nothing more.
    EXPECT_EQ(Drawn({1, 1, 8, 6}, {3, 0, 9, 3}), "......\n"
                                                 "o#oo#.\n"
                                                 "....o.\n");
    EXPECT_EQ(Drawn({-5, -5, 20, 20}, {0, 0, 4, 2}), "....\n"
                                                     "....\n")
        << "an outline around the whole area crosses none of it";
    EXPECT_EQ(Drawn({}, {0, 0, 2, 1}), "..\n") << "no selection";
}

} // namespace
} // namespace krav
