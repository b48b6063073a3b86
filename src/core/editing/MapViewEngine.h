#pragma once

#include "document/CKRAVDoc.h"
#include "editing/FreehandTool.h"
#include "editing/PickTools.h"
#include "editing/RadarPicture.h"
#include "editing/SelectionTool.h"
#include "editing/ShapeTools.h"
#include "editing/StampTool.h"
#include "editing/ToolContext.h"
#include "editing/ToolIds.h"
#include "editing/UndoHistory.h"
#include "editing/ViewGeometry.h"
#include "editing/ViewHost.h"

#include <array>
#include <string>

namespace krav {

// The editing logic of one map view: which cells it shows, its history, its live flag count,
// its radar picture, the buttons held, and its tools. It takes client-pixel input, works out
// the cell under the pointer once and hands both to the current tool; it reaches the window
// only through its ViewHost, so it runs the same in the editor, in krav-lvl play and in tests.
class MapViewEngine final : public ToolContext {
public:
    MapViewEngine(CKRAVDoc& doc, ViewHost& host);
    ~MapViewEngine() override;
    MapViewEngine(const MapViewEngine&) = delete;
    MapViewEngine& operator=(const MapViewEngine&) = delete;

    // Sets the view up for a client area of this size: zoom 1:1 with grid at the map's
    // corner, tiles 0 and 1, the radar picture built and the document's flag count taken.
    void OnInitialUpdate(int clientWidth, int clientHeight);

    // --- geometry -------------------------------------------------------------------------
    void OnSize(int clientWidth, int clientHeight);
    void OnVScroll(int code, int thumbPosition = 0);
    void OnHScroll(int code, int thumbPosition = 0);
    void ZoomAt(int x, int y, bool zoomOut, ZoomAnchor place = ZoomAnchor::Centre);
    void SetVisibleArea(int left, int top, int right, int bottom);
    void ToggleGrid();
    int GetGridState() const { return m_view.GetGridState(); }
    // The document changed: hint > 0 names one cell (row << 16 | column), else everything.
    void OnUpdate(int hint);

    // --- history --------------------------------------------------------------------------
    const UndoHistory& History() const { return m_history; }
    void UndoRedo(ApplyMode mode);
    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }

    // --- input: client pixels, button flags MK_*, as the window delivers them ---------------
    void OnLButtonDown(int flags, Point client) { OnButtonDown(MouseButton::Left, flags, client); }
    void OnRButtonDown(int flags, Point client) { OnButtonDown(MouseButton::Right, flags, client); }
    void OnLButtonUp(int flags, Point client) { OnButtonUp(MouseButton::Left, flags, client); }
    void OnRButtonUp(int flags, Point client) { OnButtonUp(MouseButton::Right, flags, client); }
    void OnLButtonDblClk(int flags, Point client) {
        OnDoubleClick(MouseButton::Left, flags, client);
    }
    void OnRButtonDblClk(int flags, Point client) {
        OnDoubleClick(MouseButton::Right, flags, client);
    }
    void OnMouseMove(int flags, Point client);
    // A turn of the mouse wheel at a client point: Control zooms a step per notch there,
    // Shift or a sideways wheel scrolls columns, the plain wheel rows, lines per notch each.
    void OnMouseWheel(const WheelTurn& turn);
    // A tick of a timer, with the pointer where it is now.
    void OnTimer(ViewTimer timer, Point pointer);
    // Home and End go to the map's left and right edge, with control to its top-left and
    // bottom-right corner; the others ignore control.
    void OnKeyDown(ViewKey key, bool shift, bool control = false);
    // The main frame is about to change the current tool.
    void ChangeTool(int oldTool, int newTool);
    // A tile chosen in the tile set palette.
    void SetForeBack(int tile, bool isFore);
    // Erase Map, once the user agreed: empties the map; not recorded in the history.
    void EraseMap();

    // --- the tools --------------------------------------------------------------------------
    SelectionTool& Selection() { return m_selection; }
    const SelectionTool& Selection() const { return m_selection; }
    const ShapeTools& Shapes() const { return m_shapes; }
    StampTool& Stamp() { return m_stamp; }
    const StampTool& Stamp() const { return m_stamp; }
    bool HasSelection() const { return m_selection.HasSelection(); }
    bool IsFloating() const { return m_selection.IsFloating(); }
    bool IsDrawingLine() const { return m_shapes.ActiveLine().has_value(); }
    int ForeTile() const { return m_nForeTile; }
    int BackTile() const { return m_nBackTile; }
    int FlagCount() const { return m_nFlags; }

