// krav-lvl as scripts and pipelines use it: its output, exit codes and files.
#include "support/CommandRun.h"
#include "support/LevelBytes.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace krav {
namespace {

using test::AppendRecord;
using test::Bytes;

using LvlRun = test::Run;

class Cli : public ::testing::Test {
protected:
    LvlRun Lvl(const std::string& arguments) {
        return test::RunCommand(std::string(KRAV_LVL) + " " + arguments, folder);
    }

    test::ScratchFolder folder;
};

TEST_F(Cli, InfoDescribesALevel) {
    Bytes bytes = test::MakeBmp({.extraBytes = 34});
    for (int i = 0; i < 257; ++i)
        AppendRecord(bytes, 170, i, 3);
    AppendRecord(bytes, 219, 10, 10);
    AppendRecord(bytes, 216, 20, 10);
    AppendRecord(bytes, 5, 4000, 4000); // skipped, still a record
    const LvlRun run = Lvl("info " + folder.Write("a.lvl", bytes));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "tileset: embedded\n"
                       "records: 260\n"
                       "cells: 294\n"
                       "flags: 256\n"
                       "flag-cells: 257\n"
                       "objects: 2\n"
                       "warning: This map has to many initial flags\n"
                       "I'll let it slide but you will not be able to add anymore.\n");
}

TEST_F(Cli, EveryCommandNamesTheLevelItCannotReadInTheReadersWords) {
    Bytes corrupt;
    AppendRecord(corrupt, 0, 0, 0);
    const std::string bad = folder.Write("bad.lvl", corrupt);
    const std::string missing = folder.Path("missing.lvl");
    const std::string script = folder.Write("empty.play", {});
    const std::string out = folder.Path("out");
    const std::string couldNotOpen = "Couldn't open file. (No such file or directory)\n";
    struct Case {
        std::string arguments;
        std::string err;
    };
    const std::vector<Case> cases{
        {"info " + bad,
         "krav-lvl: " + bad + ": The map tile data is corrupt:\nTile ID out of Range!\n\n" + bad +
             ": 1 record has a code that is no tile and no object (code 0). It is at byte 0: "
             "cell (0, 0), code 0.\n\nkrav-lvl reads it keeping these cells with "
             "--keep-unknown.\n"},
        {"info " + missing, "krav-lvl: " + missing + ": " + couldNotOpen},
        {"resave " + missing + " " + out, "krav-lvl: " + missing + ": " + couldNotOpen},
        {"render " + missing + " " + out, "krav-lvl: " + missing + ": " + couldNotOpen},
        {"play " + script + " " + missing + " " + out,
         "krav-lvl: " + missing + ": " + couldNotOpen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const LvlRun run = Lvl(c.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST_F(Cli, CheckReportsEachLevelOnOneLine) {
    Bytes bad;
    AppendRecord(bad, 200, 1, 1);
    const std::string good = folder.Write("good.lvl", {});
    const std::string broken = folder.Write("broken.lvl", bad);
    const std::string missing = folder.Path("missing.lvl");
    const LvlRun run = Lvl("check " + good + " " + broken + " " + missing);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, good + ": ok\n" + broken +
                           ": The map tile data is corrupt: Tile ID out of Range!  " + broken +
                           ": 1 record has a code that is no tile and no object (code 200). It "
                           "is at byte 0: cell (1, 1), code 200.  krav-lvl reads it keeping "
                           "these cells with --keep-unknown.\n" +
                           missing + ": Couldn't open file. (No such file or directory)\n");
    EXPECT_EQ(Lvl("check " + good).exitCode, 0);
}

TEST_F(Cli, ResaveGivesTheSameBytesBack) {
    Bytes bytes = test::MakeBmp({.extraBytes = 358});
    AppendRecord(bytes, 7, 0, 0);
    AppendRecord(bytes, 220, 9, 0);
    AppendRecord(bytes, 190, 1, 1);
    const std::string in = folder.Write("in.lvl", bytes);
    const std::string out = folder.Path("out.lvl");
    const LvlRun run = Lvl("resave " + in + " " + out);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::ScratchFolder::Read(out), bytes);
}

TEST_F(Cli, UsageErrorsExitWithTwo) {
    for (const char* arguments : {"", "info", "info a b", "resave only-one", "frobnicate x"})
        EXPECT_EQ(Lvl(arguments).exitCode, 2) << arguments;
}

} // namespace
} // namespace krav
