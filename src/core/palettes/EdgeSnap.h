#pragma once

#include "editing/Geometry.h"

namespace krav {

// Palette windows keep whole tiles (or whole object cells) when the user drags an edge:
// an edge moves from where it stood only by whole steps, truncated towards zero, so a drag
// shorter than one step leaves it in place.
int SnapEdge(int recorded, int proposed, int step);

// Snaps the edges of `proposed` that differ from `recorded` along each axis whose size
// changed; an axis whose size is unchanged was moved, not resized, and is left as it is,
// and so is an axis with a step of 0.
Rect SnapDraggedEdges(const Rect& recorded, const Rect& proposed, int stepX, int stepY);

} // namespace krav
