#pragma once

#include <Qt>

class QWidget;

namespace krav {

// A palette is a small tool window with a title and a close box (which hides it): no minimise
// or maximise buttons, which window managers otherwise add to tool windows too. It never takes
// the keyboard: keys stay with the main window, where the map view has them.
inline constexpr Qt::WindowFlags PALETTE_WINDOW_FLAGS =
    Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
    Qt::WindowDoesNotAcceptFocus;

// What the palette constructors do once their window exists: no keyboard focus anywhere in it,
// no activation when shown, and, on X11, the window type that keeps minimise away.
void SetUpPaletteWindow(QWidget* palette);

// The client width at which the window manager shows a palette's title whole, beside the
// window-menu icon and the close box (estimated with the editor's font in bold, as title bars
// usually have it).
int TitleFitWidth(const QWidget* palette);

} // namespace krav
