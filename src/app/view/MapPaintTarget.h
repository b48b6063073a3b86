#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <functional>

class QPainter;

namespace krav {

// Where the map view's renderer writes a rectangle of the client area. Straight into the
// window's own picture when the painter draws on one that can take the renderer's pixels as
// they are (a raster window at one device pixel per pixel): the picture is then made once,
// not made and copied. Otherwise into a picture of our own, kept between paints (a new one
// per paint would cost its page faults every time), which the painter then draws.
class MapPaintTarget {
public:
    // Fills `pixels` (opaque 0xAARRGGBB, `stride` pixels a row) with the client rectangle given.
    using Render = std::function<void(const QRect& area, std::uint32_t* pixels, int stride)>;

    void Paint(QPainter& painter, const QRect& area, const Render& render);

private:
    QImage m_buffer;
};

} // namespace krav
