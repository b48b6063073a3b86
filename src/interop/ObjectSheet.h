#pragma once

#include "document/TileCodes.h"

#include <QImage>
#include <array>

namespace krav {

// The special objects as one row of tiles for a Tiled tile set: one 96 x 96 tile per object
// kind, the picture in its top-left corner, the rest transparent.
inline constexpr int OBJECT_TILE_SIZE = 96;
inline constexpr std::array<Cell, 4> OBJECT_KINDS{OBJECT_6X6, OBJECT_5X5, OBJECT_2X2, OBJECT_1X1};

QImage ObjectSheet();

// Tile index of an object kind in the sheet, or -1.
int ObjectSheetIndex(Cell kind);

} // namespace krav
