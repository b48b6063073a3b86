#pragma once

#include "Prompt.h"
#include "frame/FrameHost.h"
#include "frame/MainFrameHub.h"

#include <deque>
#include <iostream>
#include <set>

namespace krav::cli {

// Prints what the editor would show; answers questions from the script. With no answer left,
// a question is answered no and a save question is cancelled: a script must say yes to
// anything destructive, and discarding changes is too.
class PlayPrompt final : public Prompt {
public:
    explicit PlayPrompt(std::ostream& out) : m_out(out) {}
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    Answer AskYesNoCancel(const std::string& caption, const std::string& text) override;
    void QueueAnswer(bool yes) { m_answers.push_back(yes); }

private:
    std::ostream& m_out;
    std::deque<bool> m_answers;
};

// The palette windows and toolbars, as flags.
class PlayFrame final : public FrameHost {
public:
    bool IsPaletteVisible(PaletteWindow palette) const override {
        return m_visible.contains(palette);
    }
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

} // namespace krav::cli
