// undump: a level's text, as dump prints it or a generator writes it, back into a level.
#include "LevelCases.h"
#include "LvlRunner.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace krav {
namespace {

using test::Bytes;

class Undump : public ::testing::Test {
protected:
    // undump(dump(LEVEL)) against resave(LEVEL), with the level as its own --tileset.
    void ExpectRoundTrip(const std::string& level, const std::string& options = "") {
        const std::string resaved = folder.Path("resaved.lvl"), text = folder.Path("level.txt"),
                          back = folder.Path("back.lvl");
        ASSERT_EQ(test::Lvl("resave " + options + level + " " + resaved, folder).exitCode, 0);
        const test::Run dump = test::Lvl("dump " + options + level + " > " + text, folder);
        ASSERT_EQ(dump.exitCode, 0) << dump.err;
        const test::Run undump =
            test::Lvl("undump " + options + text + " " + back + " --tileset " + level, folder);
        ASSERT_EQ(undump.exitCode, 0) << undump.err;
        EXPECT_TRUE(test::ScratchFolder::Read(back) == test::ScratchFolder::Read(resaved));
    }

    test::ScratchFolder folder;
};

TEST_F(Undump, GivesTheBytesOfResaveForEveryKindOfLevel) {
    for (const test::RoundTripCase& c : test::LevelCases()) {
        SCOPED_TRACE(c.name);
        ExpectRoundTrip(folder.Write("given.lvl", c.level()));
    }
    for (const char* name :
         {"object-on-an-object-anchor.lvl", "objects-overlapping-against-row-order.lvl",
          "tile-on-an-object-anchor.lvl"}) {
        SCOPED_TRACE(name);
        ExpectRoundTrip(std::string(KRAV_SOURCE_DIR) + "/tests/fuzz-regressions/" + name);
    }
    SCOPED_TRACE("unknown codes");
    ExpectRoundTrip(folder.Write("unknown.lvl", test::LevelWithUnknownCodes()), "--keep-unknown ");
}

TEST_F(Undump, GivesTheDemoLevelBack) {
    const std::string level = folder.Path("station.lvl");
    ASSERT_EQ(test::Lvl("play " + std::string(KRAV_SOURCE_DIR) +
                            "/resources/demo/station.play new " + level,
                        folder)
                  .exitCode,
              0);
    ExpectRoundTrip(level);
}

// A generator's text: the built-in tile set, no counts, rows as it pleases within the form.
TEST_F(Undump, TakesATextWithoutTheCounts) {
    const std::string text = folder.Path("gen.txt");
    test::WriteText(text, "tileset: built-in\r\nrow 0: 0:1 x1, 5:170 x3\r\nrow 9: 1023:800\r\n");
    const test::Run run = test::Lvl("undump " + text + " " + folder.Path("gen.lvl"), folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Bytes expected;
    test::AppendRecord(expected, 1, 0, 0);
    for (int col = 5; col < 8; ++col)
        test::AppendRecord(expected, 170, col, 0);
    test::AppendRecord(expected, 216, 1023, 9);
    EXPECT_EQ(test::ScratchFolder::Read(folder.Path("gen.lvl")), expected);
}

// Never a line it does not understand, never half a file: each malformed text exits 1, names
// the file and line, and leaves OUT as it was.
TEST_F(Undump, RefusesEveryLineItDoesNotUnderstand) {
    const std::string head = "tileset: built-in\n";
    const struct {
        std::string text;
        std::string err; // after "krav-lvl: TEXT"
    } cases[] = {
        {"", ": is empty; a level's text begins with its \"tileset:\" line"},
        {"tileset: built-in", ":1: the line has no end: the text seems cut short"},
        {head + "row 1: 0:5", ":2: the line has no end: the text seems cut short"},
        {"tileset: builtin\n", ":1: a level's text begins with \"tileset: built-in\", "
                               "\"tileset: embedded\" or \"tileset: embedded sha256 HEX\" (64 "
                               "lower-case hex digits), not \"tileset: builtin\""},
        {head + "\n", ":2: not a line of a level's text: \"\""},
        {head + "# a comment\n", ":2: not a line of a level's text: \"# a comment\""},
        {head + "row 1: 0:5 \n",
         ":2: expected \", \" and another run, or the line's end, at \" \""},
        {head + "row 1: 0:5,1:5\n",
         ":2: expected \", \" and another run, or the line's end, at \",1:5\""},
        {head + "row 1:\n", ":2: expected \"row ROW: \" and the row's runs"},
        {head + "row 1: \n", ":2: expected a run \"COL:VALUE\" or \"COL:VALUE xCOUNT\" at \"\""},
        {head + "row 1024: 0:5\n", ":2: row 1024 is past the map's rows (0..1023)"},
        {head + "row 3: 0:5\nrow 3: 1:5\n",
         ":3: row 3 comes after row 3; rows go top to bottom, each once"},
        {head + "row 3: 0:5\nrow 2: 1:5\n",
         ":3: row 2 comes after row 3; rows go top to bottom, each once"},
        {head + "row 1: 1020:5 x5\n",
         ":2: the run at column 1020 goes past the map's columns (0..1023)"},
        {head + "row 1: 3:5 x2, 4:6\n",
         ":2: column 4 is left of where the run before it ends; runs go left to right without "
         "overlapping"},
        {head + "row 1: 3:5 x0\n", ":2: expected a count of 1 or more after \" x\" in \"3:5 x0\""},
        {head + "row 1: 3:0\n", ":2: 0 is no cell's value: a tile is 1..190, an object 500, "
                                "600, 700 or 800, a code of neither ?CODE"},
        {head + "row 1: 3:191\n", ":2: 191 is no cell's value: a tile is 1..190, an object "
                                  "500, 600, 700 or 800, a code of neither ?CODE"},
        {head + "row 1: 3:501\n", ":2: 501 is no cell's value: a tile is 1..190, an object "
                                  "500, 600, 700 or 800, a code of neither ?CODE"},
        {head + "row 1: 3:empty\n", ":2: expected a cell's value at \"empty\""},
        {head + "row 1: 3:?241\n", ":2: ?241 is a cell of code 241, no tile and no object; "
                                   "undump writes such cells with --keep-unknown"},
        {head + "row 1: 3:-5\n", ":2: expected a cell's value at \"-5\""},
        {head + "row 1: 3:99999999\n", ":2: expected a cell's value at \"99999999\""},
        {head + "records: 2\nrow 1: 3:5\n", ":2: records: 2, but the rows hold 1"},
        {head + "tiles: 1\nrecords: 1\nrow 1: 3:5\n",
         ":3: records: the header's lines come before the rows, in the order tileset, records, "
         "tiles, flag-cells, objects, unknown, each once"},
        {head + "row 1: 3:5\ntiles: 1\n",
         ":3: tiles: the header's lines come before the rows, in the order tileset, records, "
         "tiles, flag-cells, objects, unknown, each once"},
        {head + "objects: 0\nrow 1: 3:500\n", ":2: objects: 0, but the rows hold 1"},
        {head + "flag-cells: one\n", ":2: flag-cells: one, but the rows hold 0"},
        {"tileset: embedded\nrow 1: 3:5\n",
         ":1: the level has a tile set of its own: give it with --tileset LEVEL|BMP"},
    };
    const Bytes old{'o', 'l', 'd'};
    const std::string out = folder.Write("out.lvl", old);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string text = folder.Path("level.txt");
        test::WriteText(text, c.text);
        const test::Run run = test::Lvl("undump " + text + " " + out, folder);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "krav-lvl: " + text + c.err + "\n");
        EXPECT_EQ(test::ScratchFolder::Read(out), old);
    }
}

