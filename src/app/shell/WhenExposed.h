#pragma once

#include <functional>

class QWidget;

namespace krav {

// Runs `action` once the window is on the screen where the window manager put it (exposed),
// right away (at the next turn of the event loop) if it is already. Until then its geometry
// on the screen is only what was asked for.
void RunWhenExposed(QWidget* window, std::function<void()> action);

} // namespace krav
