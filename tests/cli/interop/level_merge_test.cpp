// merge: three-way merges of levels, cell by cell, objects whole.
#include "LvlRunner.h"
#include "document/TileCodes.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace krav {
namespace {

using test::Bytes;
using Map = std::vector<std::uint32_t>;

void Put(Map& map, int col, int row, Cell v) {
    map[static_cast<std::size_t>(row) * MAP_SIZE + col] = v;
}

// An object's whole footprint, as reading a level puts it.
void PutObject(Map& map, int col, int row, Cell base) {
    const int side = ObjectSide(base);
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c)
            Put(map, col + c, row + r, base + static_cast<Cell>(r * side + c));
}

// The 6 x 6 object of the tests' base at 100,100, removed or moved a cell to the right.
void RemoveBaseObject(Map& map) {
    for (int r = 100; r < 106; ++r)
        for (int c = 100; c < 106; ++c)
            Put(map, c, r, EMPTY_CELL);
}

void MoveBaseObject(Map& map) {
    RemoveBaseObject(map);
    PutObject(map, 101, 100, OBJECT_6X6);
}

class Merge : public ::testing::Test {
protected:
    Merge() : base(MAP_CELLS, EMPTY_CELL) {}

    // Merges the three maps (each with its tile set) into out.lvl.
    test::Run Run(const Map& ours, const Map& theirs, const Bytes& baseSet = {},
                  const Bytes& oursSet = {}, const Bytes& theirsSet = {},
                  const std::string& options = "") {
        return test::Lvl(
            "merge " + options + folder.Write("base.lvl", test::LevelOf(base, baseSet)) + " " +
                folder.Write("ours.lvl", test::LevelOf(ours, oursSet)) + " " +
                folder.Write("theirs.lvl", test::LevelOf(theirs, theirsSet)) + " " + Out(),
            folder);
    }

    std::string Out() const { return folder.Path("out.lvl"); }
    Bytes OutBytes() const { return test::ScratchFolder::Read(Out()); }

    Map base;
    test::ScratchFolder folder;
};

// Every kind of change at once: one side's changes are taken, alike changes once, different
// changes keep ours and are listed with the values dump shows.
TEST_F(Merge, CellsTakeTheSideThatChangedThemAndConflictsKeepOurs) {
    for (int col = 0; col < 8; ++col)
        Put(base, col, 0, 10);
    Put(base, 0, 5, KeptCell(241));
    Map ours = base, theirs = base, expected = base;
    Put(ours, 0, 0, 20);           // ours only
    Put(theirs, 1, 0, 21);         // theirs only
    Put(theirs, 2, 0, EMPTY_CELL); // theirs erased it
    Put(ours, 3, 0, 22);           // alike on both
    Put(theirs, 3, 0, 22);
    Put(ours, 4, 0, 23); // different: a conflict
    Put(theirs, 4, 0, 24);
    Put(ours, 5, 0, EMPTY_CELL); // erased here, changed there
    Put(theirs, 5, 0, 25);
    Put(ours, 6, 1, 26); // a block painted differently on both
    Put(ours, 7, 1, 26);
    Put(ours, 6, 2, 26);
    Put(ours, 7, 2, 26);
    for (int col = 6; col < 8; ++col)
        for (int row = 1; row < 3; ++row)
            Put(theirs, col, row, 27);
    Put(theirs, 0, 5, 28); // a kept cell of an unknown code painted over
    Put(theirs, 1, 5, KeptCell(242));
    for (const auto& [col, row, v] : std::vector<std::tuple<int, int, Cell>>{{0, 0, 20},
                                                                             {1, 0, 21},
                                                                             {2, 0, EMPTY_CELL},
                                                                             {3, 0, 22},
                                                                             {4, 0, 23},
                                                                             {5, 0, EMPTY_CELL},
                                                                             {6, 1, 26},
                                                                             {7, 1, 26},
                                                                             {6, 2, 26},
                                                                             {7, 2, 26},
                                                                             {0, 5, 28},
                                                                             {1, 5, KeptCell(242)}})
        Put(expected, col, row, v);

    const test::Run run = Run(ours, theirs, {}, {}, {}, "--keep-unknown ");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "4,0: 11 -> 24 | 25\n"
                       "5,0: 11 -> empty | 26\n"
                       "6,1..7,2: empty -> 27 | 28\n");
    EXPECT_EQ(OutBytes(), test::LevelOf(expected));

    // Without the conflicting cells the same merge is clean.
    Put(theirs, 4, 0, 23);
    Put(theirs, 5, 0, EMPTY_CELL);
    for (int col = 6; col < 8; ++col)
        for (int row = 1; row < 3; ++row)
            Put(theirs, col, row, 26);
    const test::Run clean = Run(ours, theirs, {}, {}, {}, "--keep-unknown ");
    EXPECT_EQ(clean.exitCode, 0) << clean.err;
    EXPECT_EQ(clean.err, "");
    EXPECT_EQ(OutBytes(), test::LevelOf(expected));
}

