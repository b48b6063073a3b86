#include "palettes/FramePlacement.h"

#include <QWidget>
#include <QWindow>

namespace krav {

QMargins FrameMarginsOf(const QWidget* window) {
    if (const QWindow* own = window->windowHandle()) {
        const QMargins margins = own->frameMargins();
        if (!margins.isNull())
            return margins;
    }
    if (const QWidget* parent = window->parentWidget()) {
        if (const QWindow* frame = parent->window()->windowHandle())
            return frame->frameMargins();
    }
    return {};
}

void PlaceFrameCorner(QWidget* window, QSize client, Qt::Corner corner, QPoint point) {
    const QMargins m = FrameMarginsOf(window);
    int frameLeft = point.x();
    int frameTop = point.y();
    if (corner == Qt::TopRightCorner || corner == Qt::BottomRightCorner)
        frameLeft -= client.width() + m.left() + m.right();
    if (corner == Qt::BottomLeftCorner || corner == Qt::BottomRightCorner)
        frameTop -= client.height() + m.top() + m.bottom();
    window->setGeometry(frameLeft + m.left(), frameTop + m.top(), client.width(), client.height());
}

} // namespace krav
