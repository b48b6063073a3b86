#include "frame/Accelerators.h"

#include "frame/CommandIds.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>

namespace krav {

namespace {

constexpr std::array TABLE{
    Accelerator{"Ctrl+N", ID_FILE_NEW},
    Accelerator{"Ctrl+O", ID_FILE_OPEN},
    Accelerator{"Ctrl+S", ID_FILE_SAVE},
    Accelerator{"Ctrl+P", ID_FILE_PRINT},
    Accelerator{"Ctrl+Z", ID_EDIT_UNDO},
    Accelerator{"Alt+Backspace", ID_EDIT_UNDO},
    Accelerator{"Ctrl+Y", ID_EDIT_REDO},
    Accelerator{"Ctrl+X", ID_EDIT_CUT},
    Accelerator{"Backspace", ID_EDIT_CUT},
    Accelerator{"Delete", ID_EDIT_CUT},
    Accelerator{"Shift+Delete", ID_EDIT_CUT},
    Accelerator{"Ctrl+C", ID_EDIT_COPY},
    Accelerator{"Ctrl+Insert", ID_EDIT_COPY},
    Accelerator{"Ctrl+V", ID_EDIT_PASTE},
    Accelerator{"Shift+Insert", ID_EDIT_PASTE},
    Accelerator{"Ctrl+F", ID_FILL_SELECTION},
    Accelerator{"F", ID_FILL_SELECTION},
    Accelerator{"Shift+F", ID_FILL_SELECTION},
    Accelerator{"G", ID_TOGGLE_GRID},
    Accelerator{"Shift+G", ID_TOGGLE_GRID},
    Accelerator{"P", ID_TOOL_PENCIL},
    Accelerator{"Shift+P", ID_TOOL_PENCIL},
    Accelerator{"S", ID_TOOL_SELECT},
    Accelerator{"Shift+S", ID_TOOL_SELECT},
    Accelerator{"R", ID_TOOL_STAMP},
    Accelerator{"Shift+R", ID_TOOL_STAMP},
    // The four punctuation keys are characters, whatever key and Shift type them.
    Accelerator{"Z", ID_PREV_FORE_TILE},
    Accelerator{",", ID_PREV_FORE_TILE},
    Accelerator{"X", ID_NEXT_FORE_TILE},
    Accelerator{".", ID_NEXT_FORE_TILE},
    Accelerator{"Shift+Z", ID_PREV_BACK_TILE},
    Accelerator{"<", ID_PREV_BACK_TILE},
    Accelerator{"Shift+X", ID_NEXT_BACK_TILE},
    Accelerator{">", ID_NEXT_BACK_TILE},
    Accelerator{"F6", ID_NEXT_PANE},
    Accelerator{"Shift+F6", ID_PREV_PANE},
};

// Keys as comparable values: the modifiers as bits, the key name in lower case.
struct Chord {
    int modifiers = 0;
    std::string key;

    friend bool operator==(const Chord&, const Chord&) = default;
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::optional<Chord> ParseChord(std::string_view keys) {
    Chord chord;
    while (true) {
        const auto plus = keys.find('+');
        // A "+" that ends the text is the key itself.
        if (plus == std::string_view::npos || plus + 1 == keys.size())
            break;
        const std::string modifier = Lower(keys.substr(0, plus));
        const int bit = modifier == "ctrl"    ? 1
                        : modifier == "alt"   ? 2
                        : modifier == "shift" ? 4
                                              : 0;
        if (bit == 0 || (chord.modifiers & bit) != 0)
            return std::nullopt;
        chord.modifiers |= bit;
        keys.remove_prefix(plus + 1);
    }
    if (keys.empty())
        return std::nullopt;
    chord.key = Lower(keys);
    return chord;
}

} // namespace

std::span<const Accelerator> Accelerators() {
    return TABLE;
}

std::vector<std::string_view> KeysOf(int id) {
    std::vector<std::string_view> keys;
    for (const Accelerator& accelerator : TABLE)
        if (accelerator.id == id)
            keys.push_back(accelerator.keys);
    return keys;
}

int CommandOfKeys(std::string_view keys) {
    const std::optional<Chord> wanted = ParseChord(keys);
    if (!wanted)
        return 0;
    for (const Accelerator& accelerator : TABLE)
        if (ParseChord(accelerator.keys) == wanted)
            return accelerator.id;
    return 0;
}

} // namespace krav
