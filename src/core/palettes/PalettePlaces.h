#pragma once

#include "editing/Geometry.h"

#include <vector>

namespace krav {

// Where a palette window goes on the screen. Rectangles are window frames in screen pixels
// (right and bottom exclusive); `area` is the part of the screen windows may use.

// The first candidate top-left corner at which a frame of the given size lies wholly inside
// the area and overlaps none of the others; the first candidate when none does.
Point FirstClearSpot(const std::vector<Point>& candidates, int width, int height,
                     const std::vector<Rect>& others, const Rect& area);

} // namespace krav
