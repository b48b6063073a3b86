#include "palettes/PalettePlaces.h"

#include <algorithm>

namespace krav {

namespace {
bool Inside(const Rect& frame, const Rect& area) {
    return frame.left >= area.left && frame.top >= area.top && frame.right <= area.right &&
           frame.bottom <= area.bottom;
}
} // namespace

Point FirstClearSpot(const std::vector<Point>& candidates, int width, int height,
                     const std::vector<Rect>& others, const Rect& area) {
    for (const Point& at : candidates) {
        const Rect frame{at.x, at.y, at.x + width, at.y + height};
        if (Inside(frame, area) &&
            std::none_of(others.begin(), others.end(),
                         [&frame](const Rect& other) { return frame.Intersects(other); }))
            return at;
    }
    return candidates.empty() ? Point{area.left, area.top} : candidates.front();
}

} // namespace krav
