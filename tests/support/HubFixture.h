#pragma once

// A main frame hub with one or more map views over new levels, without a display.
#include "document/CKRAVDoc.h"
#include "editing/MapViewEngine.h"
#include "frame/HubViewHost.h"
#include "frame/MainFrameHub.h"
#include "support/FakePrompt.h"

#include <memory>
#include <set>
#include <vector>

namespace krav::test {

class FakeFrame final : public FrameHost {
public:
    bool IsPaletteVisible(PaletteWindow palette) const override { return visible.contains(palette); }
    void ShowPalette(PaletteWindow palette, bool show) override {
        show ? (void)visible.insert(palette) : (void)visible.erase(palette);
    }
    bool IsToolsToolbarVisible() const override { return toolsToolbar; }
    void ShowToolsToolbar(bool show) override { toolsToolbar = show; }
    void TileChoiceChanged(int tile, bool isFore) override { (isFore ? shownFore : shownBack) = tile; }
    Cell SpecialObjectsChoice() const override { return object; }
    void RunImportTileset() override { ++imports; }

    std::set<PaletteWindow> visible;
    bool toolsToolbar = true;
    int shownFore = -1, shownBack = -1, imports = 0;
    Cell object = OBJECT_6X6;
};

struct HubView {
    std::unique_ptr<CKRAVDoc> doc = std::make_unique<CKRAVDoc>();
    std::unique_ptr<HubViewHost> host;
    std::unique_ptr<MapViewEngine> engine;
};

class HubFixture {
public:
    HubFixture() : hub(frame, prompt) {}

    // Opens a view of a new level (the first flagCount cells of row 500 hold flags).
    MapViewEngine& OpenView(int width = 640, int height = 480) {
        HubView view;
        view.doc->OnNewDocument(prompt);
        view.host = std::make_unique<HubViewHost>(hub, prompt);
        view.engine = std::make_unique<MapViewEngine>(*view.doc, *view.host);
        MapViewEngine* engine = view.engine.get();
        view.doc->SetUpdateAllViews([engine] { engine->OnUpdate(0); });
        engine->OnInitialUpdate(width, height);
        views.push_back(std::move(view));
        hub.ViewOpened();
        hub.SetActiveView(engine);
        return *engine;
    }

    FakeFrame frame;
    FakePrompt prompt;
    MainFrameHub hub;
    std::vector<HubView> views;
};

} // namespace krav::test
