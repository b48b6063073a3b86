// Texts of the status bar panes, with the sector names of the positions they show.
#include "editing/StatusTexts.h"

#include <gtest/gtest.h>

namespace krav {
namespace {

TEST(StatusCursorText, CellAndSectorUnderThePointer) {
    struct Case {
        int column, row;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "   0,    0 :: A1 "},       {1023, 1023, "1023, 1023 :: T20"},
        {51, 51, "  51,   51 :: A1 "},     {52, 52, "  52,   52 :: B2 "},
        {987, 519, " 987,  519 :: S10"},   {1039, 1039, "1039, 1039 :: T20"},
        {1040, 5000, "1040, 5000 :: T20"}, {-60, -1, " -60,   -1 :: A1 "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CursorText(c.column, c.row), c.text);
    }
}

TEST(StatusVisibleAreaText, NamesBothCornersEvenAtTheMapEnd) {
    EXPECT_EQ(VisibleAreaText(0, 0, 64, 48), "0, 0 --> 64, 48 :: A1 --> B1");
    EXPECT_EQ(VisibleAreaText(960, 976, 1024, 1024), "960, 976 --> 1024, 1024 :: S19 --> T20");
    EXPECT_EQ(VisibleAreaText(1000, 1000, 1100, 1200), "1000, 1000 --> 1100, 1200 :: T20 --> T20");
}

TEST(StatusExtentText, SelectionsAndLines) {
    struct Case {
        int x0, y0, x1, y1;
        const char* text;
    };
    const Case cases[] = {
        // columns 10..14 and rows 20..24 selected: the end is just past them
        {10, 20, 15, 25, "10,20 --> 15,25 :: A1 --> A1"},
        // a line from view cell (2, 3) to (7, 3), scrolled to column 100 and row 200
        {102, 203, 107, 203, "102,203 --> 107,203 :: B4 --> C4"},
        {1023, 0, 0, 1023, "1023,0 --> 0,1023 :: T1 --> A20"},
        {1020, 1020, 1040, 2000, "1020,1020 --> 1040,2000 :: T20 --> T20"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtentText(c.x0, c.y0, c.x1, c.y1), c.text);
    }
}

TEST(StatusZoomText, NamesTheSixLevelsExactly) {
    struct Case {
        double zoom;
        const char* text;
    };
    const Case cases[] = {
        {0.0625, "Zoom: 1:16"},       {0.125, "Zoom: 1:8"},  {0.25, "Zoom: 1:4"},
        {0.5, "Zoom: 1:2"},           {1.0, "Zoom: 1:1"},    {2.0, "Zoom: 2:1"},
        {0.0, "Zoom: OOPS!"},         {4.0, "Zoom: OOPS!"},  {0.3, "Zoom: OOPS!"},
        {1.0 + 1e-12, "Zoom: OOPS!"}, {-1.0, "Zoom: OOPS!"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZoomText(c.zoom), c.text) << c.zoom;
    }
}

TEST(StatusFlagsText, LeftAlignedInFourCharacters) {
    EXPECT_EQ(FlagsText(0), "Flags: 0   ");
    EXPECT_EQ(FlagsText(7), "Flags: 7   ");
    EXPECT_EQ(FlagsText(256), "Flags: 256 ");
    EXPECT_EQ(FlagsText(12345), "Flags: 12345");
}

} // namespace
} // namespace krav
