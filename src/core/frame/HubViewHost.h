#pragma once

#include "editing/ViewHost.h"
#include "frame/MainFrameHub.h"

#include <functional>
#include <set>

namespace krav {

// A map view's window without a screen, wired to the main frame's hub as the editor wires
// its views: krav-lvl play and the tests drive views through it. It keeps the running timers
// and has nothing to paint.
class HubViewHost final : public ViewHost {
public:
    HubViewHost(MainFrameHub& hub, Prompt& prompt) : m_hub(hub), m_prompt(prompt) {}

    bool IsTimerRunning(ViewTimer timer) const { return m_timers.contains(timer); }
    // Called for every beep.
    std::function<void(int)> onBeep;

    void InvalidateClient(const Rect&, bool) override {}
    void UpdateNow() override {}
    void ScrollContents(int, int) override {}
    void ScrollBarsChanged() override {}
    void StartTimer(ViewTimer timer, int) override { m_timers.insert(timer); }
    void StopTimer(ViewTimer timer) override { m_timers.erase(timer); }
    void SetCapture(bool) override {}
    void Beep(BeepType type) override {
        if (onBeep)
            onBeep(static_cast<int>(type));
    }
    Prompt& UserPrompt() override { return m_prompt; }
    void RadarCellsChanged(const Rect&) override {}
    void RadarCellChanged(int, int) override {}
    void RadarViewScrolled(bool) override {}
    void RadarViewRectChanged() override {}
    void RadarShowDocument() override {}
    int CurrentTool() const override { return m_hub.CurrentTool(); }
    Cell GetStampObject() const override { return m_hub.GetStampObject(); }
    void SetCurrentTile(int tile, bool fore) override { m_hub.SetCurrentTile(tile, fore, false); }
    void RequestTool(int tool) override { m_hub.Execute(tool); }

private:
    MainFrameHub& m_hub;
    Prompt& m_prompt;
    std::set<ViewTimer> m_timers;
};

} // namespace krav
