#pragma once

// A view of a new level with the Select tool current. Every test ends by checking the live
// flag count against the map.
#include "support/EditorFixture.h"

#include <gtest/gtest.h>

namespace krav::test {

class SelectToolFixture : public ::testing::Test, public EditorView {
protected:
    void SetUp() override { host.tool = ID_TOOL_SELECT; }
    void TearDown() override { EXPECT_EQ(engine.FlagCount(), FlagCells()); }

    // Numbered tiles, so that every cell of a block can be told apart.
    void PutPattern(const Rect& cells) {
        Cell value = 1;
        for (int y = cells.top; y < cells.bottom; ++y)
            for (int x = cells.left; x < cells.right; ++x)
                Put(x, y, value++);
    }
};

} // namespace krav::test
