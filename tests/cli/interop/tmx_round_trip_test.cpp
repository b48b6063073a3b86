// LEVEL -> TMX -> LEVEL gives the level's bytes back for every level the editor could have made;
// what only a level file can hold (objects cut by the map's edge, over tiles or over each other,
// more flags than a level takes) comes back refused, naming the first such cell.
#include "LevelCases.h"
#include "LvlRunner.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace krav {
namespace {

using test::Bytes;
using test::RoundTripCase;

TEST(TmxRoundTrip, GivesTheLevelsBytesBack) {
    for (const RoundTripCase& c : test::LevelCases()) {
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
        if (!c.refusal.empty()) {
            EXPECT_EQ(imported.exitCode, 1);
            EXPECT_NE(imported.err.find(c.refusal), std::string::npos) << imported.err;
            EXPECT_FALSE(std::filesystem::exists(back));
            continue;
        }
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
        EXPECT_TRUE(test::ScratchFolder::Read(back) == test::ScratchFolder::Read(level));
    }
}

} // namespace
} // namespace krav
