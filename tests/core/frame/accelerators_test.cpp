// The main frame's keys, shared by the editor's actions and krav-lvl play's accel.
#include "frame/Accelerators.h"
#include "frame/CommandIds.h"

#include <gtest/gtest.h>
#include <string_view>
#include <vector>

namespace krav {
namespace {

TEST(Accelerators, KeysAsAScriptWritesThemFindTheirCommand) {
    struct Case {
        const char* keys;
        int id; // 0: no command
    };
    for (const Case c : {Case{"ctrl+z", ID_EDIT_UNDO},
                         {"Alt+Backspace", ID_EDIT_UNDO},
                         {"g", ID_TOGGLE_GRID},
                         {"SHIFT+G", ID_TOGGLE_GRID},
                         {"shift+z", ID_PREV_BACK_TILE},
                         {"<", ID_PREV_BACK_TILE},
                         {"z", ID_PREV_FORE_TILE},
                         {"ctrl+f", ID_FILL_SELECTION},
                         {"delete", ID_EDIT_CUT},
                         {"shift+delete", ID_EDIT_CUT},
                         {"shift+f6", ID_PREV_PANE},
                         {"ctrl+shift+z", 0},
                         {"alt+z", 0},
                         {"ctrl+ctrl+z", 0},
                         {"ctrl+", 0},
                         {"meta+z", 0},
                         {"q", 0},
                         {"", 0}}) {
        EXPECT_EQ(CommandOfKeys(c.keys), c.id) << c.keys;
    }
}

TEST(Accelerators, EachKeySendsOneCommand) {
    // Keys listed twice would send only the command listed first.
    for (const Accelerator& accelerator : Accelerators())
        EXPECT_EQ(CommandOfKeys(accelerator.keys), accelerator.id) << accelerator.keys;
}

TEST(Accelerators, TheMenuShowsTheFirstKeyOfACommand) {
    EXPECT_EQ(KeysOf(ID_FILL_SELECTION), (std::vector<std::string_view>{"Ctrl+F", "F", "Shift+F"}));
    EXPECT_EQ(KeysOf(ID_EDIT_CUT),
              (std::vector<std::string_view>{"Ctrl+X", "Backspace", "Delete", "Shift+Delete"}));
    EXPECT_TRUE(KeysOf(ID_TOOL_ERASER).empty());
}

} // namespace
} // namespace krav
