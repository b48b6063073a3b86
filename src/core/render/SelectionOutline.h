#pragma once

#include "editing/Geometry.h"

#include <cstdint>

namespace krav {

// Draws the outline of a finished selection into a picture of the view: a white frame one
// pixel wide along the inside of `outline` (client pixels, right and bottom excluded) with a
// black dot on every third pixel, counted along each side from its corner, so that it shows on
// empty cells and on tiles alike. `pixels` holds the client pixels of `area` (row by row,
// `stride` apart); the frame is cut to it.
void DrawSelectionOutline(const Rect& outline, const Rect& area, std::uint32_t* pixels, int stride);

} // namespace krav
