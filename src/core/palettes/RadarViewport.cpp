#include "palettes/RadarViewport.h"

#include "document/TileCodes.h"

namespace krav {

int RadarViewport::CentredStart(int viewStart, int viewEnd, int size) {
    const int start = viewStart + (viewEnd - viewStart) / 2 - size / 2;
    if (start < 0)
        return 0;
    if (start + size >= MAP_SIZE)
        return MAP_SIZE - size;
    return start;
}

int RadarViewport::PlacedStart(int viewStart, int viewEnd, int size) {
    if (viewStart == 0)
        return 0;
    if (viewEnd == MAP_SIZE)
        return MAP_SIZE - size;
    return std::max(viewStart + (viewEnd - viewStart) / 2 - size / 2, 0);
}

void RadarViewport::Centre() {
    m_shown.left = CentredStart(m_view.left, m_view.right, m_width);
    m_shown.right = m_shown.left + m_width;
    m_shown.top = CentredStart(m_view.top, m_view.bottom, m_height);
    m_shown.bottom = m_shown.top + m_height;
}

void RadarViewport::Resize(int width, int height) {
    m_width = width;
    m_height = height;
    Centre();
}

void RadarViewport::SetViewRect(Rect viewArea) {
    m_view = viewArea;
    m_shown.left = PlacedStart(m_view.left, m_view.right, m_width);
    m_shown.right = m_shown.left + m_width;
    m_shown.top = PlacedStart(m_view.top, m_view.bottom, m_height);
    m_shown.bottom = m_shown.top + m_height;
}

int RadarViewport::Follow(int& showStart, int& showEnd, int size, int& viewStart, int& viewEnd,
                          int newStart, int newEnd) {
    const int d = newStart - viewStart;
    const int viewMiddle = newStart + (newEnd - newStart) / 2;
    const int showMiddle = showStart + (showEnd - showStart) / 2;
    const int oldStart = showStart;
    if (d < 0 && viewMiddle <= showMiddle) {
        if (showStart + d < 0) {
            showStart = 0;
            showEnd = size;
        } else if (showStart >= 1) {
            showStart += d;
            showEnd += d;
        }
    } else if (d > 0 && viewMiddle >= showMiddle) {
        if (showEnd + d > MAP_SIZE) {
            showStart = MAP_SIZE - size;
            showEnd = MAP_SIZE;
        } else if (showEnd < MAP_SIZE) {
            showStart += d;
            showEnd += d;
        }
    }
    viewStart = newStart;
    viewEnd = newEnd;
    return showStart - oldStart;
}

int RadarViewport::ScrollViewRows(int top, int bottom) {
    return -Follow(m_shown.top, m_shown.bottom, m_height, m_view.top, m_view.bottom, top, bottom);
}

int RadarViewport::ScrollViewCols(int left, int right) {
    return -Follow(m_shown.left, m_shown.right, m_width, m_view.left, m_view.right, left, right);
}

Rect RadarViewport::Click(int px, int py) {
    return CentreOn({m_shown.left + px, m_shown.top + py});
}

Rect RadarViewport::CentreOn(Point cell) {
    const int w = m_view.Width();
    const int h = m_view.Height();
    auto limited = [](int start, int size) {
        if (start < 0)
            return 0;
        if (start + size > MAP_SIZE)
            return MAP_SIZE - size;
        return start;
    };
    const int left = limited(cell.x - w / 2, w);
    const int top = limited(cell.y - h / 2, h);
    m_view = {left, top, left + w, top + h};
    Centre();
    return m_view;
}

Rect RadarViewport::ViewRectOnClient() const {
    return {m_view.left - m_shown.left, m_view.top - m_shown.top, m_view.right - m_shown.left + 1,
            m_view.bottom - m_shown.top + 1};
}

} // namespace krav
