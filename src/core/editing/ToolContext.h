#pragma once

#include "document/CKRAVDoc.h"
#include "editing/MapTarget.h"
#include "editing/Tool.h"
#include "editing/UndoHistory.h"
#include "editing/ViewGeometry.h"
#include "editing/ViewHost.h"

namespace krav {

// What a map view shares with its tools: the document and the cells it shows, the history,
// the live flag count (MapTarget), the buttons held and their tiles, and the window. The
// engine implements it; the tools never see the engine itself.
class ToolContext : public MapTarget {
public:
    virtual CKRAVDoc& Document() = 0;
    virtual const ViewGeometry& Geometry() const = 0;
    virtual UndoHistory& History() = 0;
    virtual ViewHost& Host() = 0;
    // The tool the main frame has chosen (a command id, ID_TOOL_*).
    virtual int CurrentTool() const = 0;

    // Buttons held since their press, and the tile each paints with.
    virtual bool IsHeld(MouseButton button) const = 0;
    virtual void SetHeld(MouseButton button, bool held) = 0;
    virtual int TileOf(MouseButton button) const = 0;
    virtual void SetTile(MouseButton button, int tile) = 0;

    // Scrolls the view one step of a scroll code, as its scroll bars would.
    virtual void ScrollRows(ScrollCode code) = 0;
    virtual void ScrollColumns(ScrollCode code) = 0;
    // Zooms in or out around a client point.
    virtual void ZoomAt(Point client, bool zoomOut) = 0;

    // The changes of the operation in progress (a stroke, a lifted or dropped block), and
    // pushing them as one Cells step when there are any.
    virtual ChangeList& PendingChanges() = 0;
    virtual void PushPending() = 0;
    // Ends a stroke: stops the paint-scroll timer, pushes the pending changes and releases the
    // mouse. Every release no tool claims for itself does this.
    virtual void EndStroke() = 0;
    // Empties the whole object that cell (x, y) holding v belongs to, recording on list.
    virtual void EraseObject(int x, int y, Cell v, ChangeList& list) = 0;
    // Repaints one cell in the view, or a block of cells (right and bottom excluded) in the
    // view and the radar.
    virtual void InvalidateCell(int row, int column) = 0;
    virtual void InvalidateBlock(const Rect& cells) = 0;
    // Moves a rectangle of map pixels inside the map, its size unchanged.
    virtual Rect ClampIntoMap(const Rect& mapPixels) const = 0;
};

} // namespace krav
