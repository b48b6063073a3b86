#pragma once

#include "document/TileCodes.h"

namespace krav {

// The live flag count follows every cell written: the overwritten cell is looked at first,
// so writing a flag over a flag always succeeds.

// A cell is about to be overwritten or emptied.
inline void ReleaseFlag(int& flags, Cell old) {
    if (old == FLAG_CELL)
        --flags;
}

// value is about to be written; false (and nothing counted) when it is a flag and the map
// already holds MAX_FLAGS of them.
inline bool AcquireFlag(int& flags, Cell value) {
    if (value != FLAG_CELL)
        return true;
    if (flags >= MAX_FLAGS)
        return false;
    ++flags;
    return true;
}

// Whether a cell holds part of a special object (and so must be removed whole).
inline bool IsObjectCell(Cell v) {
    return v >= OBJECT_6X6 && v <= OBJECT_1X1; // kept cells lie above, and stand alone
}

} // namespace krav
