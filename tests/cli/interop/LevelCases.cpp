#include "LevelCases.h"

#include "LvlRunner.h"
#include "document/TileCodes.h"

#include <array>

namespace krav::test {

namespace {

using Cells = std::vector<std::uint32_t>;

Cells EmptyCells() {
    return Cells(MAP_CELLS, EMPTY_CELL);
}

void Put(Cells& cells, int col, int row, Cell value) {
    cells[static_cast<std::size_t>(row) * MAP_SIZE + col] = value;
}

} // namespace

const std::vector<RoundTripCase>& LevelCases() {
    static const std::vector<RoundTripCase> cases{
        {"empty", [] { return test::LevelOf(EmptyCells()); }},
        {"objects touching the map's edges",
         [] {
             Cells cells = EmptyCells();
             Put(cells, 0, 0, OBJECT_6X6);
             Put(cells, 1018, 1018, OBJECT_6X6);
             Put(cells, 1019, 0, OBJECT_5X5);
             Put(cells, 0, 1022, OBJECT_2X2);
             Put(cells, 1023, 1010, OBJECT_1X1);
             Put(cells, 1022, 5, OBJECT_1X1);
             Put(cells, 1017, 1023, 7);
             return test::LevelOf(cells);
         }},
        {"objects at the edges, their footprints cut by the map's edge",
         [] {
             Cells cells = EmptyCells();
             Put(cells, 0, 0, OBJECT_6X6);
             Put(cells, 1020, 1020, OBJECT_6X6);
             Put(cells, 1023, 0, OBJECT_5X5);
             Put(cells, 0, 1023, OBJECT_2X2);
             Put(cells, 1023, 1023, OBJECT_1X1);
             Put(cells, 1022, 5, OBJECT_1X1);
             Put(cells, 1019, 1023, 7);
             return test::LevelOf(cells);
         },
         "object 2 at column 1023, row 0 reaches past the map's edge at column 1024, row 0; its "
         "5 x 5 cells must lie inside"},
        {"256 flags, as many as a level holds",
         [] {
             Cells cells = EmptyCells();
             for (int i = 0; i < MAX_FLAGS; ++i)
                 Put(cells, i % 100, 3 + i / 100, FLAG_CELL);
             return test::LevelOf(cells);
         }},
        {"257 flags, one more than a level opens with",
         [] {
             Cells cells = EmptyCells();
             for (int i = 0; i < MAX_FLAGS + 1; ++i)
                 Put(cells, i % 100, 3 + i / 100, FLAG_CELL);
             return test::LevelOf(cells);
         },
         "the flag at column 56, row 5 is flag 257 of 257; a level holds at most 256"},
        {"embedded tile set with odd headers and trailing bytes",
         [] {
             Cells cells = EmptyCells();
             Put(cells, 5, 5, 0);
             Put(cells, 6, 5, 189);
             Put(cells, 40, 40, OBJECT_5X5);
             return test::LevelOf(cells, test::MakeBmp({.offBits = 1100, .extraBytes = 77}));
         }},
        {"dense map, objects among the tiles",
         [] {
             Cells cells(MAP_CELLS);
             for (int i = 0; i < MAP_CELLS; ++i) {
                 cells[i] = static_cast<Cell>((i * 7 + i / MAP_SIZE) % TILE_COUNT);
                 if (cells[i] == FLAG_CELL)
                     cells[i] = 0; // as many flags as a level can take come in the case above
             }
             for (int i = 0; i < 200; ++i) {
                 const Cell kind =
                     std::array<Cell, 4>{OBJECT_6X6, OBJECT_5X5, OBJECT_2X2, OBJECT_1X1}[i % 4];
                 const int col = (i % 25) * 40 + i % 7, row = (i / 25) * 120 + i % 5;
                 const int side = ObjectSide(kind);
                 for (int r = 0; r < side; ++r)
                     for (int c = 0; c < side; ++c)
                         Put(cells, col + c, row + r, EMPTY_CELL);
                 Put(cells, col, row, kind);
             }
             return test::LevelOf(cells, test::MakeBmp());
         }},
        {"a tile inside an object's footprint",
         [] {
             Cells cells = EmptyCells();
             Put(cells, 10, 10, OBJECT_6X6);
             Put(cells, 14, 12, 30);
             return test::LevelOf(cells);
         },
         "the tile at column 14, row 12 lies under object 1 (6 x 6 at column 10, row 10); a "
         "special object's cells hold no tile"},
        {"overlapping objects as the reader leaves them",
         [] {
             return test::ScratchFolder::Read(std::string(KRAV_SOURCE_DIR) +
                                              "/tests/fuzz-regressions/"
                                              "objects-overlapping-against-row-order.lvl");
         },
         "object 1 at column 1023, row 0 reaches past the map's edge at column 1024, row 0"},
        {"an object's anchor inside another's footprint",
         [] {
             Cells cells = EmptyCells();
             Put(cells, 10, 10, OBJECT_6X6);
             Put(cells, 14, 14, OBJECT_2X2);
             return test::LevelOf(cells);
         },
         "object 2 (2 x 2 at column 14, row 14) overlaps object 1 (6 x 6 at column 10, row 10) at "
         "column 14, row 14; special objects cannot overlap"},
    };
    return cases;
}

} // namespace krav::test
