#pragma once

#include "editing/ViewHost.h"
#include "support/FakePrompt.h"

#include <string>
#include <vector>

namespace krav::test {

// A map view's window for tests: remembers what the engine asked for.
class RecordingHost final : public ViewHost {
public:
    void InvalidateClient(const Rect& client, bool) override { invalidated.push_back(client); }
    void UpdateNow() override {}
    void ScrollContents(int dx, int dy) override { scrolled.push_back({dx, dy}); }
    void ScrollBarsChanged() override {}
    void StartTimer(ViewTimer timer, int periodMs) override {
        events.push_back("start " + std::to_string(static_cast<int>(timer)) + " " +
                         std::to_string(periodMs));
    }
    void StopTimer(ViewTimer timer) override {
        events.push_back("stop " + std::to_string(static_cast<int>(timer)));
    }
    void SetCapture(bool captured) override { capture = captured; }
    void Beep(BeepType type) override { beeps.push_back(static_cast<int>(type)); }
    Prompt& UserPrompt() override { return prompt; }
    void RadarCellsChanged(const Rect& cells) override { radarBlocks.push_back(cells); }
    void RadarCellChanged(int, int) override {}
    void RadarViewScrolled(bool vertical) override {
        events.push_back(vertical ? "radar rows" : "radar columns");
    }
    void RadarViewRectChanged() override {}
    void RadarShowDocument() override {}
    int CurrentTool() const override { return tool; }
    Cell GetStampObject() const override { return stampObject; }
    void SetCurrentTile(int tile, bool fore) override { picked.push_back({tile, fore ? 1 : 0}); }
    void RequestTool(int requested) override { tool = requested; }

    FakePrompt prompt;
    std::vector<Rect> invalidated;
    std::vector<Point> scrolled;
    std::vector<Rect> radarBlocks;
    std::vector<std::string> events;
    std::vector<int> beeps;
    std::vector<Point> picked; // tile, fore
    bool capture = false;
    int tool = 32100;
    Cell stampObject = OBJECT_6X6;
};

} // namespace krav::test
