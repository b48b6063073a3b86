#pragma once

#include <cstddef>
#include <cstdint>

namespace krav {

// Copies of cell pictures with 32-byte stores where the processor has them (AVX2). Painting a
// view is bound by its stores, and the build's baseline instruction set has only 16-byte ones:
// the wide stores halve their number. Each function here needs WideStoresAvailable().

// Whether the processor has the wide stores (asked once), unless tests turned them off.
bool WideStoresAvailable();
// For tests: draw with the 16-byte stores even where the wide ones exist (false), or again
// with whatever the processor has (true).
void AllowWideStores(bool allowed);

// A whole size x size picture (size 8, 16 or 32) to `to`, its rows stride pixels apart.
void CopyCellWide(std::uint32_t* to, std::ptrdiff_t stride, const std::uint32_t* picture, int size);

// Cells of 2 x 2 pixels, columns `column` up to `endColumn` (four at a time, as far as they
// go), each from pictures + 4 x its kind; line 0 to `to`, line 1 to to + stride. Returns the
// column it stopped at.
int CopyTwoByTwoCellsWide(const std::uint32_t* pictures, const std::uint8_t* kinds, int column,
                          int endColumn, std::uint32_t* to, std::ptrdiff_t stride);

} // namespace krav
