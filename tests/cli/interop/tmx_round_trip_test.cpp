// LEVEL -> TMX -> LEVEL gives the level's bytes back, whatever our writer put in it.
#include "LvlRunner.h"
#include "document/TileCodes.h"

#include <array>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace krav {
namespace {

using test::Bytes;
using Cells = std::vector<std::uint32_t>;

Cells EmptyCells() {
    return Cells(MAP_CELLS, EMPTY_CELL);
}

void Put(Cells& cells, int col, int row, Cell value) {
    cells[static_cast<std::size_t>(row) * MAP_SIZE + col] = value;
}

struct RoundTripCase {
    const char* name;
    std::function<Bytes()> level;
};

const std::vector<RoundTripCase>& Cases() {
    static const std::vector<RoundTripCase> cases{
        {"empty", [] { return test::LevelOf(EmptyCells()); }},
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
         }},
        {"257 flags, one more than a level opens with",
         [] {
             Cells cells = EmptyCells();
             for (int i = 0; i < MAX_FLAGS + 1; ++i)
                 Put(cells, i % 100, 3 + i / 100, FLAG_CELL);
             return test::LevelOf(cells);
         }},
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
             for (int i = 0; i < MAP_CELLS; ++i)
                 cells[i] = static_cast<Cell>((i * 7 + i / MAP_SIZE) % TILE_COUNT);
             for (int i = 0; i < 200; ++i)
                 Put(cells, (i * 37) % MAP_SIZE, (i * 91) % MAP_SIZE,
                     std::array<Cell, 4>{OBJECT_6X6, OBJECT_5X5, OBJECT_2X2, OBJECT_1X1}[i % 4]);
             return test::LevelOf(cells, test::MakeBmp());
         }},
        {"overlapping objects as the reader leaves them",
         [] {
             return test::ScratchFolder::Read(std::string(KRAV_SOURCE_DIR) +
                                              "/tests/fuzz-regressions/"
                                              "objects-overlapping-against-row-order.lvl");
         }},
    };
    return cases;
}

TEST(TmxRoundTrip, GivesTheLevelsBytesBack) {
    for (const RoundTripCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        test::ScratchFolder folder;
        // What our writer makes of the case: resave is the editor's Open and Save.
        const std::string given = folder.Write("given.lvl", c.level());
        const std::string level = folder.Path("level.lvl");
        ASSERT_EQ(test::Lvl("resave " + given + " " + level, folder).exitCode, 0);

        const std::string tmx = folder.Path("map.tmx");
        const test::Run exported = test::Lvl("export-tmx " + level + " " + tmx, folder);
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        EXPECT_TRUE(std::filesystem::exists(folder.Path("map-tiles.png")));
        EXPECT_TRUE(std::filesystem::exists(folder.Path("map-objects.png")));
        const std::string back = folder.Path("back.lvl");
        const test::Run imported = test::Lvl("import-tmx " + tmx + " " + back, folder);
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
        EXPECT_TRUE(test::ScratchFolder::Read(back) == test::ScratchFolder::Read(level));
    }
}

} // namespace
} // namespace krav
