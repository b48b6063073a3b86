#include "document/KeptCells.h"

#include "document/Messages.h"

namespace krav {

KeptCellCount CountKeptCells(const Cell* cells) {
    KeptCellCount count;
    for (int i = 0; i < MAP_CELLS; ++i) {
        if (IsKeptCell(cells[i])) {
            ++count.cells;
            count.codes.set(static_cast<std::size_t>(KeptCode(cells[i])));
        }
    }
    return count;
}

std::string CodeList(const std::bitset<CODE_COUNT>& codes) {
    std::string list = codes.count() == 1 ? "code " : "codes ";
    bool first = true;
    for (std::size_t code = 0; code < codes.size(); ++code) {
        if (!codes.test(code))
            continue;
        list += (first ? "" : ", ") + std::to_string(code);
        first = false;
    }
    return list;
}

std::string KeptCellText(Cell v) {
    if (!IsKeptCell(v))
        return {};
    return "code " + std::to_string(KeptCode(v)) + ", no tile and no object (kept as read)";
}

std::string UnknownRecordsMessage(const std::string& path, const UnknownRecords& records) {
    const bool one = records.count == 1;
    return std::string(messages::TILE_ID_OUT_OF_RANGE) + "\n\n" + path + ": " +
           std::to_string(records.count) + (one ? " record has " : " records have ") +
           "a code that is no tile and no object (" + CodeList(records.codes) + "). " +
           (one ? "It" : "The first") + " is at byte " + std::to_string(records.firstOffset) +
           ": cell (" + std::to_string(records.firstX) + ", " + std::to_string(records.firstY) +
           "), code " + std::to_string(records.firstCode) + ".";
}

} // namespace krav
