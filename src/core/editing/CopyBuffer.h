#pragma once

#include "document/TileCodes.h"
#include "editing/Geometry.h"

#include <memory>
#include <utility>
#include <vector>

namespace krav {

// A block of cells, row-major. Shared: a pasted block keeps showing (and drops) the cells it
// was given even after the copy buffer has been replaced.
using CellBlock = std::shared_ptr<const std::vector<Cell>>;

// The block Copy and Cut fill and Paste reads; one for all views.
class CopyBuffer {
public:
    bool HasCopy() const { return m_hCopyCells != nullptr; }
    const CellBlock& Cells() const { return m_hCopyCells; }
    // (0, 0, cells across x 16, cells down x 16): the block's size at zoom 1:1, so that any
    // view pastes it at its own zoom.
    const Rect& Extents() const { return m_rcCopyExtents; }

    void Set(const Rect& extents, CellBlock cells) {
        m_rcCopyExtents = extents;
        m_hCopyCells = std::move(cells);
    }
    // A pasted block still floating keeps its own share of the cells.
    void Clear() { m_hCopyCells.reset(); }

private:
    Rect m_rcCopyExtents;
    CellBlock m_hCopyCells;
};

} // namespace krav
