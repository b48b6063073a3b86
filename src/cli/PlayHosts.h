#pragma once

#include "Prompt.h"
#include "editing/ViewHost.h"
#include "frame/FrameHost.h"
#include "frame/MainFrameHub.h"

#include <deque>
#include <iostream>
#include <set>

namespace krav::cli {

// Prints what the editor would show; answers questions from the script (no, when none is
// left: a script must say yes to anything destructive).
class PlayPrompt final : public Prompt {
public:
    explicit PlayPrompt(std::ostream& out) : m_out(out) {}
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    void QueueAnswer(bool yes) { m_answers.push_back(yes); }

private:
    std::ostream& m_out;
    std::deque<bool> m_answers;
};

// The palette windows and toolbars, as flags.
class PlayFrame final : public FrameHost {
public:
    bool IsPaletteVisible(PaletteWindow palette) const override { return m_visible.contains(palette); }
    void ShowPalette(PaletteWindow palette, bool show) override;
    bool IsToolsToolbarVisible() const override { return m_toolsToolbar; }
    void ShowToolsToolbar(bool show) override { m_toolsToolbar = show; }
    void TileChoiceChanged(int, bool) override {}
    Cell SpecialObjectsChoice() const override { return m_object; }
    void RunImportTileset() override {}

    Cell m_object = OBJECT_6X6;

private:
    std::set<PaletteWindow> m_visible;
    bool m_toolsToolbar = true;
};

// A map view's window without a screen: it keeps the running timers and prints beeps.
class PlayViewHost final : public ViewHost {
public:
    PlayViewHost(MainFrameHub& hub, PlayPrompt& prompt, std::ostream& out)
        : m_hub(hub), m_prompt(prompt), m_out(out) {}

    bool IsTimerRunning(int id) const { return m_timers.contains(id); }

    void InvalidateClient(const Rect&, bool) override {}
    void UpdateNow() override {}
    void ScrollContents(int, int) override {}
    void ScrollBarsChanged() override {}
    void StartTimer(int id, int) override { m_timers.insert(id); }
    void StopTimer(int id) override { m_timers.erase(id); }
    void SetCapture(bool) override {}
    void Beep(int type) override { m_out << "beep: " << type << '\n'; }
    Prompt& UserPrompt() override { return m_prompt; }
    void RadarCellsChanged(const Rect&) override {}
    void RadarCellChanged(int, int) override {}
    void RadarViewScrolled(bool) override {}
    void RadarViewRectChanged() override {}
    void RadarShowDocument() override {}
    int CurrentTool() const override { return m_hub.m_nCurrentTool; }
    Cell GetStampObject() const override { return m_hub.GetStampObject(); }
    void SetCurrentTile(int tile, bool fore) override { m_hub.SetCurrentTile(tile, fore, false); }
    void RequestTool(int tool) override { m_hub.Execute(tool); }

private:
    MainFrameHub& m_hub;
    PlayPrompt& m_prompt;
    std::ostream& m_out;
    std::set<int> m_timers;
};

} // namespace krav::cli
