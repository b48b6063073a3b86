// Shape rasterizers: the cells of lines, rectangles and ellipses, with Shift and Control.
#include "editing/EllipseShape.h"
#include "editing/Geometry.h"
#include "editing/LineShape.h"
#include "editing/RectShape.h"

#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string_view>
#include <vector>

namespace krav {

static void PrintTo(const ShapePoint& p, std::ostream* os) {
    *os << "(" << p.column << "," << p.row << ")=" << p.value;
}

namespace {

constexpr int kMapSize = 1024;

std::vector<ShapePoint> Rasterize(const TileShape& shape, Point from, Point to, bool shift,
                                  bool ctrl, int width = kMapSize, int height = kMapSize) {
    std::vector<ShapePoint> out(4096);
    out.resize(shape.Rasterize(out.data(), static_cast<int>(out.size()), width, height, from.x,
                               from.y, to.x, to.y, shift, ctrl));
    return out;
}

ShapePoint At(int x, int y, int value) {
    return {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
            static_cast<std::int16_t>(value)};
}

// The cells of a picture whose first character is cell topLeft, in raster order, which is the
// order the rectangle and ellipse produce them: '.' is no cell, any other character is the
// cell's value.
std::vector<ShapePoint> Picture(Point topLeft, const std::vector<std::string_view>& rows) {
    std::vector<ShapePoint> cells;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
        for (int x = 0; x < static_cast<int>(rows[y].size()); ++x)
            if (rows[y][x] != '.')
                cells.push_back(At(topLeft.x + x, topLeft.y + y, rows[y][x]));
    return cells;
}

// ---- Lines ----------------------------------------------------------------------------------

struct LineCase {
    const char* name;
    Point from, to;
    bool shift = false;
    bool ctrl = false;
    std::vector<Point> cells;
    int width = kMapSize;
    int height = kMapSize;
};

TEST(LineShape, ProducesTheCellsOfTheLineInDrawingOrder) {
    const std::vector<LineCase> cases = {
        {.name = "shallow",
         .from = {0, 0},
         .to = {5, 2},
         .cells = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
        {.name = "shallow reversed",
         .from = {5, 2},
         .to = {0, 0},
         .cells = {{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}},
        {.name = "steep",
         .from = {0, 0},
         .to = {2, 5},
         .cells = {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
        {.name = "exact diagonal goes along x",
         .from = {3, 3},
         .to = {0, 0},
         .cells = {{3, 3}, {2, 2}, {1, 1}, {0, 0}}},
        {.name = "Control is ignored",
         .from = {0, 0},
         .to = {5, 2},
         .ctrl = true,
         .cells = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
        {.name = "one cell", .from = {4, 4}, .to = {4, 4}, .cells = {{4, 4}}},
        {.name = "one cell with Shift",
         .from = {4, 4},
         .to = {4, 4},
         .shift = true,
         .cells = {{4, 4}}},
        {.name = "one cell off the map", .from = {-1, 4}, .to = {-1, 4}, .cells = {}},
        // Rows of the fixed-point accumulator truncate toward zero: -0.5 is still row 0.
        {.name = "rising above row 0",
         .from = {0, 0},
         .to = {4, -2},
         .cells = {{0, 0}, {1, 0}, {2, 0}}},
        {.name = "clipped to the bounds",
         .from = {-2, 1},
         .to = {3, 1},
         .cells = {{0, 1}, {1, 1}},
         .width = 2,
         .height = 2},
    };
    const LineShape line(37);
    for (const LineCase& c : cases) {
        std::vector<ShapePoint> expected;
        for (const Point p : c.cells)
            expected.push_back(At(p.x, p.y, 37));
        EXPECT_EQ(Rasterize(line, c.from, c.to, c.shift, c.ctrl, c.width, c.height), expected)
            << c.name;
    }
}

TEST(LineShape, ShiftMakesTheLineHorizontalVerticalOrDiagonal) {
    const std::vector<LineCase> cases = {
        {.name = "flat drag",
         .from = {0, 0},
         .to = {5, 1},
         .shift = true,
         .cells = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}},
        {.name = "|dx| just over 2 |dy|",
         .from = {0, 0},
         .to = {6, 2},
         .shift = true,
         .cells = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}}},
        {.name = "|dx| = 2 |dy| is diagonal",
         .from = {0, 0},
         .to = {6, 3},
         .shift = true,
         .cells = {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {.name = "steep but not vertical",
         .from = {0, 0},
         .to = {3, 5},
         .shift = true,
         .cells = {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {.name = "vertical",
         .from = {2, 0},
         .to = {3, 7},
         .shift = true,
         .cells = {{2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}, {2, 7}}},
        {.name = "vertical upward",
         .from = {2, 3},
         .to = {1, 0},
         .shift = true,
         .cells = {{2, 3}, {2, 2}, {2, 1}, {2, 0}}},
        {.name = "diagonal down-left",
         .from = {5, 5},
         .to = {2, 7},
         .shift = true,
         .cells = {{5, 5}, {4, 6}, {3, 7}}},
        {.name = "diagonal up-left",
         .from = {5, 5},
         .to = {1, 3},
         .shift = true,
         .cells = {{5, 5}, {4, 4}, {3, 3}}},
    };
    const LineShape line(5);
    for (const LineCase& c : cases) {
        std::vector<ShapePoint> expected;
        for (const Point p : c.cells)
            expected.push_back(At(p.x, p.y, 5));
        EXPECT_EQ(Rasterize(line, c.from, c.to, c.shift, c.ctrl, c.width, c.height), expected)
            << c.name;
    }
}

// ---- Rectangles and ellipses ----------------------------------------------------------------

struct AreaCase {
    const char* name;
    Point from, to;
    bool shift = false;
    bool ctrl = false;
    Point origin = {0, 0};
    std::vector<std::string_view> picture;
    int width = kMapSize;
    int height = kMapSize;
};

void ExpectPictures(const TileShape& shape, const std::vector<AreaCase>& cases) {
    for (const AreaCase& c : cases)
        EXPECT_EQ(Rasterize(shape, c.from, c.to, c.shift, c.ctrl, c.width, c.height),
                  Picture(c.origin, c.picture))
            << c.name;
}

// Each of the nine parts gets its own value, named by the digit of its position in the list:
// 1 top, 2 bottom, 3 left, 4 right edge; 5 top-left, 6 bottom-left, 7 top-right, 8 bottom-right
// corner; 9 interior.
const RectShape kNinePartRect({'1', '2', '3', '4', '5', '6', '7', '8', '9'});

TEST(RectShape, GivesEachPartOfTheRectangleItsValue) {
    ExpectPictures(
        kNinePartRect,
        {
            {.name = "dragged down-right",
             .from = {2, 3},
             .to = {5, 5},
             .origin = {2, 3},
             .picture = {"5117", "3994", "6228"}},
            {.name = "dragged up-left",
             .from = {5, 5},
             .to = {2, 3},
             .origin = {2, 3},
             .picture = {"5117", "3994", "6228"}},
            // Left column before right, top row before bottom.
            {.name = "one cell", .from = {4, 4}, .to = {4, 4}, .origin = {4, 4}, .picture = {"5"}},
            {.name = "one row",
             .from = {4, 2},
             .to = {1, 2},
             .origin = {1, 2},
             .picture = {"5117"}},
            {.name = "one column",
             .from = {2, 1},
             .to = {2, 4},
             .origin = {2, 1},
             .picture = {"5", "3", "3", "6"}},
        });
}

TEST(RectShape, ShiftSquaresTowardTheStartAndControlCentresOnIt) {
    ExpectPictures(kNinePartRect, {
                                      {.name = "wide, columns cut toward the start on the right",
                                       .from = {5, 5},
                                       .to = {2, 3},
                                       .shift = true,
                                       .origin = {3, 3},
                                       .picture = {"517", "394", "628"}},
                                      {.name = "wide, columns cut toward the start on the left",
                                       .from = {1, 1},
                                       .to = {6, 3},
                                       .shift = true,
                                       .origin = {1, 1},
                                       .picture = {"517", "394", "628"}},
                                      {.name = "tall, rows cut toward the start at the top",
                                       .from = {1, 1},
                                       .to = {3, 6},
                                       .shift = true,
                                       .origin = {1, 1},
                                       .picture = {"517", "394", "628"}},
                                      {.name = "tall, rows cut toward the start at the bottom",
                                       .from = {1, 6},
                                       .to = {3, 1},
                                       .shift = true,
                                       .origin = {1, 4},
                                       .picture = {"517", "394", "628"}},
                                      {.name = "Control",
                                       .from = {10, 10},
                                       .to = {12, 11},
                                       .ctrl = true,
                                       .origin = {8, 9},
                                       .picture = {"51117", "39994", "62228"}},
                                      {.name = "Control with the end up-left",
                                       .from = {10, 10},
                                       .to = {9, 9},
                                       .ctrl = true,
                                       .origin = {9, 9},
                                       .picture = {"517", "394", "628"}},
                                      {.name = "Shift and Control",
                                       .from = {10, 10},
                                       .to = {12, 11},
                                       .shift = true,
                                       .ctrl = true,
                                       .origin = {9, 9},
                                       .picture = {"517", "394", "628"}},
                                  });
}

TEST(EllipseShape, FillsTheInsideAndMarksTheBorder) {
    const EllipseShape ellipse('B', 'F');
    ExpectPictures(
        ellipse,
        {
            {.name = "3 x 3 box", .from = {0, 0}, .to = {2, 2}, .picture = {".B.", "BFB", ".B."}},
            {.name = "3 x 3 box dragged backwards",
             .from = {2, 2},
             .to = {0, 0},
             .picture = {".B.", "BFB", ".B."}},
            {.name = "5 x 5 box",
             .from = {0, 0},
             .to = {4, 4},
             .picture = {".BBB.", "BFFFB", "BFFFB", "BFFFB", ".BBB."}},
            {.name = "odd extent rounds the radius down",
             .from = {0, 0},
             .to = {3, 3},
             .picture = {".B.", "BFB", ".B."}},
            {.name = "wide",
             .from = {0, 0},
             .to = {6, 2},
             .picture = {".BBBBB.", "BFFFFFB", ".BBBBB."}},
            {.name = "one cell wide in both directions",
             .from = {0, 0},
             .to = {1, 1},
             .picture = {}},
            {.name = "zero width", .from = {3, 3}, .to = {3, 9}, .picture = {}},
            {.name = "zero height", .from = {2, 5}, .to = {9, 5}, .picture = {}},
        });
}

TEST(EllipseShape, ShiftMakesACircleAndControlCentresItOnTheStart) {
    const EllipseShape ellipse('B', 'F');
    ExpectPictures(ellipse, {
                                {.name = "Shift",
                                 .from = {0, 0},
                                 .to = {4, 2},
                                 .shift = true,
                                 .picture = {".B.", "BFB", ".B."}},
                                {.name = "Shift, rows cut toward the start",
                                 .from = {0, 9},
                                 .to = {2, 0},
                                 .shift = true,
                                 .origin = {0, 7},
                                 .picture = {".B.", "BFB", ".B."}},
                                {.name = "Control",
                                 .from = {2, 2},
                                 .to = {3, 3},
                                 .ctrl = true,
                                 .origin = {1, 1},
                                 .picture = {".B.", "BFB", ".B."}},
                                {.name = "Control, 5 x 5",
                                 .from = {2, 2},
                                 .to = {0, 0},
                                 .ctrl = true,
                                 .picture = {".BBB.", "BFFFB", "BFFFB", "BFFFB", ".BBB."}},
                                {.name = "Control, wide",
                                 .from = {3, 1},
                                 .to = {0, 0},
                                 .ctrl = true,
                                 .picture = {".BBBBB.", "BFFFFFB", ".BBBBB."}},
                                {.name = "Shift and Control",
                                 .from = {3, 1},
                                 .to = {0, 0},
                                 .shift = true,
                                 .ctrl = true,
                                 .origin = {2, 0},
                                 .picture = {".B.", "BFB", ".B."}},
                            });
}

TEST(TileShapes, NoCellValuesLeaveTheirCellsOut) {
    struct Case {
        const char* name;
        std::shared_ptr<const TileShape> shape;
        Point to;
        std::vector<std::string_view> picture;
    };
    const std::vector<Case> cases = {
        {"outline rectangle",
         std::make_shared<RectShape>(RectShape::Outline('#')),
         {3, 2},
         {"####", "#..#", "####"}},
        {"filled rectangle",
         std::make_shared<RectShape>(RectShape::Filled('#')),
         {3, 2},
         {"####", "####", "####"}},
        {"rectangle without corners",
         std::make_shared<RectShape>(RectShape::Values{'-', '-', '|', '|', -1, -1, -1, -1, -1}),
         {3, 2},
         {".--.", "|..|", ".--."}},
        {"outline ellipse",
         std::make_shared<EllipseShape>('#', -1),
         {4, 4},
         {".###.", "#...#", "#...#", "#...#", ".###."}},
        {"filled ellipse",
         std::make_shared<EllipseShape>('#', '#'),
         {4, 4},
         {".###.", "#####", "#####", "#####", ".###."}},
        {"ellipse without border",
         std::make_shared<EllipseShape>(-1, '#'),
         {4, 4},
         {".....", ".###.", ".###.", ".###.", "....."}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Rasterize(*c.shape, {0, 0}, c.to, false, false), Picture({0, 0}, c.picture))
            << c.name;
}

TEST(TileShapes, CellsOffTheMapAreLeftOut) {
    ExpectPictures(kNinePartRect, {
                                      {.name = "rectangle over the top-left corner",
                                       .from = {-1, -1},
                                       .to = {2, 2},
                                       .picture = {"994", "994", "228"},
                                       .width = 3,
                                       .height = 3},
                                      {.name = "rectangle over the bottom-right corner",
                                       .from = {1, 1},
                                       .to = {5, 5},
                                       .origin = {1, 1},
                                       .picture = {"51", "39", "39"},
                                       .width = 3,
                                       .height = 4},
                                      {.name = "rectangle wholly off the map",
                                       .from = {-5, 2},
                                       .to = {-1, 4},
                                       .picture = {},
                                       .width = 3,
                                       .height = 3},
                                  });
    ExpectPictures(EllipseShape('B', 'F'), {
                                               {.name = "ellipse over the right edge",
                                                .from = {0, 0},
                                                .to = {4, 4},
                                                .picture = {".BB", "BFF"},
                                                .width = 3,
                                                .height = 2},
                                               {.name = "ellipse centred on the corner",
                                                .from = {0, 0},
                                                .to = {2, 2},
                                                .ctrl = true,
                                                .picture = {"FFB", "FFB", "BB."},
                                                .width = 3,
                                                .height = 3},
                                           });

    // Whatever is dragged, near or across the edges, stays on a 5 x 4 map.
    const LineShape line(1);
    const RectShape rect = RectShape::Filled(1);
    const EllipseShape ellipse(1, 1);
    for (const TileShape* shape :
         {static_cast<const TileShape*>(&line), static_cast<const TileShape*>(&rect),
          static_cast<const TileShape*>(&ellipse)})
        for (int x0 = -3; x0 <= 8; ++x0)
            for (int y0 = -3; y0 <= 7; ++y0)
                for (const Point to : {Point{-4, -4}, Point{2, 9}, Point{9, 1}, Point{1, 2}})
                    for (const int flags : {0, 1, 2, 3})
                        for (const ShapePoint p :
                             Rasterize(*shape, {x0, y0}, to, flags & 1, flags & 2, 5, 4)) {
                            ASSERT_TRUE(p.column >= 0 && p.column < 5 && p.row >= 0 && p.row < 4)
                                << "from (" << x0 << "," << y0 << ") to (" << to.x << "," << to.y
                                << ") flags " << flags;
                        }
}

TEST(TileShapes, StopAtMaxCountWithoutWritingPastIt) {
    const ShapePoint unused = At(-7, -7, -7);
    struct Case {
        const char* name;
        std::shared_ptr<const TileShape> shape;
        Point from, to;
        int maxCount;
        std::vector<ShapePoint> cells;
    };
    const std::vector<Case> cases = {
        {"line",
         std::make_shared<LineShape>(1),
         {9, 0},
         {0, 0},
         3,
         {At(9, 0, 1), At(8, 0, 1), At(7, 0, 1)}},
        {"rectangle",
         std::make_shared<RectShape>(RectShape::Filled(1)),
         {0, 0},
         {3, 3},
         5,
         {At(0, 0, 1), At(1, 0, 1), At(2, 0, 1), At(3, 0, 1), At(0, 1, 1)}},
        {"ellipse",
         std::make_shared<EllipseShape>('B', 'F'),
         {0, 0},
         {4, 4},
         4,
         {At(1, 0, 'B'), At(2, 0, 'B'), At(3, 0, 'B'), At(0, 1, 'B')}},
        {"nothing wanted",
         std::make_shared<RectShape>(RectShape::Filled(1)),
         {0, 0},
         {3, 3},
         0,
         {}},
    };
    for (const Case& c : cases) {
        std::vector<ShapePoint> out(c.maxCount + 1, unused);
        const int count = c.shape->Rasterize(out.data(), c.maxCount, kMapSize, kMapSize, c.from.x,
                                             c.from.y, c.to.x, c.to.y, false, false);
        ASSERT_EQ(count, static_cast<int>(c.cells.size())) << c.name;
        EXPECT_EQ(std::vector<ShapePoint>(out.begin(), out.begin() + count), c.cells) << c.name;
        EXPECT_EQ(out[c.maxCount], unused) << c.name;
    }
}

TEST(TileShapes, LargeFilledRectangleStopsAfterItsFirst250Rows) {
    constexpr int kMaxCount = 100000;
    std::vector<ShapePoint> out(kMaxCount + 1, At(-7, -7, -7));
    const int count = RectShape::Filled(3).Rasterize(out.data(), kMaxCount, kMapSize, kMapSize, 10,
                                                     20, 409, 419, false, false);
    ASSERT_EQ(count, kMaxCount);
    for (int i = 0; i < kMaxCount; ++i)
        ASSERT_EQ(out[i], At(10 + i % 400, 20 + i / 400, 3)) << i;
    EXPECT_EQ(out[kMaxCount], At(-7, -7, -7));
}

} // namespace
} // namespace krav