// A dump cut short anywhere is never taken for a smaller level: its counts no longer match, or
// its last line has no end.
TEST_F(Undump, NeverTakesADumpCutShort) {
    Bytes level;
    for (int row = 0; row < 40; ++row)
        for (int col = 0; col < 30; col += 3)
            test::AppendRecord(level, 1 + (row + col) % 150, col, row);
    const std::string path = folder.Write("a.lvl", level);
    const std::string dump = test::Lvl("dump " + path, folder).out;
    const std::string text = folder.Path("cut.txt"), out = folder.Path("out.lvl");
    for (std::size_t size = 0; size < dump.size(); size += 97) {
        test::WriteText(text, dump.substr(0, size));
        const test::Run run = test::Lvl("undump " + text + " " + out, folder);
        ASSERT_EQ(run.exitCode, 1) << size << ": " << dump.substr(0, size);
        ASSERT_FALSE(std::filesystem::exists(out));
    }
}

// The tile set is the one the text names: built-in, or an embedded one whose hash it gives.
// Never an output over an input.
TEST_F(Undump, TakesOnlyTheTileSetTheTextNames) {
    const std::string embedded = folder.Write("embedded.lvl", test::MakeBmp());
    const std::string other = folder.Write("other.bmp", test::MakeBmp({.extraBytes = 1}));
    const std::string builtIn = folder.Write("builtin.lvl", {});
    const std::string text = folder.Path("level.txt"), out = folder.Path("out.lvl");
    ASSERT_EQ(test::Lvl("dump " + embedded + " > " + text, folder).exitCode, 0);
    const std::string named = test::ReadText(text);
    const std::string sha = named.substr(std::string("tileset: embedded sha256 ").size(), 64);
    const struct {
        std::string arguments;
        int exitCode;
        std::string err;
    } cases[] = {
        {text + " " + out + " --tileset " + embedded, 0, ""},
        {"--tileset " + embedded + " " + text + " " + out, 0, ""},
        {text + " " + out + " --tileset " + other, 1,
         "krav-lvl: " + other + ": its tile set has sha256 "},
        {text + " " + out + " --tileset " + builtIn, 1,
         "krav-lvl: " + builtIn + ": gives the built-in tile set, but the level in " + text +
             " has one of its own\n"},
        {text + " " + out + " --tileset " + folder.Path("none.bmp"), 1,
         "krav-lvl: " + folder.Path("none.bmp") + ": "},
        {text + " " + text + " --tileset " + embedded, 1,
         "krav-lvl: " + text + ": is the same file as the input " + text +
             "; nothing was written\n"},
        {text + " " + embedded + " --tileset " + embedded, 1,
         "krav-lvl: " + embedded + ": is the same file as the input " + embedded +
             "; nothing was written\n"},
        {text + " " + out + " --tileset", 2,
         "usage: krav-lvl undump TEXT OUT [--tileset LEVEL|BMP]\n"},
        {text, 2, "usage: krav-lvl undump TEXT OUT [--tileset LEVEL|BMP]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::filesystem::remove(out);
        const test::Run run = test::Lvl("undump " + c.arguments, folder);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err.substr(0, c.err.size()), c.err);
        EXPECT_EQ(std::filesystem::exists(out), c.exitCode == 0);
        EXPECT_EQ(test::ReadText(text), named);
        EXPECT_EQ(test::ScratchFolder::Read(embedded), test::MakeBmp());
    }
    EXPECT_NE(sha, "");

    // "tileset: built-in" with a tile set of its own given is a mistake, not a choice.
    test::WriteText(text, "tileset: built-in\n");
    const test::Run builtInText =
        test::Lvl("undump " + text + " " + out + " --tileset " + embedded, folder);
    EXPECT_EQ(builtInText.exitCode, 1);
    EXPECT_EQ(builtInText.err, "krav-lvl: " + text +
                                   ":1: the level has the built-in tile set, "
                                   "but --tileset " +
                                   embedded + " gives one of its own\n");
    // "tileset: embedded" without a hash takes the tile set given.
    test::WriteText(text, "tileset: embedded\n");
    ASSERT_EQ(test::Lvl("undump " + text + " " + out + " --tileset " + other, folder).exitCode, 0);
    EXPECT_EQ(test::ScratchFolder::Read(out), test::MakeBmp({.extraBytes = 1}));
}

} // namespace
} // namespace krav
