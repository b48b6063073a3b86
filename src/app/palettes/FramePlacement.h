#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace krav {

// Sizes a palette window's client area and moves the window so that the given corner of its
// frame (decorations included) lies at `point` (screen coordinates; for a right or bottom
// corner the point is just outside, like the exclusive right and bottom of a rectangle).
// The window manager tells the real decoration only once the window is shown; the window is
// then placed again with it, until the window manager has put it there.
void PlaceFrameCorner(QWidget* window, QSize client, Qt::Corner corner, QPoint point);

// The same with the frame's top-left corner at `frameTopLeft`, moved as little as needed to lie
// inside `area` (with the decoration the window manager reports once the window is shown), so
// that a place kept from another screen never leaves a window out of reach.
void PlaceFrameInside(QWidget* window, QSize client, QPoint frameTopLeft, const QRect& area);

// A window's frame on the screen, decorations included; for a window not shown yet, with the
// decoration it will most likely get.
QRect FrameRectOf(const QWidget* window);

} // namespace krav
