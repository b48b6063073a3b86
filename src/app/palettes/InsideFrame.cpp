#include "palettes/InsideFrame.h"

#include <QPainter>
#include <QRect>

namespace krav {

void FillInsideFrame(QPainter& painter, const QRect& r, int thickness, const QColor& colour) {
    painter.fillRect(r.left(), r.top(), r.width(), thickness, colour);
    painter.fillRect(r.left(), r.bottom() + 1 - thickness, r.width(), thickness, colour);
    painter.fillRect(r.left(), r.top(), thickness, r.height(), colour);
    painter.fillRect(r.right() + 1 - thickness, r.top(), thickness, r.height(), colour);
}

} // namespace krav
