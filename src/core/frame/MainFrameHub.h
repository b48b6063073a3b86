#pragma once

#include "Prompt.h"
#include "editing/CopyBuffer.h"
#include "editing/ToolIds.h"
#include "frame/FrameHost.h"

namespace krav {

class MapViewEngine;

struct CommandState {
    bool enabled = false;
    bool checked = false;
};

// What the main frame shares between all map views and decides for them: the current tool,
// the stamp object, the copy buffer, the two tiles chosen in the tile set palette, and the
// routing, enabling and checking of every view command. The Qt main frame only mirrors it;
// krav-lvl play drives it directly.
class MainFrameHub {
public:
    MainFrameHub(FrameHost& frame, Prompt& prompt) : m_frame(frame), m_prompt(prompt) {}

    int CurrentTool() const { return m_nCurrentTool; }
    // The tiles framed in the tile set palette.
    int PaletteTile(bool isFore) const { return isFore ? m_nPaletteFore : m_nPaletteBack; }

    // The view of the active document window, or null when none is open.
    MapViewEngine* ActiveView() const { return m_pActiveView; }
    // A view became active: the palettes show its tiles.
    void SetActiveView(MapViewEngine* view);
    // A view was set up (shows the palettes with the first) or destroyed (hides them with the
    // last).
    void ViewOpened();
    void ViewClosed();

    void SetCurrentTile(int tile, bool isFore, bool fromPalette);
    // A click on a tile in the tile set palette. The tile already chosen for that button
    // changes nothing, so the tool stays; false then.
    bool ChooseTile(int tile, bool isFore);
    void SelectStampObject(Cell object);
    Cell GetStampObject() const { return m_nStampObject; }

    // Whether the command is this hub's (view, tool, palette and clipboard commands).
    static bool Handles(int id);
    CommandState State(int id) const;
    // Carries out a command; false (and nothing done) when it is disabled or not the hub's.
    bool Execute(int id);

private:
    int m_nCurrentTool = ID_TOOL_PENCIL;
    Cell m_nStampObject = OBJECT_6X6;
    CopyBuffer m_copy;
    int m_nOpenViews = 0;
    int m_nPaletteFore = 0;
    int m_nPaletteBack = 1;

    void OnToolCommand(int tool);
    void StepTile(bool next, bool isFore);
    void CopyOrCut(bool cut);
    void Paste();
    void TogglePalette(PaletteWindow palette);

    FrameHost& m_frame;
    Prompt& m_prompt;
    MapViewEngine* m_pActiveView = nullptr;
};

} // namespace krav
