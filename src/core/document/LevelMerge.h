#pragma once

#include "document/TileCodes.h"

#include <cstdint>
#include <vector>

namespace krav {

// A three-way merge of maps (MAP_CELLS cells each): base, the common ancestor, and two sides,
// ours and theirs, each changed from it.
//
// Cells merge one by one, except that the cells of a special object merge as one: every cell
// a footprint of any of the three maps covers (holes included) belongs, with the rest of that
// footprint, to one unit, and overlapping footprints join their units. A unit changed on one
// side only takes that side's cells; changed alike on both, those; changed differently, it is
// a conflict and keeps ours. So an object is never cut, and an object added on one side over
// cells the other side changed is a conflict.
struct CellMerge {
    std::vector<Cell> cells; // the merged map
    // Cells of conflicting units where ours and theirs save different values (the cells to
    // look at): the merged map holds ours there.
    std::vector<bool> conflicts;
    int conflictCells = 0;
    int baseFlags = 0;
    int oursFlags = 0;
    int theirsFlags = 0;
    // With all of theirs' changes the map would hold this many flags, more than MAX_FLAGS and
    // more than either side holds: the units where theirs adds a flag keep ours instead and are
    // conflicts. 0 when that did not happen.
    int flagsPastLimit = 0;

    bool Conflicted() const { return conflictCells > 0 || flagsPastLimit > 0; }
};

CellMerge MergeCells(const Cell* base, const Cell* ours, const Cell* theirs);

} // namespace krav
