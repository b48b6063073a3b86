// Three-way merges of maps, tried on many random edits: what a merge must never do.
#include "document/ByteSource.h"
#include "document/LevelMerge.h"
#include "document/LevelReader.h"
#include "document/LevelWriter.h"
#include "support/LevelBytes.h"

#include <gtest/gtest.h>
#include <random>

namespace krav {
namespace {

using Map = std::vector<Cell>;

// The map a level file of these records opens as: objects settled as reading settles them.
Map Read(const test::Bytes& records) {
    Map cells(MAP_CELLS);
    ReadLevel(MemorySource(records), cells.data());
    return cells;
}

// Random records in a corner of the map and at its far edge, where objects are cut: tiles,
// flags, objects of every size, some over each other.
class Edits {
public:
    explicit Edits(unsigned seed) : m_random(seed) {}

    void Add(test::Bytes& records, int count, bool objects) {
        for (int i = 0; i < count; ++i) {
            const bool far = Pick(4) == 0;
            const int x = far ? 1012 + Pick(12) : Pick(24), y = far ? 1012 + Pick(12) : Pick(24);
            int code = 1 + Pick(TILE_COUNT);
            if (objects && Pick(5) == 0)
                code = std::array{216, 217, 219, 220}[Pick(4)];
            test::AppendRecord(records, code, x, y);
        }
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

private:
    std::mt19937 m_random;
};

struct Sides {
    Map base, ours, theirs;
};

Sides RandomSides(unsigned seed, bool objects) {
    Edits edits(seed);
    test::Bytes base;
    edits.Add(base, 80, objects);
    test::Bytes ours = base, theirs = base;
    edits.Add(ours, edits.Pick(12), objects);
    edits.Add(theirs, edits.Pick(12), objects);
    // Erasing: records of the base left out on one side.
    if (edits.Pick(2) == 0)
        ours.erase(ours.begin(), ours.begin() + 4 * edits.Pick(6));
    if (edits.Pick(2) == 0)
        theirs.erase(theirs.begin() + 4 * edits.Pick(6), theirs.begin() + 4 * 8);
    return {Read(base), Read(ours), Read(theirs)};
}

bool CellConflict(const Sides& s, std::size_t i) {
    return s.ours[i] != s.base[i] && s.theirs[i] != s.base[i] && s.ours[i] != s.theirs[i];
}

TEST(LevelMerge, NeverLosesAOneSidedChangeNorHidesAConflict) {
    int clean = 0, conflicted = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        const bool objects = seed % 4 != 0;
        const Sides s = RandomSides(seed, objects);
        const CellMerge merge = MergeCells(s.base.data(), s.ours.data(), s.theirs.data());
        bool anyCellConflict = false;
        int cellConflicts = 0;
        for (std::size_t i = 0; i < MAP_CELLS; ++i) {
            // Every cell comes from one side; what both sides hold alike stays.
            ASSERT_TRUE(merge.cells[i] == s.ours[i] || merge.cells[i] == s.theirs[i]) << i;
            if (s.ours[i] == s.theirs[i]) {
                ASSERT_EQ(merge.cells[i], s.ours[i]);
            }
            anyCellConflict |= CellConflict(s, i);
            cellConflicts += CellConflict(s, i);
            // A conflict keeps ours.
            if (merge.conflicts[i]) {
                ASSERT_EQ(merge.cells[i], s.ours[i]);
            }
        }
        // Different changes to one cell are never clean.
        if (anyCellConflict) {
            EXPECT_TRUE(merge.Conflicted());
        }
        // Without objects, the conflicts are exactly the cells changed differently.
        if (!objects) {
            EXPECT_EQ(merge.conflictCells, cellConflicts);
        }
        if (!merge.Conflicted()) {
            ++clean;
            // Clean: every change of either side is in the merge.
            for (std::size_t i = 0; i < MAP_CELLS; ++i) {
                if (s.ours[i] != s.base[i]) {
                    ASSERT_EQ(merge.cells[i], s.ours[i]) << i;
                }
                if (s.theirs[i] != s.base[i]) {
                    ASSERT_EQ(merge.cells[i], s.theirs[i]) << i;
                }
            }
        } else {
            ++conflicted;
        }
        // The merged map is a level as it opens: saved and read back, it is the same map, so
        // no object is cut and none lies under another cell.
        EXPECT_TRUE(Read(WriteLevel(merge.cells.data(), nullptr)) == merge.cells);
    }
    // The random edits try both outcomes.
    EXPECT_GT(clean, 5);
    EXPECT_GT(conflicted, 5);
}

// One side's change next to the other's: both are taken; the merge of a map with itself on
// either side is that side.
TEST(LevelMerge, TakesEachSidesChangeAndNothingElse) {
    Map base(MAP_CELLS, EMPTY_CELL);
    base[5] = 3;
    Map ours = base, theirs = base;
    ours[6] = 4;
    theirs[5] = EMPTY_CELL;
    const CellMerge merge = MergeCells(base.data(), ours.data(), theirs.data());
    EXPECT_FALSE(merge.Conflicted());
    EXPECT_EQ(merge.cells[5], EMPTY_CELL);
    EXPECT_EQ(merge.cells[6], 4u);
    EXPECT_TRUE(MergeCells(base.data(), base.data(), theirs.data()).cells == theirs);
    EXPECT_TRUE(MergeCells(base.data(), ours.data(), base.data()).cells == ours);
}

} // namespace
} // namespace krav
