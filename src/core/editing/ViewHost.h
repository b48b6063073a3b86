#pragma once

#include "Prompt.h"
#include "document/TileCodes.h"
#include "editing/Geometry.h"

namespace krav {

// Timers of a map view: dragging a floating block past the edge, dragging out a selection
// past the edge, a freehand stroke held outside the window.
enum class ViewTimer { FloatScroll = 5, SelectScroll = 6, PaintScroll = 7 };

// Message beeps.
enum class BeepType { Plain = 0, Warning = 48 };

// Everything a map view's engine asks of the window around it. The editor's widget
// implements it with Qt; krav-lvl play and the tests implement it with recorders.
class ViewHost {
public:
    virtual ~ViewHost() = default;

    // Repaint a rectangle of the client area (erase: clear it to black first).
    virtual void InvalidateClient(const Rect& client, bool erase) = 0;
    // Paint what is invalid now rather than when the event loop gets to it.
    virtual void UpdateNow() = 0;
    // Move the window contents by whole pixels; the uncovered strip is repainted.
    virtual void ScrollContents(int dx, int dy) = 0;
    // The scroll bars' pages or positions changed; apply the engine's values.
    virtual void ScrollBarsChanged() = 0;

    virtual void StartTimer(ViewTimer timer, int periodMs) = 0;
    virtual void StopTimer(ViewTimer timer) = 0;
    // Keep the mouse while a button is held (strokes, shapes, drags).
    virtual void SetCapture(bool captured) = 0;
    virtual void Beep(BeepType type) = 0;
    // Messages and questions for the user.
    virtual Prompt& UserPrompt() = 0;

    // The radar window: a block of cells changed (right and bottom excluded), one cell
    // changed and should show at once, the view's area moved or was resized, or the view
    // shows a whole new picture (zoom, erase map).
    virtual void RadarCellsChanged(const Rect& cells) = 0;
    virtual void RadarCellChanged(int x, int y) = 0;
    virtual void RadarViewScrolled(bool vertical) = 0;
    virtual void RadarViewRectChanged() = 0;
    virtual void RadarShowDocument() = 0;

    // The main frame: the current tool and stamp object, a tile picked with the Dropper,
    // and a tool change the view asks for.
    virtual int CurrentTool() const = 0;
    virtual Cell GetStampObject() const = 0;
    virtual void SetCurrentTile(int tile, bool fore) = 0;
    virtual void RequestTool(int tool) = 0;
};

} // namespace krav
