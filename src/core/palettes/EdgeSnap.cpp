#include "palettes/EdgeSnap.h"

namespace krav {

int SnapEdge(int recorded, int proposed, int step) {
    return recorded + (proposed - recorded) / step * step;
}

namespace {

void SnapAxis(int recordedStart, int recordedEnd, int& start, int& end, int step) {
    if (step <= 0 || end - start == recordedEnd - recordedStart)
        return;
    if (start != recordedStart)
        start = SnapEdge(recordedStart, start, step);
    if (end != recordedEnd)
        end = SnapEdge(recordedEnd, end, step);
}

} // namespace

Rect SnapDraggedEdges(const Rect& recorded, const Rect& proposed, int stepX, int stepY) {
    Rect r = proposed;
    SnapAxis(recorded.left, recorded.right, r.left, r.right, stepX);
    SnapAxis(recorded.top, recorded.bottom, r.top, r.bottom, stepY);
    return r;
}

} // namespace krav
