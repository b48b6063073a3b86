#pragma once

#include "editing/Geometry.h"
#include "editing/RadarPicture.h"
#include "editing/ViewGeometry.h"

#include <cstdint>

namespace krav {

// Draws the low zooms' cells without their pictures: one pixel of the radar picture per cell,
// scaled up to the cell size, black for every cell when there is no radar picture. cells are
// the view's columns and rows to draw (end excluded); out holds the clip's pixels, rows stride
// pixels apart, out[0] at (clip.left, clip.top).
void DrawRadarCells(const RadarPicture* radar, const ViewGeometry& view, const Rect& cells,
                    const Rect& clip, std::uint32_t* out, int stride);

} // namespace krav
