// krav-lvl play: scripts driving the editor without a display, end to end.
#include "support/CommandRun.h"
#include "support/LevelBytes.h"

#include <fstream>
#include <gtest/gtest.h>

namespace krav {
namespace {

constexpr int FLAG_TILE_CODE = 170;

using PlayRun = test::Run;

class Play : public ::testing::Test {
protected:
    PlayRun Run(const std::string& script, const std::string& level = "new") {
        const std::string scriptPath = folder.Path("script.play");
        std::ofstream(scriptPath) << script;
        return test::RunCommand(
            std::string(KRAV_LVL) + " play " + scriptPath + " " + level + " " + Out(), folder);
    }
    std::string Out() const { return folder.Path("out.lvl"); }

    test::ScratchFolder folder;
};

TEST_F(Play, DrawsALineAndSavesTheLevel) {
    const PlayRun run =
        Run("tool 32110\ntile fore 5\ndown left 8 8\nmove 88 40 left\n"
            "up left 88 40\nexpect-cell 5 2 5\nexpect-cell 0 0 5\nexpect-cell 3 1 5\n");
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    test::Bytes expected;
    for (const auto& [x, y] : {std::pair{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}})
        test::AppendRecord(expected, 6, x, y);
    EXPECT_EQ(test::ScratchFolder::Read(Out()), expected);
}

// A Pencil drag sampled a few cells apart paints every cell in between, as one line.
TEST_F(Play, AFastPencilStrokeLeavesNoGaps) {
    // 255 flags along row 100, one more at (9, 1), and a 2 x 2 object at (4, 1).
    test::Bytes level;
    for (int x = 0; x < 255; ++x)
        test::AppendRecord(level, FLAG_TILE_CODE, x, 100);
    test::AppendRecord(level, FLAG_TILE_CODE, 9, 1);
    test::AppendRecord(level, 217, 4, 1);
    const std::string full = folder.Write("full.lvl", level);

    const auto expectRow = [](int first, int last, int row, int value) {
        std::string lines;
        for (int column = first; column <= last; ++column)
            lines += "expect-cell " + std::to_string(column) + " " + std::to_string(row) + " " +
                     std::to_string(value) + "\n";
        return lines;
    };
    struct Case {
        std::string name, level, script, out;
    };
    const std::vector<Case> cases{
        {"diagonal", "new",
         "tool 32100\ntile fore 5\ndown left 8 8\nmove 88 40 left\nup left 88 40\n"
         "expect-cell 0 0 5\nexpect-cell 1 0 5\nexpect-cell 2 1 5\nexpect-cell 3 1 5\n"
         "expect-cell 4 2 5\nexpect-cell 5 2 5\nexpect-cell 1 1 -1\nexpect-cell 4 1 -1\n",
         ""},
        {"horizontal, every sixth cell", "new",
         "tool 32100\ntile fore 5\ndown left 8 24\nmove 104 24 left\nmove 200 24 left\n"
         "up left 200 24\n" +
             expectRow(0, 12, 1, 5) + "expect-cell 13 1 -1\n",
         ""},
        {"eraser", "new",
         "tool 32100\ntile fore 5\ndown left 8 24\nmove 200 24 left\nup left 200 24\n"
         "tool 32102\ndown left 40 24\nmove 168 24 left\nup left 168 24\n" +
             expectRow(2, 10, 1, -1) + "expect-cell 1 1 5\nexpect-cell 11 1 5\n",
         ""},
        {"flags at the limit, then over the object and a flag", full,
         // A flag over the flag at (9, 1) costs nothing; (10, 1) is refused and ends the stroke.
         "tool 32100\ntile fore 169\ndown left 152 24\nmove 200 24 left\nup left 200 24\n"
         "expect-cell 9 1 169\nexpect-cell 10 1 -1\nexpect-flags 256\n"
         "tile fore 5\ndown left 40 24\nmove 200 24 left\nup left 200 24\n" +
             expectRow(2, 12, 1, 5) +
             "expect-cell 5 2 -1\nexpect-flags 255\naccel ctrl+z\nexpect-cell 5 2 703\n"
             "expect-flags 256\n",
         "message: To many flags!\\nYou can't add anymore.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PlayRun run = Run(c.script, c.level);
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        EXPECT_EQ(run.out, c.out);
    }

    // The stroke is the line the Line tool draws between the same cells.
    const std::string stroke = "tile fore 5\ndown left 8 8\nmove 328 136 left\nup left 328 136\n";
    ASSERT_EQ(Run("tool 32110\n" + stroke).exitCode, 0);
    const test::Bytes line = test::ScratchFolder::Read(Out());
    ASSERT_EQ(Run("tool 32100\n" + stroke).exitCode, 0);
    EXPECT_EQ(test::ScratchFolder::Read(Out()), line);
    EXPECT_EQ(line.size(), 21u * 4);
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
    for (int i = 0; i < 257; ++i)
        test::AppendRecord(bytes, 170, i, 0);
    const PlayRun run =
        Run("expect-flags 256\nexpect-cell 256 0 169\n", folder.Write("flags.lvl", bytes));
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out,
              "message: This map has to many initial flags\\nI'll let it slide but you will "
              "not be able to add anymore.\n");

    test::Bytes bad;
    test::AppendRecord(bad, 0, 0, 0);
    const std::string level = folder.Write("bad.lvl", bad);
    const PlayRun refused = Run("print flags\n", level);
    EXPECT_EQ(refused.exitCode, 1);
    // The reader's words, then where the bad record is.
    EXPECT_EQ(refused.err.rfind("krav-lvl: " + level +
                                    ": The map tile data is corrupt:\nTile ID out of Range!\n\n" +
                                    level + ": 1 record has",
                                0),
              0u)
        << refused.err;
}

TEST_F(Play, ScriptErrorsAreUsageErrors) {
    for (const char* script :
         {"frobnicate\n", "down middle 1 2\n", "tile fore 190\n", "expect-text 9 x\n", "move 1\n",
          "accel ctrl+q\n", "accel\n", "close now\n", "print checks 1\n", "wheel 120 1\n",
          "wheel 120 1 2 alt\n", "wheel x 1 2\n", "key home left\n"}) {
        const PlayRun run = Run(std::string("# a comment\n") + script);
        EXPECT_EQ(run.exitCode, 2) << script;
        EXPECT_NE(run.err.find("script.play:2: "), std::string::npos) << run.err;
    }
}

// The wheel as the view takes it: a third of a notch is a line, Shift scrolls sideways,
// Control zooms at the pointer; Home and End go to the map's edges, with ctrl to its corners.
TEST_F(Play, TheWheelAndHomeAndEndMoveTheViewAsTheEditorsViewDoes) {
    const PlayRun run = Run(
        "size 640 480\n"
        "key end ctrl\nexpect-text 2 984, 994 --> 1024, 1024 :: S20 --> T20\n"
        "key home\nexpect-text 2 0, 994 --> 40, 1024 :: A20 --> A20\n"
        "wheel 120 10 10\nexpect-text 2 0, 991 --> 40, 1021 :: A20 --> A20\n"
        "wheel -240 10 10 shift\n"
        "expect-text 2 6, 991 --> 46, 1021 :: A20 --> A20\n"
        "wheel -40 10 10\nwheel -40 10 10\nwheel -40 10 10\n"
        "expect-text 2 6, 994 --> 46, 1024 :: A20 --> A20\n"
        "wheel -60 10 10 ctrl\nexpect-text 4 Zoom: 1:1\n"
        "wheel -300 10 10 ctrl\nexpect-text 4 Zoom: 1:8\n"
        "key home ctrl\nwheel 120 200 100 ctrl\nexpect-text 4 Zoom: 1:4\n" // cell (100, 50) stays

        "expect-text 2 50, 25 --> 210, 145 :: A1 --> E3\n");
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
}

// Zoomed out to 1:16 with a 3 x 10 selection among flags, Delete takes exactly its cells.
TEST_F(Play, AfterAZoomDeleteTakesTheSelectedCellsOnly) {
    const PlayRun run = Run("size 640 480\ntool 32113\ntile fore 169\n"
                            "down left 296 56\nmove 392 264 left\nup left 392 264\n"
                            "expect-flags 98\ntool 32101\n"
                            "down left 328 88\nmove 376 248 left\nup left 376 248\n"
                            "wheel -480 100 100 ctrl\nexpect-text 4 Zoom: 1:16\n"
                            "expect-text 3 20,5 --> 23,15 :: A1 --> A1\n"
                            "accel delete\nexpect-flags 68\n"
                            "expect-cell 20 5 -1\nexpect-cell 22 14 -1\nexpect-cell 19 5 169\n"
                            "expect-cell 23 5 169\nexpect-cell 20 15 169\nexpect-cell 20 4 169\n");
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
}

TEST_F(Play, AccelSendsTheMenusCommandAndChecksShowWhatIsChecked) {
    const PlayRun run = Run("print checks\n"
                            "tool 32102\ntile fore 0\nprint checks\n" // the tile already chosen
                            "tile fore 3\nprint checks\n"             // another: the Pencil
                            "accel g\naccel shift+s\ncommand 59393\nprint checks\n"
                            "accel ctrl+z\naccel delete\naccel f6\n"
                            "tool 32100\naccel <\ndown right 8 8\nup right 8 8\naccel ctrl+z\n"
                            "expect-cell 0 0 -1\naccel ctrl+y\nexpect-cell 0 0 0\n");
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "checks: 130 32100 32200 32401 32403 32404 59392 59393\n"
                       "checks: 130 32102 32200 32401 32403 32404 59392 59393\n"
                       "checks: 130 32100 32200 32401 32403 32404 59392 59393\n"
                       "checks: 130 32101 32401 32403 32404 59392\n"
                       "disabled: 57643\ndisabled: 57635\ndisabled: 57680\n");
}

TEST_F(Play, CloseAsksToSaveAModifiedLevel) {
    const std::string draw = "down left 8 8\nup left 8 8\n"; // tile 0 into cell (0, 0)
    const std::string question = "message: Save changes to KRAV1?\n";
    test::Bytes drawn;
    test::AppendRecord(drawn, 1, 0, 0);
    struct Case {
        std::string name, script, out;
        test::Bytes level; // what OUT holds
    };
    const std::vector<Case> cases{
        {"yes saves it as OUT", draw + "answer yes\nclose\nprint checks\ncommand 32100\n",
         question + "checks: 130 59392 59393\ndisabled: 32100\n", drawn},
        {"no discards the changes",
         draw + "answer no\nclose\nprint checks\n",
         question + "checks: 130 59392 59393\n",
         {}},
        {"without an answer the view stays", draw + "close\nprint modified\n",
         question + "modified: yes\n", drawn},
        {"an unmodified level closes without asking",
         "print modified\nclose\n",
         "modified: no\n",
         {}},
        {"the next view becomes active",
         "new\n" + draw + "view 1\nclose\nexpect-cell 0 0 0\nclose\n",
         "message: Save changes to KRAV2?\n",
         {}},
        {"the first view after the last",
         "new\n" + draw + "new\nclose\nexpect-cell 0 0 -1\n",
         "",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(Out().c_str());
        const PlayRun run = Run(c.script);
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(test::ScratchFolder::Read(Out()), c.level);
    }
}

TEST_F(Play, WithEveryViewClosedViewStepsFail) {
    const PlayRun run = Run("close\nmove 8 8\nclose\nprint flags\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "disabled: 57602\nexpect failed: there is no view\n");
}

TEST_F(Play, ABlockCopiedInOneLevelPastesIntoAnother) {
    const PlayRun run =
        Run("object 800\nmove 40 40\ndown left 40 40\nup left 40 40\n" // a 1 x 1 object at (2, 2)
            "tool 32101\ndown left 16 16\nmove 64 64 left\nup left 64 64\n" // select (1,1)-(3,3)
            "command 57634\nnew\ncommand 57637\nexpect-text 3\n"
            "command 32518\nexpect-cell 1 1 800\nsave " +
            folder.Path("second.lvl") +
            "\nview 1\n"
            "expect-cell 2 2 800\nexpect-cell 1 1 -1\n");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    test::Bytes second;
    test::AppendRecord(second, 216, 1, 1);
    EXPECT_EQ(test::ScratchFolder::Read(folder.Path("second.lvl")), second);
}

} // namespace
} // namespace krav
