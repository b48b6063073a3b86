// Random sequences of zooms and scrolls mixed with selecting, floating, dragging, pasting,
// dropping, stamping, Cut, Fill and the flips, each checked against a model of the map: after
// every step the outline shows the model's selection, and every operation changes exactly
// the cells the model says. Fixed seeds, so a failure names the seed and step that show it.
#include "editing/MapViewEngine.h"
#include "support/SelectToolFixture.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace krav {
namespace {

constexpr int STEPS = 800;
constexpr Rect PAINTED{0, 0, 200, 150}; // random tiles at the start; the rest is empty

class ZoomProperty : public test::SelectToolFixture {
protected:
    void Start(unsigned seed) {
        rng.seed(seed);
        for (int y = PAINTED.top; y < PAINTED.bottom; ++y)
            for (int x = PAINTED.left; x < PAINTED.right; ++x)
                if (Chance(60)) // cells of unknown codes must move and copy as tiles do
                    Put(x, y, KeptCell(Chance(2) ? 241 : 242));
                else if (Chance(3))
                    Put(x, y, RandomTile());
        model = Map();
        engine.SetVisibleArea(10, 10, 50, 40);
    }

    int Random(int least, int most) { return std::uniform_int_distribution(least, most)(rng); }
    bool Chance(int oneIn) { return Random(1, oneIn) == 1; }
    // Any tile but the flag, whose limit is not what this test is about.
    Cell RandomTile() {
        const int tile = Random(0, TILE_COUNT - 2);
        return static_cast<Cell>(tile >= 169 ? tile + 1 : tile);
    }
    // A whole visible cell, and the middle of its square.
    Point VisibleCell() {
        const ViewGeometry& view = engine.Geometry();
        return {Random(view.LeftCol(), std::min(view.RightCol(), MAP_SIZE) - 1),
                Random(view.TopRow(), std::min(view.BottomRow(), MAP_SIZE) - 1)};
    }
    Point ClientOf(Point cell) const { return At(cell.x, cell.y); }
    // A visible cell of a rectangle of cells, if it shows at all.
    std::optional<Point> VisibleCellOf(const Rect& cells) {
        const Rect shown = cells.Intersected(engine.Geometry().VisibleCells());
        if (shown.IsEmpty())
            return std::nullopt;
        return Point{Random(shown.left, shown.right - 1), Random(shown.top, shown.bottom - 1)};
    }

    std::vector<Cell> CellsOf(const Rect& r) const {
        std::vector<Cell> cells;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                cells.push_back(model[y * MAP_SIZE + x]);
        return cells;
    }
    void Write(const Rect& r, const std::vector<Cell>& cells) {
        auto next = cells.begin();
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                model[y * MAP_SIZE + x] = *next++;
    }
    void WriteAll(const Rect& r, Cell value) {
        Write(r, std::vector<Cell>(static_cast<std::size_t>(r.Width() * r.Height()), value));
    }

    // --- the steps ----------------------------------------------------------------------

    void Zoom() {
        const Point at{Random(0, 639), Random(0, 479)};
        switch (Random(0, 3)) {
        case 0:
        case 1: // the wheel, a notch or a part of one either way
            engine.OnMouseWheel({.delta = {0, Random(-2, 2) * 60}, .client = at, .control = true});
            break;
        case 2: // the Magnify tool's zoom
            engine.ZoomAt(at.x, at.y, Chance(2));
            break;
        default: // scrolling by the wheel or the keys
            if (Chance(2))
                engine.OnMouseWheel(
                    {.delta = {0, Random(-3, 3) * 40}, .client = at, .shift = Chance(2)});
            else
                engine.OnKeyDown(Chance(2) ? ViewKey::PageDown : ViewKey::Home, Chance(2),
                                 Chance(2));
            break;
        }
    }

    void DragSelection() {
        const Point from = VisibleCell();
        if (floating || (selection && selection->Contains(from)))
            return;
        const Point to = VisibleCell();
        engine.OnLButtonDown(MK_LBUTTON, ClientOf(from));
        engine.OnMouseMove(MK_LBUTTON, ClientOf(to));
        engine.OnLButtonUp(0, ClientOf(to));
        const Rect band = Rect{from.x, from.y, to.x, to.y}.Normalized();
        selection = band.IsEmpty() ? std::nullopt : std::optional(band);
    }

