#include "document/StrictFindings.h"

#include "document/KeptCells.h"

#include <optional>

namespace krav {

namespace {

std::string Place(int at) {
    return "column " + std::to_string(at % MAP_SIZE) + ", row " + std::to_string(at / MAP_SIZE);
}

// The first anchor, row by row, whose footprint holds anything but its own cells (a tile, or
// another object's anchor, which reading leaves there), and the first whose footprint reaches
// past the map's edge.
struct FootprintFaults {
    std::optional<int> covered;
    std::optional<int> pastEdge;
};

FootprintFaults FindFootprintFaults(const Cell* cells) {
    FootprintFaults faults;
    for (int at = 0; at < MAP_CELLS && !(faults.covered && faults.pastEdge); ++at) {
        const int side = ObjectSide(cells[at]);
        if (side < 2)
            continue;
        const int x = at % MAP_SIZE, y = at / MAP_SIZE;
        if ((x + side > MAP_SIZE || y + side > MAP_SIZE) && !faults.pastEdge)
            faults.pastEdge = at;
        for (int r = 0; r < side && y + r < MAP_SIZE && !faults.covered; ++r)
            for (int c = 0; c < side && x + c < MAP_SIZE; ++c)
                if (cells[at + r * MAP_SIZE + c] != cells[at] + static_cast<Cell>(r * side + c))
                    faults.covered = at;
    }
    return faults;
}

} // namespace

std::vector<std::string> StrictFindings(const CKRAVDoc& doc) {
    std::vector<std::string> findings;
    const FootprintFaults faults = FindFootprintFaults(doc.GetCells());
    if (doc.ObjectsSettledOnRead() || faults.covered) {
        std::string text = "special objects overlapped each other or tiles and were settled on "
                           "reading";
        if (faults.covered)
            text += " (the object at " + Place(*faults.covered) + ")";
        findings.push_back(text);
    }
    if (faults.pastEdge)
        findings.push_back("the object at " + Place(*faults.pastEdge) +
                           " reaches past the map's edge");
    if (const KeptCellCount kept = CountKeptCells(doc.GetCells()); kept.cells > 0)
        findings.push_back(std::to_string(kept.cells) + " cells of unknown codes kept (" +
                           CodeList(kept.codes) + ")");
    if (!doc.IsDefaultTileSet() && !doc.GetTileSet()->trailingBytes.empty())
        findings.push_back(std::to_string(doc.GetTileSet()->trailingBytes.size()) +
                           " bytes kept verbatim after the tile set's pixels");
    return findings;
}

} // namespace krav