// Objects merge whole: never a part of one without the rest, never one over a change of the
// other side.
TEST_F(Merge, ObjectsMergeAsWholeObjects) {
    PutObject(base, 100, 100, OBJECT_6X6);
    Put(base, 50, 50, 3);
    struct Case {
        const char* name;
        void (*ours)(Map&);
        void (*theirs)(Map&);
        int exitCode;
        bool oursWhole; // the result is ours; else the listed cells of theirs are
        std::string err;
    };
    const Case cases[] = {
        {"added on one side", [](Map& m) { PutObject(m, 10, 10, OBJECT_5X5); }, [](Map&) {}, 0,
         true, ""},
        {"removed on one side, unchanged on the other", [](Map&) {}, RemoveBaseObject, 0, false,
         ""},
        {"added alike on both", [](Map& m) { PutObject(m, 10, 10, OBJECT_2X2); },
         [](Map& m) { PutObject(m, 10, 10, OBJECT_2X2); }, 0, true, ""},
        {"added over a cell the other side painted",
         [](Map& m) { PutObject(m, 10, 10, OBJECT_6X6); }, [](Map& m) { Put(m, 12, 13, 7); }, 1,
         true, "10,10: empty -> 500 | empty\n12,13: empty -> empty | 8\n"},
        {"footprints that collide", [](Map& m) { PutObject(m, 10, 10, OBJECT_6X6); },
         [](Map& m) { PutObject(m, 15, 15, OBJECT_2X2); }, 1, true,
         "10,10: empty -> 500 | empty\n15,15: empty -> empty | 700\n"},
        {"footprints side by side", [](Map& m) { PutObject(m, 10, 10, OBJECT_6X6); },
         [](Map& m) { PutObject(m, 16, 10, OBJECT_5X5); }, 0, false, ""},
        {"moved on one side, a tile next to it on the other", MoveBaseObject,
         [](Map& m) { Put(m, 100, 106, 9); }, 0, false, ""},
        {"moved on one side over a tile painted on the other", MoveBaseObject,
         [](Map& m) { Put(m, 106, 101, 9); }, 1, true,
         "100,100: 500 -> empty | 500\n101,100: empty -> 500 | empty\n"
         "106,101: empty -> empty | 10\n"},
        {"painted over on one side, removed on the other",
         [](Map& m) {
             RemoveBaseObject(m);
             Put(m, 102, 102, 4);
         },
         RemoveBaseObject, 1, true, "102,102: empty -> 5 | empty\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Map ours = base, theirs = base;
        c.ours(ours);
        c.theirs(theirs);
        const test::Run run = Run(ours, theirs);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err, c.err);
        Map expected = c.oursWhole ? ours : theirs;
        if (!c.oursWhole) // theirs, with what only ours changed
            for (std::size_t i = 0; i < expected.size(); ++i)
                if (ours[i] != base[i])
                    expected[i] = ours[i];
        EXPECT_EQ(OutBytes(), test::LevelOf(expected));
        // What is written reads back as the map merged: resaving it changes nothing.
        const test::Run resave = test::Lvl("resave " + Out() + " " + folder.Path("re.lvl"), folder);
        EXPECT_EQ(resave.exitCode, 0);
        EXPECT_EQ(test::ScratchFolder::Read(folder.Path("re.lvl")), OutBytes());
    }
}

// A merge that would pass 256 flags is a conflict: the cells where theirs adds flags keep
// ours; theirs' other changes are still taken.
TEST_F(Merge, AMergePastTheFlagLimitIsAConflict) {
    for (int col = 0; col < 250; ++col)
        Put(base, col, 0, FLAG_CELL);
    Map ours = base, theirs = base;
    for (int col = 0; col < 3; ++col)
        Put(ours, col, 1, FLAG_CELL);
    for (int col = 0; col < 3; ++col)
        Put(theirs, col, 2, FLAG_CELL);
    Put(theirs, 9, 9, 1);
    Map expected = ours;
    Put(expected, 9, 9, 1);
    for (int col = 0; col < 3; ++col)
        Put(expected, col, 2, FLAG_CELL); // 256: clean
    const test::Run fits = Run(ours, theirs);
    EXPECT_EQ(fits.exitCode, 0) << fits.err;
    EXPECT_EQ(OutBytes(), test::LevelOf(expected));

    Put(theirs, 3, 2, FLAG_CELL);
    Put(theirs, 4, 2, FLAG_CELL);
    const test::Run past = Run(ours, theirs);
    EXPECT_EQ(past.exitCode, 1);
    EXPECT_EQ(past.err, "flags: 250 -> 253 | 255: merged 258, more than 256; the cells where "
                        "theirs adds flags keep ours\n"
                        "0,2..4,2: empty -> empty | 170\n");
    Map kept = ours;
    Put(kept, 9, 9, 1);
    EXPECT_EQ(OutBytes(), test::LevelOf(kept));

    // A side already past the limit is no merge's doing.
    Map many = base;
    for (int col = 0; col < 10; ++col)
        Put(many, col, 3, FLAG_CELL);
    base = many;
    Map oursMany = many;
    Put(oursMany, 9, 9, 1);
    EXPECT_EQ(Run(oursMany, many).exitCode, 0);
}

