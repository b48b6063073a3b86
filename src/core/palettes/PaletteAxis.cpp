#include "palettes/PaletteAxis.h"

#include <algorithm>

namespace krav {

void PaletteAxis::Reset(int visible) {
    m_first = 0;
    m_last = visible;
}

void PaletteAxis::Resize(int visible) {
    if (m_count == 0)
        return;
    if (m_last == m_count || m_first + visible > m_count) {
        m_last = m_count;
        // A client larger than the tile set cannot happen through the size limits; keep
        // the first tile on the picture anyway.
        m_first = std::max(m_count - visible, 0);
    } else {
        m_last = m_first + visible;
    }
}

int PaletteAxis::Scroll(Step step, int visible) {
    const int oldFirst = m_first;
    switch (step) {
    case Step::LineBack:
        if (m_first < 1)
            return 0;
        --m_first;
        --m_last;
        break;
    case Step::LineForward:
        if (m_last >= m_count)
            return 0;
        ++m_first;
        ++m_last;
        break;
    case Step::PageBack:
        if (m_first < 1)
            return 0;
        m_first = std::max(m_first - visible, 0);
        m_last = m_first + visible;
        break;
    case Step::PageForward:
        if (m_last >= m_count)
            return 0;
        m_last = std::min(m_last + visible, m_count);
        m_first = m_last - visible;
        break;
    }
    return m_first - oldFirst;
}

} // namespace krav
