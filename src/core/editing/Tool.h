#pragma once

#include "editing/Geometry.h"
#include "editing/ViewGeometry.h"
#include "editing/ViewHost.h"

namespace krav {

enum class MouseButton { Left, Right };

// Where the pointer is, as the engine hands it to a tool: client pixels, the map cell under
// them (worked out once by the engine; it may lie off the map) and the button and key flags
// (MK_*) of the event.
struct PointerEvent {
    Point client;
    Point cell;
    int flags = 0;
};

// One family of tools of a map view (the Pencil and the Eraser, the shapes, the Select tool,
// ...). The engine keeps which buttons are held and calls the current tool's family; each
// family keeps its own state and reaches the view only through its ToolContext.
class Tool {
public:
    virtual ~Tool() = default;

    // Whether a press of this button with this tool counts as held until its release (most
    // tools); the Magnify tool and the Select tool's left button keep no such state.
    virtual bool PressHoldsButton(MouseButton) const { return true; }
    virtual void Press(MouseButton, const PointerEvent&) {}
    virtual void Move(const PointerEvent&) {}
    // False when the tool had nothing of its own in progress for this button: the engine then
    // ends a freehand stroke, if one is held, as it does for every tool.
    virtual bool Release(MouseButton, const PointerEvent&) { return false; }
    virtual void DoubleClick(MouseButton, const PointerEvent&) {}
    // A tick of a timer this tool started.
    virtual void Tick(ViewTimer, const PointerEvent&) {}
    // Escape: each family takes back or ends what it has in progress.
    virtual void Escape() {}
    // The tool became current / another tool was chosen instead.
    virtual void Enter() {}
    virtual void Leave() {}
    // The view zoomed around a client point (the wheel's or the Magnify tool's pointer);
    // before is the geometry it had. Whatever the tool holds keeps its map cells.
    virtual void Zoomed(const ViewGeometry& /*before*/, Point /*pointer*/) {}
};

} // namespace krav
