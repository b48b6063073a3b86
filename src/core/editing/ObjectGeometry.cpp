#include "editing/ObjectGeometry.h"

namespace krav {

namespace {

Cell ValueAt(const ObjectCellPlace& place, int column, int row) {
    return place.object.base + static_cast<Cell>(row * place.object.side + column);
}

} // namespace

Rect ObjectFootprint(int x, int y, Cell v) {
    const std::optional<ObjectCellPlace> place = LocateInObject(v);
    if (!place)
        return {};
    const int left = x - place->column;
    const int top = y - place->row;
    return {left, top, left + place->object.side, top + place->object.side};
}

Cell MirrorH(Cell v) {
    const std::optional<ObjectCellPlace> place = LocateInObject(v);
    return place ? ValueAt(*place, place->object.side - 1 - place->column, place->row) : v;
}

Cell MirrorV(Cell v) {
    const std::optional<ObjectCellPlace> place = LocateInObject(v);
    return place ? ValueAt(*place, place->column, place->object.side - 1 - place->row) : v;
}

} // namespace krav
