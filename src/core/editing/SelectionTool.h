#pragma once

#include "editing/CopyBuffer.h"
#include "editing/Geometry.h"
#include "editing/Tool.h"

#include <optional>
#include <vector>

namespace krav {

class ToolContext;

// Where a floating block came from.
enum class FloatKind {
    None = 1000,
    Move,  // lifted out of the map
    Copy,  // copied; the map keeps its cells
    Paste, // the copy buffer's block
};

// The Select tool and the block operations on its selection: dragging out a selection,
// moving or copying it as a floating block, floating and dropping, Cut/Copy/Paste, Fill and
// the flips. The selection belongs to the view: a floating block outlives a tool chosen for
// another view, so the engine hands it the left button's release while it holds one.
class SelectionTool final : public Tool {
public:
    explicit SelectionTool(ToolContext& view) : m_view(view) {}

    // The left button alone holds nothing until a drag starts; the right button is held as
    // for any tool and does nothing here.
    bool PressHoldsButton(MouseButton button) const override {
        return button == MouseButton::Right;
    }
    // The left button went down: starts a rubber band, or takes hold of the selection or the
    // floating block under the pointer.
    void Press(MouseButton button, const PointerEvent& event) override;
    // The pointer moved with the left button held: the rubber band or the floating block
    // follows, with the auto-scroll timers.
    void Move(const PointerEvent& event) override;
    // The left button went up while dragging out a selection or holding a floating block.
    bool Release(MouseButton button, const PointerEvent& event) override;
    // A tick of the selecting or the floating block's auto-scroll timer.
    void Tick(ViewTimer timer, const PointerEvent& event) override;
    // Another tool was chosen: the selection goes, a floating block is discarded.
    void Leave() override;
    // The view zoomed: the selection, the floating block and a rubber band keep their cells.
    void Zoomed(const ViewGeometry& before, Point pointer) override;

    // Whether the left button's release is this tool's: a rubber band held (and not the right
    // button with it), or a floating block.
    bool HoldsLeftRelease() const;

    // A selection that is not floating (or one being dragged out).
    bool HasSelection() const;
    bool IsFloating() const;
    bool IsSelecting() const { return m_bSelecting; }
    // A finished selection (or, while floating, the block's place): its cells, and the same in
    // map pixels at the current zoom.
    bool HasFinishedSelection() const { return m_bHasSelection; }
    const Rect& SelectionCells() const { return m_rcSelection; }
    Rect SelectionRect() const;
    // The rubber band's corners (client pixels, snapped to cells) while it is dragged out.
    Point Anchor() const { return m_ptAnchor; }
    Point Corner() const { return m_ptCorner; }
    // The floating block's cells (over SelectionRect), where they came from, and the pointer
    // the drag measures from.
    const CellBlock& FloatingCells() const { return m_pFloatCells; }
    FloatKind FloatingKind() const { return m_nFloatKind; }
    Point DragPoint() const { return m_ptDrag; }

    void FloatSelection();
    void DropSelection();
    void DiscardFloating();
    void CopySelection(CopyBuffer& buffer, bool cut);
    void PasteBlock(const CopyBuffer& buffer);
    void FillSelection();
    void FlipHorizontal();
    void FlipVertical();

    // Copies a rectangle of cells (None to flip, Move to lift them out of the map as one undo
    // step, Copy to copy); null on failure.
    CellBlock CopyBlock(const Rect& cells, FloatKind mode);
    // Writes a block over a rectangle of cells as one undo step (flag limit, whole objects).
    // False when the step could not be recorded.
    bool StampBlock(const Rect& cells, const std::vector<Cell>& block);
    // Widens the selection to every special object on its border; true when it changed.
    bool GrowToObjects();

private:
    // The left button went up while dragging out a selection / while a block floats.
    void FinishSelecting();
    void EndDrag();

    // The selection (or the floating block's place) in client pixels.
    Rect SelectionClient() const;
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
    void UpdateScrollTimer(ViewTimer timer, Point client);
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

    ToolContext& m_view;
    Rect m_rcSelection; // cells: a zoom leaves them as they are
    bool m_bSelecting = false;
    bool m_bHasSelection = false;
    bool m_bFloating = false;
    Point m_ptAnchor, m_ptCorner;
    FloatKind m_nFloatKind = FloatKind::None;
    CellBlock m_pFloatCells;
    Point m_ptDrag;
    std::optional<ViewTimer> m_scrollTimer; // the running auto-scroll timer
    int m_nScrollPeriod = 0;
};

} // namespace krav
