#pragma once

class QColor;
class QPainter;
class QRect;

namespace krav {

// A frame of `thickness` pixels drawn inside `r`: the palettes' tile and object frames.
void FillInsideFrame(QPainter& painter, const QRect& r, int thickness, const QColor& colour);

} // namespace krav
