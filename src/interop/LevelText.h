#pragma once

#include "document/CKRAVDoc.h"

#include <ostream>

namespace krav {

// A level's text form for version control: a header (its tile set, with the SHA-256 of the
// BMP it embeds, and counts), then one line per row that has content, as runs of equal
// values "COL:VALUE xN" (a value is the file code of a tile, 1..190, or the kind of an
// object's anchor, 500..800, or "?CODE" for a cell kept with a code of neither, after an
// "unknown:" line in the header). Only what the level file holds is shown, so two levels with the
// same text are the same file.
void DumpLevel(const CKRAVDoc& doc, std::ostream& out);

// The changes from a to b: the tile set when it differs, then rectangles of cells whose old
// and new values are each the same, "LEFT,TOP..RIGHT,BOTTOM: OLD -> NEW" (a single cell as
// "COL,ROW: ..."), row by row. Returns whether there was any.
bool DiffLevels(const CKRAVDoc& a, const CKRAVDoc& b, std::ostream& out);

} // namespace krav
