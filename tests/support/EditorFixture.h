#pragma once

// A map view of a new level, 40 x 30 cells at 1:1, for the tool tests: its engine driven as
// the window drives it, and ways to put cells straight into its map that keep the live flag
// count right.
#include "editing/MapViewEngine.h"
#include "support/RecordingHost.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace krav::test {

struct EditorView {
    EditorView() {
        EXPECT_TRUE(doc.OnNewDocument(host.prompt));
        engine.OnInitialUpdate(640, 480);
    }
    EditorView(const EditorView&) = delete;
    EditorView& operator=(const EditorView&) = delete;

    // The middle of a map cell's square in the client area.
    Point At(int column, int row) const {
        const ViewGeometry& view = engine.Geometry();
        return {(column - view.LeftCol()) * view.CellWidth() + view.CellWidth() / 2,
                (row - view.TopRow()) * view.CellHeight() + view.CellHeight() / 2};
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
    // A whole special object with its anchor at (left, top).
    void PutObject(Cell base, int left, int top) {
        const int side = ObjectSide(base);
        for (int offset = 0; offset < side * side; ++offset)
            Put(left + offset % side, top + offset / side, base + static_cast<Cell>(offset));
    }

    int FlagCells() const {
        return static_cast<int>(std::count(doc.GetCells(), doc.GetCells() + MAP_CELLS, FLAG_CELL));
    }
    std::vector<Cell> Map() const { return {doc.GetCells(), doc.GetCells() + MAP_CELLS}; }

    RecordingHost host;
    CKRAVDoc doc;
    MapViewEngine engine{doc, host};
};

} // namespace krav::test
