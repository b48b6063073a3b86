#pragma once

#include <cstdint>

namespace krav {

// The picture of a kept cell (a code of no tile or object), 16 x 16 pixels: magenta crossed
// in white inside a black frame, like no tile, so that such cells stand out at every zoom;
// shrunk to a pixel it is a light magenta.
inline constexpr int KEPT_PICTURE_SIZE = 16;

// Pixel (x, y) of it as 0xFFRRGGBB.
std::uint32_t KeptCellPixel(int x, int y);

} // namespace krav
