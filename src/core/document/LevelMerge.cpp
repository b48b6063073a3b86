#include "document/LevelMerge.h"

#include <algorithm>
#include <numeric>

namespace krav {

namespace {

// Cells that merge as one: a union-find over the cells of the map.
class Units {
public:
    Units() : m_parent(MAP_CELLS) { std::iota(m_parent.begin(), m_parent.end(), 0); }

    int Find(int at) {
        while (m_parent[at] != at) {
            m_parent[at] = m_parent[m_parent[at]];
            at = m_parent[at];
        }
        return at;
    }

    void Join(int a, int b) {
        a = Find(a);
        b = Find(b);
        if (a != b)
            m_parent[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<int> m_parent;
};

// Joins every cell of an object to its anchor, and each anchor's whole footprint (within the
// map) to it, so that a cell the object leaves to a tile goes with the object too.
void JoinObjects(const Cell* cells, Units& units) {
    for (int at = 0; at < MAP_CELLS; ++at) {
        const auto place = LocateInObject(cells[at]);
        if (!place)
            continue;
        const int x = at % MAP_SIZE - place->column, y = at / MAP_SIZE - place->row;
        if (x < 0 || y < 0)
            continue; // no anchor on the map: the cell goes alone
        const int anchor = y * MAP_SIZE + x;
        units.Join(anchor, at);
        if (anchor != at)
            continue;
        const int side = place->object.side;
        for (int r = 0; r < std::min(side, MAP_SIZE - y); ++r)
            for (int c = 0; c < std::min(side, MAP_SIZE - x); ++c)
                units.Join(anchor, anchor + r * MAP_SIZE + c);
    }
}

int CountFlags(const Cell* cells) {
    return static_cast<int>(std::count(cells, cells + MAP_CELLS, FLAG_CELL));
}

// What is known of a unit, gathered over its cells.
enum UnitBits : std::uint8_t {
    OURS_CHANGED = 1,
    THEIRS_CHANGED = 2,
    SIDES_DIFFER = 4,      // some cell differs between ours and theirs
    SAVED_DIFFER = 8,      // some cell is saved with another value on each side
    THEIRS_ADDS_FLAG = 16, // some cell is a flag in theirs only
};

bool SavedAlike(Cell a, Cell b) {
    return CodeForCell(a) == CodeForCell(b);
}

} // namespace

CellMerge MergeCells(const Cell* base, const Cell* ours, const Cell* theirs) {
    Units units;
    for (const Cell* cells : {base, ours, theirs})
        JoinObjects(cells, units);
    std::vector<std::uint8_t> bits(MAP_CELLS);
    std::vector<int> unitOf(MAP_CELLS);
    for (int at = 0; at < MAP_CELLS; ++at) {
        const int unit = unitOf[at] = units.Find(at);
        bits[unit] |= (ours[at] != base[at] ? OURS_CHANGED : 0) |
                      (theirs[at] != base[at] ? THEIRS_CHANGED : 0) |
                      (ours[at] != theirs[at] ? SIDES_DIFFER : 0) |
                      (!SavedAlike(ours[at], theirs[at]) ? SAVED_DIFFER : 0) |
                      (theirs[at] == FLAG_CELL && ours[at] != FLAG_CELL ? THEIRS_ADDS_FLAG : 0);
    }

    CellMerge merge;
    merge.cells.assign(ours, ours + MAP_CELLS);
    merge.conflicts.assign(MAP_CELLS, false);
    // A cell of a conflict is one to look at: saved differently on each side, or, in a unit
    // where no cell is, different at all.
    const auto markConflict = [&](int at, std::uint8_t unit) {
        const bool shown =
            unit & SAVED_DIFFER ? !SavedAlike(ours[at], theirs[at]) : ours[at] != theirs[at];
        if (shown && !merge.conflicts[at]) {
            merge.conflicts[at] = true;
            ++merge.conflictCells;
        }
    };
    const auto takesTheirs = [](std::uint8_t unit) {
        return (unit & (OURS_CHANGED | THEIRS_CHANGED)) == THEIRS_CHANGED;
    };
    for (int at = 0; at < MAP_CELLS; ++at) {
        const std::uint8_t unit = bits[unitOf[at]];
        if (takesTheirs(unit))
            merge.cells[at] = theirs[at];
        else if ((unit & OURS_CHANGED) && (unit & THEIRS_CHANGED) && (unit & SIDES_DIFFER))
            markConflict(at, unit);
    }

    merge.baseFlags = CountFlags(base);
    merge.oursFlags = CountFlags(ours);
    merge.theirsFlags = CountFlags(theirs);
    const int flags = CountFlags(merge.cells.data());
    if (flags > MAX_FLAGS && flags > merge.oursFlags && flags > merge.theirsFlags) {
        // Every unit that brings flags from theirs keeps ours (the base there): the map then
        // holds no flag ours does not.
        merge.flagsPastLimit = flags;
        for (int at = 0; at < MAP_CELLS; ++at) {
            const std::uint8_t unit = bits[unitOf[at]];
            if (takesTheirs(unit) && (unit & THEIRS_ADDS_FLAG)) {
                merge.cells[at] = ours[at];
                markConflict(at, unit);
            }
        }
    }
    return merge;
}

} // namespace krav
