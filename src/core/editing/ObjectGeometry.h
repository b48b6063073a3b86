#pragma once

#include "document/TileCodes.h"
#include "editing/Geometry.h"

namespace krav {

// The cells (right and bottom excluded) of the special object that cell (x, y) holding v
// belongs to, found from the cell's offset in its footprint; empty for any other value.
Rect ObjectFootprint(int x, int y, Cell v);

// The value of the cell at the mirrored column (MirrorH) or row (MirrorV) of the same
// object, so that a flipped object stays upright. Tiles, empty cells and the 1 x 1 object
// are their own mirror.
Cell MirrorH(Cell v);
Cell MirrorV(Cell v);

} // namespace krav
