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
std::string Drawn(const Rect& outline, const Rect& area, int thickness = 1) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(area.Width() * area.Height()), O);
    DrawSelectionOutline(outline, area, pixels.data(), area.Width(), thickness);
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

TEST(SelectionOutline, BlackAndWhiteDashesCountedFromEachCorner) {
    EXPECT_EQ(Drawn({1, 1, 8, 6}, {0, 0, 9, 7}), ".........\n"
                                                 ".##oo##o.\n"
                                                 ".#.....#.\n"
                                                 ".o.....o.\n"
                                                 ".o.....o.\n"
                                                 ".##oo##o.\n"
                                                 ".........\n");
}

TEST(SelectionOutline, TwoPixelsWideTheDashesLineUp) {
    EXPECT_EQ(Drawn({1, 1, 9, 7}, {0, 0, 10, 8}, 2), "..........\n"
                                                     ".##oo##oo.\n"
                                                     ".##oo##o#.\n"
                                                     ".oo....oo.\n"
                                                     ".oo....oo.\n"
                                                     ".##oo##o#.\n"
                                                     ".##oo##oo.\n"
                                                     "..........\n");
}

TEST(SelectionOutline, IsCutToThePartOfTheViewPainted) {
    // The same outline, painted as two bands: each holds its part of it and nothing more.
    EXPECT_EQ(Drawn({1, 1, 8, 6}, {3, 0, 9, 3}), "......\n"
                                                 "oo##o.\n"
                                                 "....#.\n");
    EXPECT_EQ(Drawn({-5, -5, 20, 20}, {0, 0, 4, 2}), "....\n"
                                                     "....\n")
        << "an outline around the whole area crosses none of it";
    EXPECT_EQ(Drawn({}, {0, 0, 2, 1}), "..\n") << "no selection";
}

// Whatever the outline, its thickness and the part painted, only the frame's own pixels
// change, and along every side both colours show (so that one of them stands out on any tile),
// black and white within every four pixels.
TEST(SelectionOutline, TouchesNothingButItsFrameAndShowsBothColoursAlongEachSide) {
    const Rect area{-3, -2, 41, 29};
    const int stride = area.Width() + 5; // rows with room after them, never written
    std::uint32_t seed = 12345;
    const auto next = [&seed](int below) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(below));
    };
    for (int round = 0; round < 300; ++round) {
        const int thickness = 1 + round % 2;
        const int left = next(50) - 8, top = next(40) - 8;
        const Rect outline{left, top, left + 1 + next(40), top + 1 + next(30)};
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(stride) * area.Height());
        for (std::uint32_t& p : pixels)
            p = 0xFF000000u | static_cast<std::uint32_t>(next(0xFFFFFF));
        const std::vector<std::uint32_t> before = pixels;
        DrawSelectionOutline(outline, area, pixels.data(), stride, thickness);
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.left + stride; ++x) {
                const std::size_t i =
                    static_cast<std::size_t>(y - area.top) * stride + (x - area.left);
                const bool inOutline = x < area.right && x >= outline.left && x < outline.right &&
                                       y >= outline.top && y < outline.bottom;
                const bool onFrame =
                    inOutline && (x < outline.left + thickness || x >= outline.right - thickness ||
                                  y < outline.top + thickness || y >= outline.bottom - thickness);
                if (!onFrame)
                    ASSERT_EQ(pixels[i], before[i]) << "(" << x << ", " << y << ") round " << round;
                else
                    ASSERT_TRUE(pixels[i] == B || pixels[i] == W) << "(" << x << ", " << y << ")";
            }
        // Four pixels of a side inside the area hold both colours.
        for (int x = std::max(outline.left, area.left);
             x + 4 <= std::min(outline.right, area.right); ++x) {
            if (outline.top < area.top || outline.top >= area.bottom)
                break;
            int black = 0;
            for (int k = 0; k < 4; ++k)
                black += pixels[static_cast<std::size_t>(outline.top - area.top) * stride +
                                (x + k - area.left)] == B;
            ASSERT_EQ(black, 2) << "top side from x " << x << " round " << round;
        }
    }
}

} // namespace
} // namespace krav
