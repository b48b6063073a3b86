#include "editing/ObjectGeometry.h"

#include <optional>

namespace krav {

namespace {

// Where a cell lies in its object's footprint.
struct ObjectCell {
    Cell base = 0;
    int side = 0;
    int column = 0;
    int row = 0;
};

std::optional<ObjectCell> LocateInObject(Cell v) {
    const std::optional<Cell> base = ObjectBaseOf(v);
    if (!base) {
        return std::nullopt;
    }
    const int side = ObjectSide(*base);
    const int offset = static_cast<int>(v - *base);
    return ObjectCell{*base, side, offset % side, offset / side};
}

Cell ValueAt(const ObjectCell& cell, int column, int row) {
    return cell.base + static_cast<Cell>(row * cell.side + column);
}

} // namespace

Rect ObjectFootprint(int x, int y, Cell v) {
    const std::optional<ObjectCell> cell = LocateInObject(v);
    if (!cell) {
        return {};
    }
    const int left = x - cell->column;
    const int top = y - cell->row;
    return {left, top, left + cell->side, top + cell->side};
}

Cell MirrorH(Cell v) {
    const std::optional<ObjectCell> cell = LocateInObject(v);
    return cell ? ValueAt(*cell, cell->side - 1 - cell->column, cell->row) : v;
}

Cell MirrorV(Cell v) {
    const std::optional<ObjectCell> cell = LocateInObject(v);
    return cell ? ValueAt(*cell, cell->column, cell->side - 1 - cell->row) : v;
}

} // namespace krav
