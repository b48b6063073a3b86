// Geometry of the special objects: footprints found from any of their cells, and the mirror
// tables that keep objects upright when a block is flipped.
#include "editing/ObjectGeometry.h"

#include <gtest/gtest.h>
#include <vector>

namespace krav {
namespace {

// Every value a cell of a special object can hold.
std::vector<Cell> AllObjectValues() {
    std::vector<Cell> values;
    for (const Cell base : {OBJECT_6X6, OBJECT_5X5, OBJECT_2X2, OBJECT_1X1}) {
        const int side = ObjectSide(base);
        for (int offset = 0; offset < side * side; ++offset) {
            values.push_back(base + static_cast<Cell>(offset));
        }
    }
    return values;
}

TEST(ObjectMirror, MapsToTheMirroredCellOfTheSameObject) {
    struct Case {
        Cell value, mirroredH, mirroredV;
    };
    const Case cases[] = {
        {500, 505, 530}, {506, 511, 524}, {535, 530, 505}, {514, 515, 520}, {600, 604, 620},
        {612, 612, 612}, {624, 620, 604}, {700, 701, 702}, {702, 703, 700}, {703, 702, 701},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MirrorH(c.value), c.mirroredH) << c.value;
        EXPECT_EQ(MirrorV(c.value), c.mirroredV) << c.value;
    }
}

TEST(ObjectMirror, LeavesEverythingButMultiCellObjectsAlone) {
    for (const Cell v : {Cell{0}, FLAG_CELL, Cell{189}, Cell{499}, Cell{536}, Cell{625}, Cell{704},
                         OBJECT_1X1, Cell{801}, EMPTY_CELL}) {
        EXPECT_EQ(MirrorH(v), v) << v;
        EXPECT_EQ(MirrorV(v), v) << v;
    }
}

TEST(ObjectMirror, MirroringTwiceIsTheIdentity) {
    for (const Cell v : AllObjectValues()) {
        EXPECT_EQ(MirrorH(MirrorH(v)), v) << v;
        EXPECT_EQ(MirrorV(MirrorV(v)), v) << v;
        EXPECT_EQ(ObjectBaseOf(MirrorH(v)), ObjectBaseOf(v)) << v;
        EXPECT_EQ(ObjectBaseOf(MirrorV(v)), ObjectBaseOf(v)) << v;
    }
}

TEST(ObjectFootprint, FoundFromAnyCellOfTheObject) {
    struct Case {
        int x, y;
        Cell value;
        Rect footprint;
    };
    const Case cases[] = {
        {10, 20, 500, {10, 20, 16, 26}},
        {11, 20, 501, {10, 20, 16, 26}},
        {10, 21, 506, {10, 20, 16, 26}},
        {15, 25, 535, {10, 20, 16, 26}},
        {12, 12, 624, {8, 8, 13, 13}},
        {10, 10, 612, {8, 8, 13, 13}},
        {1023, 1023, 703, {1022, 1022, 1024, 1024}},
        {4, 0, 701, {3, 0, 5, 2}},
        {7, 9, 800, {7, 9, 8, 10}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ObjectFootprint(c.x, c.y, c.value), c.footprint)
            << c.value << " at " << c.x << "," << c.y;
    }
}

TEST(ObjectFootprint, EveryCellOfAPlacedObjectGivesItsFootprint) {
    constexpr int ANCHOR_X = 100, ANCHOR_Y = 200;
    for (const Cell v : AllObjectValues()) {
        const Cell base = *ObjectBaseOf(v);
        const int side = ObjectSide(base);
        const int offset = static_cast<int>(v - base);
        const Rect expected{ANCHOR_X, ANCHOR_Y, ANCHOR_X + side, ANCHOR_Y + side};
        EXPECT_EQ(ObjectFootprint(ANCHOR_X + offset % side, ANCHOR_Y + offset / side, v), expected)
            << v;
    }
}

TEST(ObjectFootprint, EmptyForCellsOfNoObject) {
    for (const Cell v :
         {Cell{0}, FLAG_CELL, Cell{189}, Cell{536}, Cell{625}, Cell{704}, Cell{801}, EMPTY_CELL}) {
        EXPECT_TRUE(ObjectFootprint(40, 50, v).IsEmpty()) << v;
    }
}

} // namespace
} // namespace krav
