#pragma once

#include "editing/Geometry.h"

#include <cstdint>

namespace krav {

// Draws the outline of a finished selection into a picture of the view: a frame one pixel
// wide along the inside of `outline` (client pixels, right and bottom excluded) of black and
// white dashes two pixels long, counted along each side from its corner, so that it shows on
// empty cells, the grid and tiles of any colour alike. `pixels` holds the client pixels of
// `area` (row by row, `stride` apart); the frame is cut to it, nothing else is touched.
// thickness > 1 adds frames inside it, for the larger cells.
void DrawSelectionOutline(const Rect& outline, const Rect& area, std::uint32_t* pixels, int stride,
                          int thickness = 1);

} // namespace krav
