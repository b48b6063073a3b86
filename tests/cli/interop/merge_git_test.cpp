// merge as git's merge driver, set up as the README says.
#include "LvlRunner.h"
#include "document/TileCodes.h"

#include <gtest/gtest.h>

namespace krav {
namespace {

using Map = std::vector<std::uint32_t>;

void Put(Map& map, int col, int row, Cell v) {
    map[static_cast<std::size_t>(row) * MAP_SIZE + col] = v;
}

class MergeInGit : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::ProgramInstalled("git"))
            GTEST_SKIP() << "git is not installed";
        git = "cd " + folder.Path("") + " && git -c user.name=t -c user.email=t@t ";
        const std::string setUp = test::ReadmeGitSetup();
        ASSERT_NE(setUp.find("merge %O %A %B %A"), std::string::npos) << setUp;
        ASSERT_EQ(Git("init -q -b main . && " + setUp + "true").exitCode, 0);
    }

    test::Run Git(const std::string& command) { return test::RunCommand(git + command, folder); }

    void Commit(const Map& map, const std::string& message) {
        folder.Write("level.lvl", test::LevelOf(map));
        ASSERT_EQ(Git("add level.lvl .gitattributes && " + git + "commit -qm " + message).exitCode,
                  0);
    }

    std::string git;
    test::ScratchFolder folder;
};

// Two designers edit the same level on two branches: different cells, the same cells alike,
// and the same cells differently. git merges the rest and reports the conflict; the level in
// the work tree holds ours at the conflict and every other change of both.
TEST_F(MergeInGit, BranchesMergeCellByCellThroughTheReadmeSetup) {
    Map base(MAP_CELLS, EMPTY_CELL);
    for (int col = 0; col < 6; ++col)
        Put(base, col, 0, 10);
    Put(base, 20, 20, OBJECT_1X1);
    Commit(base, "base");
    ASSERT_EQ(Git("branch other").exitCode, 0);

    Map ours = base, theirs = base;
    Put(ours, 0, 0, 1); // different cells
    Put(theirs, 1, 0, 2);
    Put(ours, 2, 0, 3); // the same cells alike
    Put(theirs, 2, 0, 3);
    Put(ours, 3, 0, 4); // the same cell differently
    Put(theirs, 3, 0, 5);
    Put(theirs, 20, 20, EMPTY_CELL); // an object removed there, untouched here
    Commit(ours, "ours");
    ASSERT_EQ(Git("checkout -q other").exitCode, 0);
    Commit(theirs, "theirs");
    ASSERT_EQ(Git("checkout -q main").exitCode, 0);

    const test::Run merge = Git("merge --no-edit other");
    EXPECT_EQ(merge.exitCode, 1) << merge.out << merge.err;
    EXPECT_NE(("\n" + merge.err).find("\n3,0: 11 -> 5 | 6\n"), std::string::npos) << merge.err;
    EXPECT_NE(merge.out.find("CONFLICT (content): Merge conflict in level.lvl"), std::string::npos)
        << merge.out;
    EXPECT_EQ(Git("diff --name-only --diff-filter=U").out, "level.lvl\n");
    Map expected = ours;
    Put(expected, 1, 0, 2);
    Put(expected, 20, 20, EMPTY_CELL);
    EXPECT_EQ(test::ScratchFolder::Read(folder.Path("level.lvl")), test::LevelOf(expected));

    // Resolved as ours, committed; the next merge of changes elsewhere is clean.
    ASSERT_EQ(Git("commit -qam resolved").exitCode, 0);
    ASSERT_EQ(Git("checkout -q other").exitCode, 0);
    Put(theirs, 5, 0, 7);
    Commit(theirs, "more");
    ASSERT_EQ(Git("checkout -q main").exitCode, 0);
    Put(expected, 4, 9, 8);
    Commit(expected, "mine");
    const test::Run clean = Git("merge --no-edit other");
    EXPECT_EQ(clean.exitCode, 0) << clean.out << clean.err;
    EXPECT_EQ(Git("status --porcelain --untracked-files=no").out, "");
    Put(expected, 5, 0, 7);
    EXPECT_EQ(test::ScratchFolder::Read(folder.Path("level.lvl")), test::LevelOf(expected));
}

} // namespace
} // namespace krav