// A tile set changed on one side is taken; changed differently on both, ours stays.
TEST_F(Merge, TileSetsMergeAsOneValue) {
    const Bytes x = test::MakeBmp(), y = test::MakeBmp({.extraBytes = 2});
    Put(base, 1, 1, 5);
    const struct {
        Bytes base, ours, theirs, merged;
        int exitCode;
    } cases[] = {
        {{}, {}, x, x, 0}, {x, x, {}, {}, 0}, {{}, x, x, x, 0}, {x, y, x, y, 0}, {{}, x, y, x, 1},
    };
    for (const auto& c : cases) {
        const test::Run run = Run(base, base, c.base, c.ours, c.theirs);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(OutBytes(), test::LevelOf(base, c.merged));
        if (c.exitCode == 1) {
            EXPECT_EQ(run.err.rfind("tileset: built-in -> embedded sha256 ", 0), 0u) << run.err;
            EXPECT_NE(run.err.find(" | embedded sha256 "), std::string::npos) << run.err;
        }
    }
}

// Never a word of OUT on an error: unreadable or cut inputs, a folder as OUT, OUT the same
// file as BASE or THEIRS all exit 2, name the file and leave OUT (and OURS) as they were.
TEST_F(Merge, ErrorsExitTwoNameTheFileAndWriteNothing) {
    Put(base, 1, 1, 5);
    const std::string good = folder.Write("good.lvl", test::LevelOf(base));
    Bytes corrupt;
    test::AppendRecord(corrupt, 0, 0, 0);
    const std::string bad = folder.Write("bad.lvl", corrupt);
    Bytes cut = test::MakeBmp();
    cut.resize(1000); // a tile set that ends in its colour table
    const std::string truncated = folder.Write("cut.lvl", cut);
    const std::string missing = folder.Path("missing.lvl");
    std::filesystem::create_directory(folder.Path("dir.lvl"));
    const Bytes old{'o', 'l', 'd'};
    const std::string out = folder.Write("out.lvl", old);
    const std::string ours = folder.Write("ours.lvl", test::LevelOf(base));
    const std::string link = folder.Path("link.lvl"); // THEIRS by another name
    std::filesystem::create_symlink(good, link);
    const struct {
        std::string arguments;
        std::string named; // the file the message is about
    } cases[] = {
        {bad + " " + ours + " " + good + " " + out, bad},
        {good + " " + ours + " " + truncated + " " + out, truncated},
        {good + " " + missing + " " + good + " " + out, missing},
        {good + " " + ours + " " + bad + " " + ours, bad}, // OUT is OURS: OURS stays
        {good + " " + ours + " " + good + " " + folder.Path("dir.lvl"), folder.Path("dir.lvl")},
        {out + " " + ours + " " + good + " " + out, out},
        {good + " " + ours + " " + out + " " + out, out},
        {out + " " + out + " " + good + " " + out, out}, // OUT is OURS and BASE
        {good + " " + ours + " " + good + " " + link, link},
        {good + " " + ours + " " + good, ""}, // usage
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const test::Run run = test::Lvl("merge " + c.arguments, folder);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(c.named.empty() ? "usage:" : "krav-lvl: " + c.named + ": "),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(test::ScratchFolder::Read(out), old);
        EXPECT_EQ(test::ScratchFolder::Read(ours), test::LevelOf(base));
        EXPECT_TRUE(std::filesystem::is_directory(folder.Path("dir.lvl")));
    }
}

// OUT may be OURS, as git's %A is: it is replaced whole by the merge, once all is read.
TEST_F(Merge, OutMayBeOurs) {
    Map ours = base, theirs = base;
    Put(ours, 1, 1, 5);
    Put(theirs, 2, 2, 6);
    const std::string oursPath = folder.Write("ours.lvl", test::LevelOf(ours));
    const test::Run run =
        test::Lvl("merge " + folder.Write("base.lvl", test::LevelOf(base)) + " " + oursPath + " " +
                      folder.Write("theirs.lvl", test::LevelOf(theirs)) + " " + oursPath,
                  folder);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    Put(ours, 2, 2, 6);
    EXPECT_EQ(test::ScratchFolder::Read(oursPath), test::LevelOf(ours));
}

} // namespace
} // namespace krav
