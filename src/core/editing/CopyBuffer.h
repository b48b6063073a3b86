#pragma once

#include "document/TileCodes.h"
#include "editing/Geometry.h"

#include <memory>
#include <vector>

namespace krav {

// A block of cells, row-major. Shared: a pasted block keeps showing (and drops) the cells it
// was given even after the copy buffer has been replaced.
using CellBlock = std::shared_ptr<const std::vector<Cell>>;

// The block Copy and Cut fill and Paste reads; one for all views.
struct CopyBuffer {
    // (0, 0, cells across x 16, cells down x 16): the block's size at zoom 1:1.
    Rect m_rcCopyExtents;
    CellBlock m_hCopyCells;
    bool m_bHasCopy = false;
};

} // namespace krav
