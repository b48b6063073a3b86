#pragma once

#include "editing/CopyBuffer.h"
#include "editing/Geometry.h"

#include <vector>

namespace krav {

class MapViewEngine;

// The Select tool and the block operations on its selection: dragging out a selection,
// moving or copying it as a floating block, floating and dropping, Cut/Copy/Paste, Fill and
// the flips. The selection's rectangle and flags live in the engine (m_rcSelection,
// m_bSelecting, m_bHasSelection, m_bFloating), where the status bar reads them.
class SelectionTool {
public:
    explicit SelectionTool(MapViewEngine& view) : m_view(view) {}

    // The left button went down at a client point with the Select tool (flags: MK_*).
    void Press(int flags, Point client);
    // The pointer moved with the left button held: the rubber band or the floating block
    // follows, with the auto-scroll timers 6 and 5.
    void Move(Point client);
    // The left button went up while dragging out a selection / while a block floats.
    void FinishSelecting();
    void EndDrag();
    // A tick of timer 5 or 6 with the pointer at a client point.
    void Tick(int timer, Point pointer);
    // Another tool was chosen: the selection goes, a floating block is discarded.
    void LeaveSelectTool();

    // A selection that is not floating (or one being dragged out).
    bool HasSelection() const;
    bool IsFloating() const;

    void FloatSelection();
    void DropSelection();
    void DiscardFloating();
    void CopySelection(CopyBuffer& buffer, bool cut);
    void PasteBlock(const CopyBuffer& buffer);
    void FillSelection();
    void FlipHorizontal();
    void FlipVertical();

    // Copies the cells of a rectangle in map pixels (mode FLOAT_NONE to flip, FLOAT_MOVE to
    // lift them out of the map as one undo step, FLOAT_COPY to copy); null on failure.
    CellBlock CopyBlock(const Rect& mapPixels, int mode);
    // Writes a block over a rectangle in map pixels as one undo step (flag limit, whole
    // objects). False when the step could not be recorded.
    bool StampBlock(const Rect& mapPixels, const std::vector<Cell>& block);
    // Widens the selection to every special object on its border; true when it changed.
    bool GrowToObjects();

    // What the view draws: the rubber band's corners (client pixels, snapped to cells) and
    // the floating block's cells (over m_rcSelection).
    Point m_ptAnchor, m_ptCorner;
    int m_nFloatKind = 1000;
    CellBlock m_pFloatCells;
    Point m_ptDrag;

private:
    // The selection (or the floating block's place) in client pixels.
    Rect SelectionClient() const;
    // The cells a rectangle of map pixels covers.
    Rect CellsOf(const Rect& mapPixels) const;
    Point SnapToCell(Point client) const;

    // A press inside the selection lifts or copies it into a floating block; a press inside
    // a floating block takes hold of it (Control leaves a copy behind).
    void StartMove(int flags, Point client);
    void GrabFloating(int flags, Point client);
    void MoveFloating(Point client);
    // The finished selection goes, its outline area repainted.
    void RemoveSelection();
    // A rubber band still held goes without making a selection.
    void CancelSelecting();

    // Starts, changes or stops the auto-scroll timer for a point by the edge rule.
    void UpdateScrollTimer(int timer, Point client);
    void StopScrollTimer();
    // Scrolls the view towards a pointer near or past the edge; returns how far the map
    // moved on the screen, in client pixels.
    Point ScrollTowards(Point pointer);

    // Repaints a frame drawn along a client rectangle's edges, margin pixels either side.
    void InvalidateFrame(const Rect& client, int margin);
    void InvalidateBand();
    void InvalidateFloating();

    // Empties the cells (right and bottom excluded) as one undo step, each flag lowering the
    // count: lifting a block for a move, and Cut.
    void EmptyCells(const Rect& cells);
    void MirrorSelection(bool horizontal);

    MapViewEngine& m_view;
    int m_nScrollTimer = 0; // the running auto-scroll timer, 0 when none
    int m_nScrollPeriod = 0;
};

} // namespace krav