    // --- radar ----------------------------------------------------------------------------
    const RadarPicture& Radar() const { return m_radar; }

    // --- what the status bar shows --------------------------------------------------------
    // The last pointer position inside the client area.
    Point LastPointer() const { return m_ptLastMouse; }
    std::string CursorText() const;
    std::string VisibleAreaText() const;
    std::string SelectionText() const;
    std::string LineText() const;
    std::string ZoomText() const;
    std::string FlagsText() const;

    // --- ToolContext ----------------------------------------------------------------------
    CKRAVDoc& Document() override { return m_doc; }
    const CKRAVDoc& Document() const { return m_doc; }
    const ViewGeometry& Geometry() const override { return m_view; }
    UndoHistory& History() override { return m_history; }
    ViewHost& Host() override { return m_host; }
    int CurrentTool() const override { return m_host.CurrentTool(); }
    bool IsHeld(MouseButton button) const override;
    void SetHeld(MouseButton button, bool held) override;
    int TileOf(MouseButton button) const override;
    void SetTile(MouseButton button, int tile) override;
    void ScrollRows(ScrollCode code) override { OnVScroll(code); }
    void ScrollColumns(ScrollCode code) override { OnHScroll(code); }
    void ZoomAt(Point client, bool zoomOut) override { ZoomAt(client.x, client.y, zoomOut); }
    ChangeList& PendingChanges() override { return m_pendingChanges; }
    void PushPending() override;
    void EndStroke() override;
    void EraseObject(int x, int y, Cell v, ChangeList& list) override;
    void InvalidateCell(int row, int column) override;
    void InvalidateBlock(const Rect& cells) override;
    Rect ClampIntoMap(const Rect& mapPixels) const override;

    // --- MapTarget ------------------------------------------------------------------------
    Cell* Cells() override { return m_doc.GetCells(); }
    int& Flags() override { return m_nFlags; }
    void CellChanged(int x, int y) override;
    void BlockChanged(const Rect& cells) override;
    void SetModified() override { m_doc.SetModifiedFlag(); }
    void ShowMessage(const std::string& text) override { m_host.UserPrompt().ShowMessage(text); }

private:
    void OnButtonDown(MouseButton button, int flags, Point client);
    void OnButtonUp(MouseButton button, int flags, Point client);
    void OnDoubleClick(MouseButton button, int flags, Point client);
    // The tool family that handles a tool id; a plain Tool that does nothing for ids that name
    // no tool.
    Tool& ToolFor(int toolId);
    Tool& Current() { return ToolFor(m_host.CurrentTool()); }
    // The pointer as a tool sees it: the cell under a client point as the window reports it,
    // and for timer ticks (the pointer may be left of or above the window) rounded down.
    PointerEvent EventAt(int flags, Point client) const;
    PointerEvent EventBeyond(Point client) const;
    void InvalidateAll();
    void ScrollToMapEdge(bool toEnd, bool bothAxes);
    void ZoomByWheel(int delta, Point client);
    void ScrollByWheel(bool vertical, int delta, int linesPerNotch);

    CKRAVDoc& m_doc;
    ViewHost& m_host;
    ViewGeometry m_view;
    UndoHistory m_history;
    RadarPicture m_radar;
    int m_nFlags = 0;
    int m_nForeTile = 0;
    int m_nBackTile = 1;
    bool m_bLeftDown = false;
    bool m_bRightDown = false;
    Point m_ptLastMouse;
    ChangeList m_pendingChanges;
    // What the wheel turned and did not act on yet: eighths of a degree with Control, and
    // 1/120 lines for each scroll bar. A turn the other way starts again.
    int m_zoomWheel = 0;
    int m_rowsWheel = 0;
    int m_columnsWheel = 0;

    FreehandTool m_freehand{*this};
    DropperTool m_dropper{*this};
    MagnifyTool m_magnify{*this};
    StampTool m_stamp{*this};
    ShapeTools m_shapes{*this};
    SelectionTool m_selection{*this};
    Tool m_noTool;
    // Escape reaches every family, the shapes first.
    std::array<Tool*, 6> m_families{&m_shapes,  &m_freehand, &m_dropper,
                                    &m_magnify, &m_stamp,    &m_selection};
};

} // namespace krav
