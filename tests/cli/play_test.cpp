// krav-lvl play: scripts driving the editor without a display, end to end.
#include "support/LevelBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace krav {
namespace {

struct PlayRun {
    int exitCode;
    std::string out;
    std::string err;
};

class Play : public ::testing::Test {
protected:
    PlayRun Run(const std::string& script, const std::string& level = "new") {
        const std::string scriptPath = folder.Path("script.play");
        std::ofstream(scriptPath) << script;
        const std::string command = std::string(KRAV_LVL) + " play " + scriptPath + " " + level + " " +
                                    Out() + " 2>" + folder.Path("stderr.txt");
        FILE* pipe = ::popen(command.c_str(), "r");
        std::string out;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        const int status = ::pclose(pipe);
        std::stringstream err;
        err << std::ifstream(folder.Path("stderr.txt")).rdbuf();
        return {WEXITSTATUS(status), out, err.str()};
    }
    std::string Out() const { return folder.Path("out.lvl"); }

    test::ScratchFolder folder;
};

TEST_F(Play, DrawsALineAndSavesTheLevel) {
    const PlayRun run = Run("tool 32110\ntile fore 5\ndown left 8 8\nmove 88 40 left\n"
                            "up left 88 40\nexpect-cell 5 2 5\nexpect-cell 0 0 5\nexpect-cell 3 1 5\n");
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    test::Bytes expected;
    for (const auto [x, y] : {std::pair{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}})
        test::AppendRecord(expected, 6, x, y);
    EXPECT_EQ(test::ScratchFolder::Read(Out()), expected);
}

TEST_F(Play, PrintsMessagesBeepsAndDisabledCommands) {
    const PlayRun run = Run("key tab\ncommand 57634\ncommand 32505\nanswer yes\ncommand 32505\n"
                            "print flags\nexpect-text 4 Zoom: 1:1\nexpect-text 5 Flags: 0   \n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string question =
        "message: The entire map will be erased. This operation cannot be undone! Continue?\n";
    EXPECT_EQ(run.out, "beep: 0\ndisabled: 57634\n" + question + question + "flags: 0\n");
}

TEST_F(Play, AFailedExpectationEndsWithExitOne) {
    const PlayRun run = Run("expect-cell 3 4 7\nexpect-cell 0 0 -1\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "expect failed: cell 3 4 is -1, expected 7\n");
}

TEST_F(Play, ReadsTheLevelAndReportsItsWarnings) {
    test::Bytes bytes;
    for (int i = 0; i < 257; ++i) test::AppendRecord(bytes, 170, i, 0);
    const PlayRun run = Run("expect-flags 256\nexpect-cell 256 0 169\n", folder.Write("flags.lvl", bytes));
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, "message: This map has to many initial flags\\nI'll let it slide but you will "
                       "not be able to add anymore.\n");

    test::Bytes bad;
    test::AppendRecord(bad, 0, 0, 0);
    const PlayRun refused = Run("print flags\n", folder.Write("bad.lvl", bad));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "The map tile data is corrupt:\nTile ID out of Range!\n");
}

TEST_F(Play, ScriptErrorsAreUsageErrors) {
    for (const char* script : {"frobnicate\n", "down middle 1 2\n", "tile fore 190\n", "expect-text 9 x\n",
                               "move 1\n"}) {
        const PlayRun run = Run(std::string("# a comment\n") + script);
        EXPECT_EQ(run.exitCode, 2) << script;
        EXPECT_NE(run.err.find("script.play:2: "), std::string::npos) << run.err;
    }
}

TEST_F(Play, ABlockCopiedInOneLevelPastesIntoAnother) {
    const PlayRun run = Run(
        "object 800\nmove 40 40\ndown left 40 40\nup left 40 40\n" // a 1 x 1 object at (2, 2)
        "tool 32101\ndown left 16 16\nmove 64 64 left\nup left 64 64\n" // select (1,1)-(3,3)
        "command 57634\nnew\ncommand 57637\nexpect-text 3\n"
        "command 32518\nexpect-cell 1 1 800\nsave " + folder.Path("second.lvl") + "\nview 1\n"
        "expect-cell 2 2 800\nexpect-cell 1 1 -1\n");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    test::Bytes second;
    test::AppendRecord(second, 216, 1, 1);
    EXPECT_EQ(test::ScratchFolder::Read(folder.Path("second.lvl")), second);
}

} // namespace
} // namespace krav
