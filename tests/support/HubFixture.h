#pragma once

// A main frame hub with one or more map views over new levels, without a display.
#include "document/CKRAVDoc.h"
#include "editing/MapViewEngine.h"
#include "frame/HeadlessFrame.h"
#include "frame/HubViewHost.h"
#include "frame/MainFrameHub.h"
#include "support/FakePrompt.h"

#include <memory>
#include <vector>

namespace krav::test {

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

    HeadlessFrame frame;
    FakePrompt prompt;
    MainFrameHub hub;
    std::vector<HubView> views;
};

} // namespace krav::test
