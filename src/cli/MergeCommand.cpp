// krav-lvl merge BASE OURS THEIRS OUT: a three-way merge of levels, as git's merge driver.
#include "Commands.h"
#include "LevelFiles.h"
#include "LevelText.h"
#include "OutputFiles.h"
#include "document/LevelMerge.h"
#include "document/LevelWriter.h"

#include <iostream>

namespace krav::cli {

namespace {

// merge exits as git expects of a merge driver: 0 merged, 1 conflicts, 2 trouble.
constexpr int MERGE_CLEAN = 0;
constexpr int MERGE_CONFLICTS = 1;
constexpr int MERGE_TROUBLE = 2;

// The tile set's BMP as the level embeds it; nothing for the built-in one.
std::vector<std::uint8_t> TileSetBytes(const CKRAVDoc& doc) {
    return doc.IsDefaultTileSet() ? std::vector<std::uint8_t>{}
                                  : WriteTileSetBmp(*doc.GetTileSet());
}

} // namespace

int RunMerge(const Arguments& args) {
    const std::string &basePath = args[0], &oursPath = args[1], &theirsPath = args[2],
                      &out = args[3];
    // OUT may be OURS, as git's %A is: everything is read before it is written.
    if (!OutputsSpareInputs({basePath, theirsPath}, {out}))
        return MERGE_TROUBLE;
    CKRAVDoc base, ours, theirs;
    for (const auto& [doc, path] : {std::pair<CKRAVDoc*, const std::string*>{&base, &basePath},
                                    {&ours, &oursPath},
                                    {&theirs, &theirsPath}}) {
        std::vector<std::string> warnings;
        if (!ReadLevelFile(*doc, *path, warnings))
            return MERGE_TROUBLE;
        PrintWarnings(*path, warnings);
    }

    const CellMerge merge = MergeCells(base.GetCells(), ours.GetCells(), theirs.GetCells());
    // The tile set: one side's change is taken, different changes keep ours.
    const std::vector<std::uint8_t> baseSet = TileSetBytes(base), oursSet = TileSetBytes(ours),
                                    theirsSet = TileSetBytes(theirs);
    const bool theirTileSet = oursSet == baseSet && theirsSet != baseSet;
    const bool tileSetConflict = oursSet != baseSet && theirsSet != baseSet && oursSet != theirsSet;
    const CKRAVDoc& tileSetFrom = theirTileSet ? theirs : ours;

    if (tileSetConflict)
        std::cerr << "tileset: " << TileSetName(base) << " -> " << TileSetName(ours) << " | "
                  << TileSetName(theirs) << '\n';
    if (merge.flagsPastLimit > 0)
        std::cerr << "flags: " << merge.baseFlags << " -> " << merge.oursFlags << " | "
                  << merge.theirsFlags << ": merged " << merge.flagsPastLimit << ", more than "
                  << MAX_FLAGS << "; the cells where theirs adds flags keep ours\n";
    if (merge.conflictCells > 0)
        ListConflicts(base, ours, theirs, merge.conflicts, std::cerr);

    const std::vector<std::uint8_t> bytes = WriteLevel(
        merge.cells.data(), tileSetFrom.IsDefaultTileSet() ? nullptr : tileSetFrom.GetTileSet());
    if (!WriteOutput(out, bytes))
        return MERGE_TROUBLE;
    return merge.Conflicted() || tileSetConflict ? MERGE_CONFLICTS : MERGE_CLEAN;
}

} // namespace krav::cli
