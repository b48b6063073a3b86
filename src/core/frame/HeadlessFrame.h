#pragma once

#include "frame/FrameHost.h"

#include <set>

namespace krav {

// The main frame's windows without a display, as plain state: which palettes and toolbars
// show, the tiles the palettes were last told of, the chosen special object and how often a
// tile set import was asked for. krav-lvl play and the tests drive the hub through it.
class HeadlessFrame final : public FrameHost {
public:
    bool IsPaletteVisible(PaletteWindow palette) const override {
        return visible.contains(palette);
    }
    void ShowPalette(PaletteWindow palette, bool show) override;
    bool IsToolsToolbarVisible() const override { return toolsToolbar; }
    void ShowToolsToolbar(bool show) override { toolsToolbar = show; }
    void TileChoiceChanged(int tile, bool isFore) override;
    Cell SpecialObjectsChoice() const override { return object; }
    void RunImportTileset() override { ++imports; }

    std::set<PaletteWindow> visible;
    bool toolsToolbar = true;
    // The last tile shown for each button; -1 until the hub shows one.
    int shownFore = -1;
    int shownBack = -1;
    int imports = 0;
    Cell object = OBJECT_6X6;
};

} // namespace krav
