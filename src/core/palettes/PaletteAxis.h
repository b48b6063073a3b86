#pragma once

namespace krav {

// The tile set palette's view-port along one axis (tile rows or tile columns): the first
// tile shown at the client's edge and the first plus the whole tiles that fit. The last
// tile may be only partly visible, which is why it counts as shown for the frames.
class PaletteAxis {
public:
    enum class Step { LineBack, LineForward, PageBack, PageForward };

    // A new tile set: count tiles along this axis.
    void SetCount(int count) { m_count = count; }
    // Shows from the first tile, with `visible` whole tiles.
    void Reset(int visible);
    // The client grew or shrank to `visible` whole tiles; the far end of the tile set stays
    // in view when it was in view.
    void Resize(int visible);
    // Scrolls by a line or a page of `visible` tiles; returns how many tiles the first
    // shown tile moved (0 when already at that end).
    int Scroll(Step step, int visible);

    // Whether a frame around tile `i` can be seen.
    bool Shows(int i) const { return i >= m_first && i <= m_last; }
    int First() const { return m_first; }
    int Last() const { return m_last; }
    int Count() const { return m_count; }

private:
    int m_count = 0;
    int m_first = 0;
    int m_last = 0;
};

} // namespace krav
