#pragma once

#include "editing/ToolIds.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace krav::cli {

// One line of a play script, read and checked before anything runs.
struct PlayStep {
    enum class Kind {
        Size,
        Tool,
        Command,
        Answer,
        Tile,
        Object,
        Down,
        Move,
        Up,
        DoubleClick,
        Key,
        Wheel,
        Tick,
        New,
        View,
        Save,
        Close,
        Accel,
        ExpectCell,
        ExpectFlags,
        ExpectText,
        PrintCell,
        PrintFlags,
        PrintStatus,
        PrintChecks,
        PrintModified,
    };
    Kind kind = Kind::Size;
    int line = 0;
    int a = 0, b = 0, c = 0;          // numbers: size, ids, coordinates, pane, view, wheel
    std::int64_t value = 0;           // expected cell value
    bool left = false, right = false; // the button of down/up/dblclick, the buttons held by move
    bool shift = false, ctrl = false;
    bool yes = false; // answer yes; tile fore
    ViewKey key = ViewKey::Escape;
    std::string text{}; // save path, expected pane text
};

struct PlayScript {
    std::vector<PlayStep> steps;
    std::string error; // "LINE: what is wrong" when the script cannot be read
};

PlayScript ParsePlayScript(std::istream& in);

} // namespace krav::cli
