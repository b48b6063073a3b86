#pragma once

#include "document/TileCodes.h"
#include "editing/Geometry.h"

namespace krav {

class MapViewEngine;

// The Pencil and the Eraser: strokes painted cell by cell while a button is held, scrolling
// the view while the pointer is held outside the window. Also the Dropper.
class FreehandTool {
public:
    explicit FreehandTool(MapViewEngine& view) : m_view(view) {}

    // A button went down at a client point with the Pencil or the Eraser (tool): paints the
    // cell under it with tile (the Eraser empties it) and captures the mouse.
    void Press(Point client, int tile, int tool);
    // The pointer moved while a stroke is held: paints the cell under it, or starts the
    // paint-scroll timer when the pointer is outside the client area.
    void Move(Point client, int tool);
    // A tick of the paint-scroll timer with the pointer at a client point.
    void Tick(Point pointer, int tool);
    // The Dropper: the tile under a client point becomes the foreground (left button held)
    // or background tile. Empty cells and special objects are ignored.
    void PickTile(Point client);

private:
    // Paints one map cell with the tool's value. The press form records after writing and
    // always repaints; the drag form records first and repaints only a change. False when
    // the flag limit refused the cell (nothing written).
    bool PaintStep(Point cell, int tile, int tool, bool press);
    // The flag limit ended a stroke in the drag: keeps what was drawn as one step.
    void EndStrokeAtFlagLimit();
    // The tile of the button that holds the stroke.
    int HeldTile() const;

    MapViewEngine& m_view;
};

} // namespace krav
