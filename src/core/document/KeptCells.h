#pragma once

#include "document/LevelReader.h"
#include "document/TileCodes.h"

#include <bitset>
#include <string>

namespace krav {

// The kept cells of a map (see KeptCell) and the codes they hold.
struct KeptCellCount {
    int cells = 0;
    std::bitset<CODE_COUNT> codes;
};

KeptCellCount CountKeptCells(const Cell* cells);

// "code 241" or "codes 241, 242", ascending.
std::string CodeList(const std::bitset<CODE_COUNT>& codes);

// What the tooltip and Tile Info say of a kept cell: "code 241, no tile and no object (kept
// as read)"; empty for any other cell.
std::string KeptCellText(Cell v);

// The reader's words for a level whose unknown records were not kept, then where they are:
// the file, how many, and the first one's byte offset, cell and code.
std::string UnknownRecordsMessage(const std::string& path, const UnknownRecords& records);

} // namespace krav