    void Float() {
        if (!selection || floating)
            return;
        engine.Selection().FloatSelection();
        floatCells = CellsOf(*selection);
        floating = true;
    }

    // A press inside the selection lifts it, inside a floating block takes hold of it; the
    // block follows in whole cells once the pointer is more than a cell away.
    void DragBlock() {
        if (!selection)
            return;
        const std::optional<Point> from = VisibleCellOf(*selection);
        if (!from)
            return;
        const Point to = VisibleCell();
        engine.OnLButtonDown(MK_LBUTTON, ClientOf(*from));
        if (!floating) {
            floatCells = CellsOf(*selection);
            WriteAll(*selection, EMPTY_CELL);
            floating = true;
        }
        engine.OnMouseMove(MK_LBUTTON, ClientOf(to));
        engine.OnLButtonUp(0, ClientOf(to));
        const auto step = [](int cells) { return std::abs(cells) >= 2 ? cells : 0; };
        selection = ShiftIntoMap(selection->Offset(step(to.x - from->x), step(to.y - from->y)));
    }

    void Drop() {
        if (!floating)
            return;
        const Point outside = VisibleCell();
        if (Chance(2) && !selection->Contains(outside)) {
            engine.OnLButtonDown(MK_LBUTTON, ClientOf(outside));
            engine.OnLButtonUp(0, ClientOf(outside));
        } else {
            engine.Selection().DropSelection();
        }
        Write(*selection, floatCells);
        floating = false;
    }

    void Paste() {
        if (!copied)
            return;
        engine.Selection().PasteBlock(buffer);
        const ViewGeometry& view = engine.Geometry();
        selection = ShiftIntoMap(
            Rect{0, 0, copiedSize.x, copiedSize.y}.Offset(view.LeftCol(), view.TopRow()));
        floatCells = *copied;
        floating = true; // a block floating before is thrown away, lifted cells stay lifted
    }

    void CutOrCopy() {
        if (!selection || floating)
            return;
        const bool cut = Chance(2);
        engine.Selection().CopySelection(buffer, cut);
        copied = CellsOf(*selection);
        copiedSize = {selection->Width(), selection->Height()};
        if (cut)
            WriteAll(*selection, EMPTY_CELL);
    }

    void Fill() {
        if (!selection || floating)
            return;
        const Cell tile = RandomTile();
        engine.SetForeBack(static_cast<int>(tile), true);
        engine.Selection().FillSelection();
        WriteAll(*selection, tile);
    }

    void Flip() {
        if (!selection || floating)
            return;
        const bool horizontal = Chance(2);
        horizontal ? engine.Selection().FlipHorizontal() : engine.Selection().FlipVertical();
        const Rect r = *selection;
        std::vector<Cell> cells = CellsOf(r);
        std::vector<Cell> mirrored(cells.size());
        for (int y = 0; y < r.Height(); ++y)
            for (int x = 0; x < r.Width(); ++x)
                mirrored[y * r.Width() + x] = horizontal
                                                  ? cells[y * r.Width() + (r.Width() - 1 - x)]
                                                  : cells[(r.Height() - 1 - y) * r.Width() + x];
        Write(r, mirrored);
    }

