#pragma once

#include <Qt>

namespace krav {

// A palette is a small tool window with a title and a close box (which hides it): no minimise
// or maximise buttons, which window managers otherwise add to tool windows too.
inline constexpr Qt::WindowFlags PALETTE_WINDOW_FLAGS =
    Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

} // namespace krav
