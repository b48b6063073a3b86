#include "render/SelectionOutline.h"

#include <algorithm>
#include <cstddef>

namespace krav {

namespace {

constexpr std::uint32_t WHITE = 0xFFFFFFFFu;
constexpr std::uint32_t BLACK = 0xFF000000u;
// Black and white dashes of the same length: one of the two shows on any tile and on the grid.
constexpr int DASH = 2;

// One side, from..to (excluded) along it; `corner` is where its dashes are counted from.
void DrawSide(bool horizontal, int pos, int from, int to, int corner, const Rect& area,
              std::uint32_t* pixels, int stride) {
    const int first = std::max(from, horizontal ? area.left : area.top);
    const int last = std::min(to, horizontal ? area.right : area.bottom);
    if (pos < (horizontal ? area.top : area.left) || pos >= (horizontal ? area.bottom : area.right))
        return;
    for (int along = first; along < last; ++along) {
        const int x = horizontal ? along : pos;
        const int y = horizontal ? pos : along;
        pixels[static_cast<std::ptrdiff_t>(y - area.top) * stride + (x - area.left)] =
            (along - corner) / DASH % 2 == 0 ? BLACK : WHITE;
    }
}

} // namespace

void DrawSelectionOutline(const Rect& outline, const Rect& area, std::uint32_t* pixels, int stride,
                          int thickness) {
    // Each frame inside the one before, its dashes counted from the outer corner so that they
    // line up across the frames.
    for (int inset = 0; inset < thickness; ++inset) {
        const Rect frame = outline.Inflated(-inset);
        if (frame.IsEmpty())
            return;
        const int right = frame.right - 1, bottom = frame.bottom - 1;
        // The sides across last: the corners are theirs.
        DrawSide(false, frame.left, frame.top, frame.bottom, outline.top, area, pixels, stride);
        DrawSide(false, right, frame.top, frame.bottom, outline.top, area, pixels, stride);
        DrawSide(true, frame.top, frame.left, frame.right, outline.left, area, pixels, stride);
        DrawSide(true, bottom, frame.left, frame.right, outline.left, area, pixels, stride);
    }
}

} // namespace krav
