#include "view/MapPaintTarget.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>

namespace krav {

namespace {

// The window's picture at the painter's position of `area`, or null when it cannot be written
// directly: another kind of device, scaling (a device pixel ratio above one), or a format
// whose pixels are not the renderer's.
QImage* DirectTarget(QPainter& painter, const QRect& area, QPoint& at) {
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const bool opaqueFormat = image->format() == QImage::Format_RGB32 ||
                              image->format() == QImage::Format_ARGB32_Premultiplied ||
                              image->format() == QImage::Format_ARGB32;
    const QTransform& transform = painter.deviceTransform();
    if (!opaqueFormat || transform.type() > QTransform::TxTranslate ||
        image->devicePixelRatio() != 1.0)
        return nullptr;
    at = transform.map(area.topLeft());
    if (!image->rect().contains(QRect(at, area.size())))
        return nullptr;
    return image;
}

} // namespace

void MapPaintTarget::Paint(QPainter& painter, const QRect& area, const Render& render) {
    if (area.isEmpty())
        return;
    QPoint at;
    if (QImage* image = DirectTarget(painter, area, at)) {
        const int stride = static_cast<int>(image->bytesPerLine() / 4);
        auto* pixels = reinterpret_cast<std::uint32_t*>(image->bits());
        render(area, pixels + static_cast<qsizetype>(at.y()) * stride + at.x(), stride);
        return;
    }
    if (m_buffer.width() < area.width() || m_buffer.height() < area.height())
        m_buffer = QImage(std::max(m_buffer.width(), area.width()),
                          std::max(m_buffer.height(), area.height()), QImage::Format_RGB32);
    render(area, reinterpret_cast<std::uint32_t*>(m_buffer.bits()),
           static_cast<int>(m_buffer.bytesPerLine() / 4));
    painter.drawImage(area.topLeft(), m_buffer, QRect(QPoint(0, 0), area.size()));
}

} // namespace krav
