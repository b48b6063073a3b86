#pragma once

// A view of a new level with the Select tool current, and ways to put cells on its map that
// keep the live flag count right. Every test ends by checking that count against the map.
#include "editing/MapViewEngine.h"
#include "support/RecordingHost.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace krav::test {

class SelectToolFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnNewDocument(host.prompt));
        host.tool = ID_TOOL_SELECT;
        engine.OnInitialUpdate(640, 480);
    }
    void TearDown() override {
        EXPECT_EQ(engine.FlagCount(),
                  std::count(doc.GetCells(), doc.GetCells() + MAP_CELLS, FLAG_CELL));
    }

    void Put(int x, int y, Cell value) {
        engine.Flags() += (value == FLAG_CELL) - (doc.GetCell(y, x) == FLAG_CELL);
        doc.SetCell(y, x, value);
    }
    void FillCells(const Rect& cells, Cell value) {
        for (int y = cells.top; y < cells.bottom; ++y)
            for (int x = cells.left; x < cells.right; ++x)
                Put(x, y, value);
    }
    void PutObject(Cell base, int x, int y) {
        const int side = ObjectSide(base);
        for (int offset = 0; offset < side * side; ++offset)
            Put(x + offset % side, y + offset / side, base + static_cast<Cell>(offset));
    }

    RecordingHost host;
    CKRAVDoc doc;
    MapViewEngine engine{doc, host};
};

} // namespace krav::test
