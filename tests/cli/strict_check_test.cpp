// check --strict: levels that open, but hold what the editor would not have made.
#include "support/CommandRun.h"
#include "support/LevelBytes.h"

#include <gtest/gtest.h>

namespace krav {
namespace {

using test::AppendRecord;
using test::Bytes;

TEST(StrictCheck, FailsWhatOpenWarnsAboutSettlesOrKeepsAndNothingElse) {
    test::ScratchFolder folder;
    Bytes flags;
    for (int i = 0; i < 257; ++i)
        AppendRecord(flags, 170, i, 3);
    Bytes tileInFootprint; // as a file written row by row has it
    AppendRecord(tileInFootprint, 219, 10, 10);
    AppendRecord(tileInFootprint, 5, 12, 12);
    Bytes pastEdge;
    AppendRecord(pastEdge, 220, 1020, 5);
    Bytes trailing = test::MakeBmp({.extraBytes = 34});
    AppendRecord(trailing, 5, 0, 0);
    Bytes fine = test::MakeBmp();
    AppendRecord(fine, 219, 0, 0);
    AppendRecord(fine, 5, 2000, 0); // past the map: skipped, as ever
    for (int i = 0; i < 256; ++i)
        AppendRecord(fine, 170, i, 8);
    const std::string fixtures = std::string(KRAV_SOURCE_DIR) + "/tests/fuzz-regressions/";
    const struct {
        std::string path;
        std::string options;
        std::string strict; // after "PATH: "; empty for "ok"
    } cases[] = {
        {folder.Write("fine.lvl", fine), "", ""},
        {folder.Write("flags.lvl", flags), "",
         "strict: This map has to many initial flags I'll let it slide but you will not be able "
         "to add anymore."},
        {folder.Write("tile.lvl", tileInFootprint), "",
         "strict: special objects overlapped each other or tiles and were settled on reading "
         "(the object at column 10, row 10)"},
        {fixtures + "tile-on-an-object-anchor.lvl", "",
         "strict: special objects overlapped each other or tiles and were settled on reading"},
        {fixtures + "object-on-an-object-anchor.lvl", "",
         "strict: special objects overlapped each other or tiles and were settled on reading"},
        {folder.Write("edge.lvl", pastEdge), "",
         "strict: the object at column 1020, row 5 reaches past the map's edge"},
        {folder.Write("unknown.lvl", test::LevelWithUnknownCodes()), "--keep-unknown ",
         "strict: 6 cells of unknown codes kept (codes 241, 242)"},
        {folder.Write("trailing.lvl", trailing), "",
         "strict: 34 bytes kept verbatim after the tile set's pixels"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const Bytes before = test::ScratchFolder::Read(c.path);
        const std::string lvl = std::string(KRAV_LVL) + " check " + c.options;
        const test::Run plain = test::RunCommand(lvl + c.path, folder);
        EXPECT_EQ(plain.exitCode, 0);
        EXPECT_EQ(plain.out, c.path + ": ok\n");
        const test::Run strict = test::RunCommand(lvl + "--strict " + c.path, folder);
        EXPECT_EQ(strict.exitCode, c.strict.empty() ? 0 : 1);
        EXPECT_EQ(strict.out, c.path + ": " + (c.strict.empty() ? "ok" : c.strict) + "\n");
        EXPECT_EQ(strict.err, "");
        EXPECT_EQ(test::ScratchFolder::Read(c.path), before); // check only reads
    }

    // Every level is reported; one that fails fails the run, wherever --strict stands.
    Bytes bad;
    AppendRecord(bad, 200, 1, 1);
    const std::string broken = folder.Write("broken.lvl", bad);
    const test::Run several = test::RunCommand(std::string(KRAV_LVL) + " check " + cases[0].path +
                                                   " " + broken + " " + cases[1].path + " --strict",
                                               folder);
    EXPECT_EQ(several.exitCode, 1);
    EXPECT_EQ(several.out.substr(0, cases[0].path.size() + 5), cases[0].path + ": ok\n");
    EXPECT_NE(several.out.find("\n" + broken + ": The map tile data is corrupt: Tile ID out"),
              std::string::npos)
        << several.out;
    EXPECT_NE(several.out.find("\n" + cases[1].path + ": strict: This map has to many"),
              std::string::npos)
        << several.out;
    EXPECT_EQ(test::RunCommand(std::string(KRAV_LVL) + " check --strict", folder).exitCode, 2);
}

} // namespace
} // namespace krav
