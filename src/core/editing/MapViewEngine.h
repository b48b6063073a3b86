#pragma once

#include "document/CKRAVDoc.h"
#include "editing/CopyBuffer.h"
#include "editing/FreehandTool.h"
#include "editing/MapTarget.h"
#include "editing/RadarPicture.h"
#include "editing/SelectionTool.h"
#include "editing/ShapeTools.h"
#include "editing/ToolIds.h"
#include "editing/UndoHistory.h"
#include "editing/ViewGeometry.h"
#include "editing/ViewHost.h"

#include <string>

namespace krav {

// The editing logic of one map view: which cells it shows, its tools' state, its history,
// its live flag count and its radar picture. It takes client-pixel input and reaches the
// window only through its ViewHost, so it runs the same in the editor, in krav-lvl play and
// in tests.
class MapViewEngine final : public MapTarget {
public:
    MapViewEngine(CKRAVDoc& doc, ViewHost& host);
    ~MapViewEngine() override;
    MapViewEngine(const MapViewEngine&) = delete;
    MapViewEngine& operator=(const MapViewEngine&) = delete;

    // Sets the view up for a client area of this size: zoom 1:1 with grid at the map's
    // corner, tiles 0 and 1, the radar picture built and the document's flag count taken.
    void OnInitialUpdate(int clientWidth, int clientHeight);
    CKRAVDoc& Document() { return m_doc; }
    const CKRAVDoc& Document() const { return m_doc; }

    // --- geometry -------------------------------------------------------------------------
    const ViewGeometry& Geometry() const { return m_view; }
    void OnSize(int clientWidth, int clientHeight);
    void OnVScroll(int code, int thumbPosition = 0);
    void OnHScroll(int code, int thumbPosition = 0);
    void ZoomAt(int x, int y, bool zoomOut, ZoomAnchor place = ZoomAnchor::Centre);
    void SetVisibleArea(int left, int top, int right, int bottom);
    void ToggleGrid();
    int GetGridState() const { return m_view.GetGridState(); }
    // The document changed: hint > 0 names one cell (row << 16 | column), else everything.
    void OnUpdate(int hint);
    void InvalidateCell(int row, int column);
    // Repaint a block of changed cells (right and bottom excluded) in the view and the radar.
    void InvalidateBlock(const Rect& cells);

    // --- history --------------------------------------------------------------------------
    UndoHistory& History() { return m_history; }
    const UndoHistory& History() const { return m_history; }
    void UndoRedo(int mode);
    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }

    // --- flags and special objects -----------------------------------------------------------
    int m_nFlags = 0;
    // Empties the whole object that cell (x, y) holding v belongs to, recording on list.
    void EraseObject(int x, int y, Cell v, ChangeList& list);
    // The Rubber Stamp: where the footprint of m_nStampBase lies for a pointer at a client
    // point (kept inside the map), and stamping it there.
    Cell m_nStampBase = OBJECT_6X6;
    Rect m_rcStamp;
    Point m_ptStamp;
    void PlaceStamp(Point client);
    void MoveStamp(Point client);
    // The stamp preview follows the pointer (made on the first move, shown from the next).
    void TrackStamp(Point client);
    void DestroyStampPreview();
    void StampObject();

    // --- input: client pixels, button flags MK_*, as the window delivers them ---------------
    void OnLButtonDown(int flags, Point client);
    void OnRButtonDown(int flags, Point client);
    void OnLButtonUp(int flags, Point client);
    void OnRButtonUp(int flags, Point client);
    void OnLButtonDblClk(int flags, Point client);
    void OnRButtonDblClk(int flags, Point client);
    void OnMouseMove(int flags, Point client);
    // A tick of timer id, with the pointer where it is now.
    void OnTimer(int id, Point pointer);
    // Home and End go to the map's left and right edge, with control to its top-left and
    // bottom-right corner; the others ignore control.
    void OnKeyDown(ViewKey key, bool shift, bool control = false);
    // The tool of a press and of a release, with the button's tile.
    void ToolButtonDown(int flags, Point client, int tile, int tool);
    void ToolButtonUp(int flags, Point client, int tile, int tool);
    // The main frame is about to change the current tool.
    void ChangeTool(int oldTool, int newTool);
    // A tile chosen in the tile set palette.
    void SetForeBack(int tile, bool isFore);
    // Erase Map, once the user agreed: empties the map; not recorded in the history.
    void EraseMap();

    // The tools, each with its own state.
    FreehandTool& Freehand() { return m_freehand; }
    ShapeTools& Shapes() { return m_shapes; }
    SelectionTool& Selection() { return m_selection; }
    const ShapeTools& Shapes() const { return m_shapes; }
    const SelectionTool& Selection() const { return m_selection; }
    bool HasSelection() const { return m_selection.HasSelection(); }
    bool IsFloating() const { return m_selection.IsFloating(); }
    // Changes of the operation in progress (a stroke, a lifted or dropped block).
    ChangeList m_pPending;
    // Pushes m_pPending as one UNDO_CELLS step when it holds changes.
    void PushPending();
    // The stamp preview exists (after the first move with the Rubber Stamp) and is shown
    // (from the next move on).
    bool m_bStampPreview = false;
    bool m_bStampShown = false;

    // Moves a rectangle of map pixels inside the map, its size unchanged.
    Rect ClampIntoMap(const Rect& mapPixels) const;

    // --- radar ----------------------------------------------------------------------------
    const RadarPicture& Radar() const { return m_radar; }

    // --- what the status bar shows --------------------------------------------------------
    Point m_ptLastMouse;
    std::string CursorText() const;
    std::string VisibleAreaText() const;
    std::string SelectionText() const;
    std::string LineText() const;
    std::string ZoomText() const;
    std::string FlagsText() const;

    // --- tool state read by the texts (the tools keep it) ---------------------------------------
    int m_nForeTile = 0;
    int m_nBackTile = 1;
    bool m_bLeftDown = false;
    bool m_bRightDown = false;
    Rect m_rcSelection; // map pixels
    bool m_bSelecting = false;
    bool m_bHasSelection = false;
    bool m_bFloating = false;
    bool m_bLineActive = false;
    Point m_ptLineStart, m_ptLineEnd; // view-relative cells
    bool m_bPolyActive = false;
    Point m_ptSegStart, m_ptSegEnd;

    // --- MapTarget ------------------------------------------------------------------------
    Cell* Cells() override { return m_doc.GetCells(); }
    int& Flags() override { return m_nFlags; }
    void CellChanged(int x, int y) override;
    void BlockChanged(const Rect& cells) override;
    void SetModified() override { m_doc.SetModifiedFlag(); }
    void ShowMessage(const std::string& text) override { m_host.UserPrompt().ShowMessage(text); }

    ViewHost& Host() { return m_host; }

private:
    void InvalidateAll();
    void ScrollToMapEdge(bool toEnd, bool bothAxes);
    Rect StampInsideMap(const Rect& client) const;

    CKRAVDoc& m_doc;
    ViewHost& m_host;
    ViewGeometry m_view;
    UndoHistory m_history;
    RadarPicture m_radar;
    FreehandTool m_freehand{*this};
    ShapeTools m_shapes{*this};
    SelectionTool m_selection{*this};
};

} // namespace krav
