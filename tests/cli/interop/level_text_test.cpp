// dump and diff: levels in version control.
#include "LvlRunner.h"
#include "document/TileCodes.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace krav {
namespace {

using test::Bytes;

class LevelText : public ::testing::Test {
protected:
    LevelText() : cells(MAP_CELLS, EMPTY_CELL) {}

    void Put(int col, int row, Cell v) {
        cells[static_cast<std::size_t>(row) * MAP_SIZE + col] = v;
    }

    std::string Save(const std::string& name, const Bytes& tileSet = {}) {
        return folder.Write(name, test::LevelOf(cells, tileSet));
    }

    std::vector<std::uint32_t> cells;
    test::ScratchFolder folder;
};

TEST_F(LevelText, DumpShowsTheHeaderThenRunsOfEachRowWithContent) {
    for (int col = 3; col < 7; ++col)
        Put(col, 0, 4);
    Put(7, 0, FLAG_CELL);
    Put(8, 0, FLAG_CELL);
    Put(1023, 0, 189);
    Put(10, 5, OBJECT_6X6);
    Put(20, 5, OBJECT_1X1);
    Put(0, 1023, 0);
    const test::Run run = test::Lvl("dump " + Save("a.lvl"), folder);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // The object's footprint is not saved and not shown: only its anchor.
    EXPECT_EQ(run.out, "tileset: built-in\n"
                       "records: 10\n"
                       "tiles: 8\n"
                       "flag-cells: 2\n"
                       "objects: 2\n"
                       "row 0: 3:5 x4, 7:170 x2, 1023:190\n"
                       "row 5: 10:500, 20:800\n"
                       "row 1023: 0:1\n");
}

TEST_F(LevelText, DumpNamesAnEmbeddedTileSetByItsBytes) {
    const Bytes bmp = test::MakeBmp({.extraBytes = 3});
    const test::Run one = test::Lvl("dump " + Save("a.lvl", bmp), folder);
    const Bytes otherBmp = test::MakeBmp({.extraBytes = 4});
    const test::Run other = test::Lvl("dump " + Save("b.lvl", otherBmp), folder);
    EXPECT_EQ(one.out.rfind("tileset: embedded sha256 ", 0), 0u) << one.out;
    EXPECT_EQ(one.out.find('\n'), std::string("tileset: embedded sha256 ").size() + 64);
    EXPECT_NE(one.out, other.out);
}

TEST_F(LevelText, DiffShowsChangedCellsAsRectanglesAndExitsAsDiffDoes) {
    Put(0, 0, 1);
    for (int row = 10; row < 13; ++row)
        for (int col = 20; col < 25; ++col)
            Put(col, row, 7);
    const std::string a = Save("a.lvl");
    const test::Run same = test::Lvl("diff " + a + " " + Save("same.lvl"), folder);
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "");

    // A 5 x 3 block painted over, one cell of it different again, an object moved.
    for (int row = 10; row < 13; ++row)
        for (int col = 20; col < 25; ++col)
            Put(col, row, 8);
    Put(22, 11, 9);
    Put(0, 0, EMPTY_CELL);
    Put(1023, 1023, OBJECT_2X2);
    const test::Run changed = test::Lvl("diff " + a + " " + Save("b.lvl", test::MakeBmp()), folder);
    EXPECT_EQ(changed.exitCode, 1);
    const std::string header = "tileset: built-in -> embedded sha256 ";
    ASSERT_EQ(changed.out.rfind(header, 0), 0u) << changed.out;
    EXPECT_EQ(changed.out.substr(changed.out.find('\n') + 1), "0,0: 2 -> empty\n"
                                                              "20,10..24,10: 8 -> 9\n"
                                                              "20,11..21,12: 8 -> 9\n"
                                                              "22,11: 8 -> 10\n"
                                                              "23,11..24,12: 8 -> 9\n"
                                                              "22,12: 8 -> 9\n"
                                                              "1023,1023: empty -> 700\n");

    const test::Run missing = test::Lvl("diff " + a + " " + folder.Path("none.lvl"), folder);
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "krav-lvl: " + folder.Path("none.lvl") +
                               ": Couldn't open file. (No such file or directory)\n");
    EXPECT_EQ(test::Lvl("diff " + a, folder).exitCode, 2);
}