    // The Rubber Stamp, chosen (the selection goes, a floating block is thrown away), the
    // pointer on a cell, maybe a zoom there, and a press: the object lands around the cell
    // under the pointer at the zoom of the press. Undone again, so no object is left in the
    // map for later selections to grow to; the check after the step sees that nothing else
    // changed.
    void StampAndUndo() {
        static constexpr Cell bases[] = {OBJECT_6X6, OBJECT_5X5, OBJECT_2X2, OBJECT_1X1};
        const Cell base = bases[Random(0, 3)];
        host.stampObject = base;
        host.tool = ID_TOOL_STAMP;
        engine.ChangeTool(ID_TOOL_SELECT, ID_TOOL_STAMP);
        selection.reset();
        floating = false;
        const Point pointer = ClientOf(VisibleCell());
        engine.OnMouseMove(0, pointer);
        if (Chance(2))
            engine.OnMouseWheel({.delta = {0, Chance(2) ? WHEEL_NOTCH : -WHEEL_NOTCH},
                                 .client = pointer,
                                 .control = true});
        engine.OnLButtonDown(MK_LBUTTON, pointer);
        engine.OnLButtonUp(0, pointer);

        const Point cell = engine.Geometry().CellAt(pointer);
        const int side = ObjectSide(base);
        const int before = base == OBJECT_5X5 ? 2 : side / 2;
        const Rect footprint = ShiftIntoMap(
            Rect{cell.x - before, cell.y - before, cell.x - before + side, cell.y - before + side});
        Cell value = base;
        bool landed = true;
        for (int y = footprint.top; y < footprint.bottom; ++y)
            for (int x = footprint.left; x < footprint.right; ++x)
                landed = landed && doc.GetCell(y, x) == value++;
        EXPECT_TRUE(landed) << "the stamp did not land around the pointer";

        engine.UndoRedo(ApplyMode::Undo);
        engine.ChangeTool(ID_TOOL_STAMP, ID_TOOL_SELECT);
        host.tool = ID_TOOL_SELECT;
    }

    // --- the check ----------------------------------------------------------------------

    // The cells the view outlines: it paints from the selection's map pixels at its zoom.
    Rect OutlinedCells() const {
        const ViewGeometry& view = engine.Geometry();
        const Rect client = view.MapToClient(engine.Selection().SelectionRect());
        return {client.left / view.CellWidth() + view.LeftCol(),
                client.top / view.CellHeight() + view.TopRow(),
                client.right / view.CellWidth() + view.LeftCol(),
                client.bottom / view.CellHeight() + view.TopRow()};
    }

    bool Agrees(std::string& why) const {
        const SelectionTool& tool = engine.Selection();
        if (!std::equal(model.begin(), model.end(), doc.GetCells()))
            return why = "the map differs from the model", false;
        if (floating != tool.IsFloating())
            return why = "floating is " + std::to_string(tool.IsFloating()), false;
        const bool outlined = tool.HasFinishedSelection() && !tool.IsFloating();
        if (!floating && outlined != selection.has_value())
            return why = "a selection is " + std::string(outlined ? "" : "not ") + "shown", false;
        if (selection && OutlinedCells() != *selection)
            return why = "the outline is not on the selected cells", false;
        if (floating && (!tool.FloatingCells() || *tool.FloatingCells() != floatCells))
            return why = "the floating block holds other cells", false;
        return true;
    }

    std::mt19937 rng;
    std::vector<Cell> model;
    std::optional<Rect> selection; // also the floating block's place
    bool floating = false;
    std::vector<Cell> floatCells;
    CopyBuffer buffer;
    std::optional<std::vector<Cell>> copied;
    Point copiedSize;
};

TEST_F(ZoomProperty, WhatTheOutlineShowsIsWhatTheNextOperationTakes) {
    for (const unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        engine.ChangeTool(ID_TOOL_SELECT, ID_TOOL_PENCIL); // nothing held from the last seed
        doc.ClearMap(true);
        engine.OnInitialUpdate(640, 480);
        selection.reset();
        floating = false;
        copied.reset();
        Start(seed);
        for (int step = 0; step < STEPS; ++step) {
            const int what = Random(0, 18);
            if (what < 6)
                Zoom();
            else if (what < 9)
                DragSelection();
            else if (what < 10)
                Float();
            else if (what < 12)
                DragBlock();
            else if (what < 13)
                Drop();
            else if (what < 14)
                Paste();
            else if (what < 16)
                CutOrCopy();
            else if (what < 17)
                Fill();
            else if (what < 18)
                Flip();
            else
                StampAndUndo();
            host.invalidated.clear();
            host.radarBlocks.clear();
            host.events.clear();
            std::string why;
            ASSERT_TRUE(Agrees(why)) << "step " << step << " (" << what << "): " << why;
        }
    }
}

} // namespace
} // namespace krav
