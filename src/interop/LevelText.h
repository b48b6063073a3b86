#pragma once

#include "document/CKRAVDoc.h"

#include <ostream>
#include <string>
#include <vector>

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

// The cells of a merge's conflicts (true in conflicts) as "COL,ROW: BASE -> OURS | THEIRS",
// with each value as dump shows it; rectangles of equal lines as diff gives them.
void ListConflicts(const CKRAVDoc& base, const CKRAVDoc& ours, const CKRAVDoc& theirs,
                   const std::vector<bool>& conflicts, std::ostream& out);

// What dump's "tileset:" line says: "built-in", or "embedded sha256 HEX".
std::string TileSetName(const CKRAVDoc& doc);

// The SHA-256, in lower-case hex, of the tile set's BMP as a level embeds it.
std::string TileSetSha256(const TileSetBitmap& tileSet);

// What dump shows for a cell: "empty" (also for an object's cell other than its anchor), a
// tile's file code, an object's kind at its anchor, or "?CODE" for a kept cell.
std::string CellText(Cell v);

} // namespace krav