// git stops a whole diff or log at the first version its text conversion cannot read; with the
// README's setup an unreadable level in history is still shown, by its size and hash.
TEST_F(LevelText, GitDiffAndLogWorkThroughTheReadmeSetupEvenPastAnUnreadableLevel) {
    if (!test::ProgramInstalled("git"))
        GTEST_SKIP() << "git is not installed";
    const std::string setUp = test::ReadmeGitSetup();
    ASSERT_NE(setUp.find("--textconv"), std::string::npos) << setUp;
    const std::string git = "cd " + folder.Path("") + " && git -c user.name=t -c user.email=t@t ";
    Put(5, 5, 3);
    Save("level.lvl");
    ASSERT_EQ(test::RunCommand("cd " + folder.Path("") + " && git init -q . && " + setUp + git +
                                   "add level.lvl .gitattributes && " + git + "commit -qm level",
                               folder)
                  .exitCode,
              0);
    const Bytes corrupt{'B', 'M', 0x10, 0, 0, 0}; // a tile set's bitmap cut off in its header
    folder.Write("level.lvl", corrupt);
    ASSERT_EQ(test::RunCommand(git + "commit -qam broken", folder).exitCode, 0);
    Put(6, 5, 3);
    Save("level.lvl");

    const test::Run diff = test::RunCommand(git + "diff --no-color -U0 level.lvl", folder);
    EXPECT_EQ(diff.exitCode, 0) << diff.err;
    const std::string unreadable =
        "unreadable level: Tile set bitmap is corrupt: The file ends inside the bitmap's headers "
        "or color table!; 6 bytes, sha256 "
        "a772af1f68d15e549df6294c0ac9895f1bbb4971b9e0cf91a5d4860df2811ff3\n";
    for (const std::string& line :
         {"\n-" + unreadable, std::string("\n+tiles: 2\n"), std::string("\n+row 5: 5:4 x2\n")})
        EXPECT_NE(diff.out.find(line), std::string::npos) << line << diff.out;

    const test::Run log = test::RunCommand(git + "log -p --no-color -U0 -- level.lvl", folder);
    EXPECT_EQ(log.exitCode, 0) << log.err;
    for (const std::string& line : {"\n+" + unreadable, std::string("\n-row 5: 5:4\n")})
        EXPECT_NE(log.out.find(line), std::string::npos) << line << log.out;
}

// The text conversion never fails: whatever it is given, it prints one line and exits 0.
TEST_F(LevelText, TextconvDescribesWhatItCannotRead) {
    const Bytes corrupt{'B', 'M', 0x10, 0, 0, 0};
    std::filesystem::create_directory(folder.Path("folder.lvl"));
    const struct {
        std::string path;
        std::string out;
    } cases[] = {
        {folder.Write("corrupt.lvl", corrupt),
         "unreadable level: Tile set bitmap is corrupt: The file ends inside the bitmap's "
         "headers or color table!; 6 bytes, sha256 "
         "a772af1f68d15e549df6294c0ac9895f1bbb4971b9e0cf91a5d4860df2811ff3\n"},
        {folder.Path("none.lvl"), "unreadable level: Couldn't open file. (No such file or "
                                  "directory)\n"},
        {folder.Path("folder.lvl"), "unreadable level: Couldn't open file. (Is a directory)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const test::Run run = test::Lvl("dump --textconv " + c.path, folder);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, "");
    }
    // A level it can read is dumped as dump does; cells of unknown codes are kept and listed,
    // as with --keep-unknown, rather than hiding the whole level.
    Put(1, 1, 7);
    const std::string good = Save("good.lvl");
    EXPECT_EQ(test::Lvl("dump --textconv " + good, folder).out,
              test::Lvl("dump " + good, folder).out);
    Bytes unknown;
    test::AppendRecord(unknown, 241, 3, 2);
    const std::string kept = folder.Write("unknown.lvl", unknown);
    const test::Run textconv = test::Lvl("dump --textconv " + kept, folder);
    EXPECT_EQ(textconv.exitCode, 0);
    EXPECT_EQ(textconv.out, test::Lvl("dump --keep-unknown " + kept, folder).out);
    EXPECT_NE(textconv.out.find("row 2: 3:?241\n"), std::string::npos) << textconv.out;
}

} // namespace
} // namespace krav
