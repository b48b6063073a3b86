#pragma once

#include "document/TileCodes.h"
#include "editing/Geometry.h"

#include <string>

namespace krav {

// The map an editing operation writes, and whom it tells: the engine of a map view
// implements it over its document, radar picture and host; tests implement it over a plain
// array.
class MapTarget {
public:
    virtual ~MapTarget() = default;

    // The 1024 x 1024 cells, row-major.
    virtual Cell* Cells() = 0;
    // The view's live count of flag cells.
    virtual int& Flags() = 0;
    // One cell was written: its radar pixel follows it at once.
    virtual void CellChanged(int x, int y) = 0;
    // A block of cells (right and bottom excluded) was written: its radar pixels follow it,
    // repaint it in the view and repaint the radar window.
    virtual void BlockChanged(const Rect& cells) = 0;
    // Marks the document modified.
    virtual void SetModified() = 0;
    virtual void ShowMessage(const std::string& text) = 0;
};

} // namespace krav
