#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace krav {

// One key of the main frame's accelerator table and the command it sends. Keys are written
// as portable key sequence text: "Ctrl+Z", "Shift+Delete", "<", modifiers in the order Ctrl,
// Alt, Shift.
struct Accelerator {
    std::string_view keys;
    int id;
};

// Every key of the main frame. A command's keys stand together, the one its menu entry
// shows first.
std::span<const Accelerator> Accelerators();

// The keys of one command, the one its menu entry shows first; empty when it has none.
std::vector<std::string_view> KeysOf(int id);

// The command that keys send, or 0 when no accelerator has them. Letter case and the order
// of the modifiers do not matter: "ctrl+z" is "Ctrl+Z", "shift+alt+x" is "Alt+Shift+X".
int CommandOfKeys(std::string_view keys);

} // namespace krav
