#pragma once

#include "document/TileCodes.h"

namespace krav {

enum class PaletteWindow { TileSet, SpecialObjects, Radar, TileInfo };

// The windows around the views that the main frame's logic shows, hides and updates. The Qt
// main frame implements it with its palette windows; krav-lvl play with plain flags.
class FrameHost {
public:
    virtual ~FrameHost() = default;

    virtual bool IsPaletteVisible(PaletteWindow palette) const = 0;
    virtual void ShowPalette(PaletteWindow palette, bool show) = 0;
    virtual bool IsToolsToolbarVisible() const = 0;
    virtual void ShowToolsToolbar(bool show) = 0;
    // The tile set palette's foreground or background frame moved, or the Tile Info window
    // must show a new tile.
    virtual void TileChoiceChanged(int tile, bool isFore) = 0;
    // The object chosen in the Special Objects palette.
    virtual Cell SpecialObjectsChoice() const = 0;
    virtual void RunImportTileset() = 0;
};

} // namespace krav
