// krav-lvl on a level with records of codes no tile or object has: every command that reads a
// level goes on with --keep-unknown and loses none of them; without it each refuses as before;
// an output that cannot hold them is refused, and NEVER written in part.
#include "support/CommandRun.h"
#include "support/LevelBytes.h"

#include <QImage>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace krav {
namespace {

class KeptCellsCli : public ::testing::Test {
protected:
    test::Run Lvl(const std::string& arguments) {
        return test::RunCommand(std::string(KRAV_LVL) + " " + arguments, folder);
    }

    test::ScratchFolder folder;
    const std::string level = folder.Write("real.lvl", test::LevelWithUnknownCodes());
};

TEST_F(KeptCellsCli, EveryCommandThatReadsALevelGoesOnWithTheOption) {
    std::ofstream(folder.Path("paint.txt")) << "tile fore 9\ndown left 8 8\nup left 8 8\n";
    const std::string out = folder.Path("out");
    const std::vector<std::string> commands{
        "info " + level,
        "check " + level,
        "dump " + level,
        "diff " + level + " " + level,
        "resave " + level + " " + out + ".lvl",
        "render " + level + " " + out + ".png --zoom 1:1 --area 0,0,32,12",
        "play " + folder.Path("paint.txt") + " " + level + " " + out + "-played.lvl",
        "tileset " + level + " " + out + ".bmp",
        "import-tileset " + level + " " + level + " " + out + "-imported.lvl",
    };
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const test::Run refused = Lvl(command);
        EXPECT_EQ(command.starts_with("diff") ? 2 : 1, refused.exitCode);
        EXPECT_NE((refused.out + refused.err).find("Tile ID out of Range!"), std::string::npos);
        EXPECT_NE((refused.out + refused.err).find("--keep-unknown"), std::string::npos)
            << "it says how to go on";
        // The option may stand anywhere after the command.
        const std::size_t space = command.find(' ');
        for (const std::string& with :
             {command + " --keep-unknown",
              command.substr(0, space) + " --keep-unknown" + command.substr(space)}) {
            const test::Run run = Lvl(with);
            EXPECT_EQ(run.exitCode, 0) << with << "\n" << run.err;
        }
    }
    EXPECT_EQ(test::ScratchFolder::Read(out + ".lvl"), test::LevelWithUnknownCodes())
        << "resave gives the same bytes";
    EXPECT_EQ(test::ScratchFolder::Read(out + "-imported.lvl"), test::LevelWithUnknownCodes());
    EXPECT_TRUE(QImage(QString::fromStdString(out + ".png")).size() == QSize(32 * 16, 12 * 16));
}

TEST_F(KeptCellsCli, InfoCountsThemAndDumpListsThem) {
    const test::Run info = Lvl("info --keep-unknown " + level);
    EXPECT_EQ(info.out, "tileset: embedded\n"
                        "records: 50\n"
                        "cells: 53\n"
                        "flags: 1\n"
                        "flag-cells: 1\n"
                        "objects: 1\n"
                        "unknown: 6 (codes 241, 242)\n");
    const test::Run dump = Lvl("dump --keep-unknown " + level);
    EXPECT_EQ(dump.exitCode, 0);
    const std::string body = dump.out.substr(dump.out.find("unknown:"));
    EXPECT_EQ(body, "unknown: 6 (codes 241, 242)\n"
                    "row 2: 0:1, 1:2, 2:3, 3:4, 4:5, 5:?241, 6:?242, 7:8, 8:9, 9:10, 10:11, "
                    "11:12, 12:13, 13:14, 14:15, 15:16, 16:17, 17:18, 18:19, 19:20, 20:21, "
                    "21:22, 22:23, 23:24, 24:25, 25:26, 26:27, 27:28, 28:29, 29:30, 30:31, "
                    "31:32, 32:33, 33:34, 34:35, 35:36, 36:37, 37:38, 38:39, 39:40\n"
                    "row 3: 10:700, 20:?241, 21:170\n"
                    "row 4: 0:100, 1:101, 2:102, 3:103\n"
                    "row 10: 0:?242, 1023:?241\n"
                    "row 1023: 1023:?242\n");
    EXPECT_NE(dump.out.find("records: 50\n"), std::string::npos);
}

TEST_F(KeptCellsCli, PlayPaintsOverOneAndKeepsTheOthers) {
    // At 1:1, cell (5, 2) is at client (88, 40).
    std::ofstream(folder.Path("paint.txt")) << "expect-cell 5 2 1265\n"
                                               "tile fore 9\ndown left 88 40\nup left 88 40\n"
                                               "expect-cell 5 2 9\nexpect-cell 6 2 1266\n";
    const std::string out = folder.Path("played.lvl");
    const test::Run run =
        Lvl("play --keep-unknown " + folder.Path("paint.txt") + " " + level + " " + out);
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    test::Bytes expected = test::LevelWithUnknownCodes();
    expected[test::FIRST_UNKNOWN_OFFSET + 3] = 10; // code 241 -> tile code 10
    EXPECT_EQ(test::ScratchFolder::Read(out), expected);
}

TEST_F(KeptCellsCli, ATiledMapCannotHoldThemAndNothingIsWritten) {
    const std::string tmx = folder.Path("map.tmx");
    const test::Run run = Lvl("export-tmx --keep-unknown " + level + " " + tmx);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "krav-lvl: the level holds 6 kept cells (codes 241, 242, no tile and no "
                       "object): a Tiled map cannot hold them, so nothing was written\n");
    EXPECT_FALSE(std::filesystem::exists(tmx));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("map-tiles.png")));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("map-objects.png")));
    // import-tmx reads no level: the option is a mistake there.
    EXPECT_EQ(Lvl("import-tmx --keep-unknown " + tmx + " " + folder.Path("x.lvl")).exitCode, 2);
}

TEST_F(KeptCellsCli, DiffShowsThemByCode) {
    test::Bytes other = test::LevelWithUnknownCodes();
    other[test::FIRST_UNKNOWN_OFFSET + 3] = 199;
    const std::string changed = folder.Write("changed.lvl", other);
    const test::Run run = Lvl("diff --keep-unknown " + level + " " + changed);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "5,2: ?241 -> ?199\n");
}

} // namespace
} // namespace krav
