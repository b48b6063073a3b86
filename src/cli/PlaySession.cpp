// krav-lvl play: the editor without a display. A script's input goes through the same engine
// and main-frame logic as the editor's, and what the editor would show is printed.
#include "PlaySession.h"

#include "LevelFiles.h"
#include "OutputFiles.h"
#include "frame/CommandIds.h"
#include "frame/StatusPanes.h"

#include <algorithm>
#include <iostream>

namespace krav::cli {

PlaySession::PlaySession(std::string level, std::string out, std::string script)
    : m_level(std::move(level)), m_out(std::move(out)), m_script(std::move(script)),
      m_prompt(ScriptedPrompt::WhenUnanswered::Decline, &std::cout), m_hub(m_frame, m_prompt) {}

bool PlaySession::Open() {
    auto doc = std::make_unique<CKRAVDoc>();
    m_opened = std::make_unique<CKRAVDoc>();
    if (m_level == "new") {
        if (!doc->OnNewDocument(m_prompt) || !m_opened->OnNewDocument(m_prompt))
            return false;
        doc->SetTitle(NextUntitled());
    } else {
        std::vector<std::string> warnings;
        if (!ReadLevelFile(*doc, m_level, warnings))
            return false;
        for (const auto& text : warnings)
            m_prompt.ShowMessage(text); // the level still opens
        ScriptedPrompt again;           // its warnings were shown once
        if (!m_opened->OnOpenDocument(m_level, again, LevelUnknownCodes()))
            return false;
    }
    AddView(std::move(doc), true);
    return true;
}

void PlaySession::AddView(std::unique_ptr<CKRAVDoc> doc, bool first) {
    PlayView view;
    view.doc = std::move(doc);
    view.first = first;
    view.host = std::make_unique<HubViewHost>(m_hub, m_prompt);
    view.host->onBeep = [this](int type) { m_prompt.Beep(type); };
    view.engine = std::make_unique<MapViewEngine>(*view.doc, *view.host);
    MapViewEngine* engine = view.engine.get();
    view.doc->SetUpdateAllViews([engine] { engine->OnUpdate(0); });
    engine->OnInitialUpdate(m_width, m_height);
    m_views.push_back(std::move(view));
    m_active = m_views.size() - 1;
    m_hub.ViewOpened();
    m_hub.SetActiveView(engine);
}

std::string PlaySession::NextUntitled() {
    return "KRAV" + std::to_string(m_nextUntitled++);
}

PlaySession::PlayView* PlaySession::Active() {
    return m_views.empty() ? nullptr : &m_views[m_active];
}

int PlaySession::MouseFlags(bool shift, bool ctrl) const {
    return (m_leftHeld ? MK_LBUTTON : 0) | (m_rightHeld ? MK_RBUTTON : 0) | (shift ? MK_SHIFT : 0) |
           (ctrl ? MK_CONTROL : 0);
}

void PlaySession::Mouse(MapViewEngine& view, const PlayStep& step) {
    using K = PlayStep::Kind;
    const Point at{step.a, step.b};
    switch (step.kind) {
    case K::Down:
        (step.left ? m_leftHeld : m_rightHeld) = true;
        step.left ? view.OnLButtonDown(MouseFlags(step.shift, step.ctrl), at)
                  : view.OnRButtonDown(MouseFlags(step.shift, step.ctrl), at);
        break;
    case K::Up:
        (step.left ? m_leftHeld : m_rightHeld) = false;
        step.left ? view.OnLButtonUp(MouseFlags(step.shift, step.ctrl), at)
                  : view.OnRButtonUp(MouseFlags(step.shift, step.ctrl), at);
        break;
    case K::Move:
        m_leftHeld = step.left;
        m_rightHeld = step.right;
        view.OnMouseMove(MouseFlags(step.shift, step.ctrl), at);
        break;
    case K::DoubleClick: {
        // The second click of a double-click: the double-click itself, then its release.
        const int flags = MouseFlags(false, false) | (step.left ? MK_LBUTTON : MK_RBUTTON);
        step.left ? view.OnLButtonDblClk(flags, at) : view.OnRButtonDblClk(flags, at);
        step.left ? view.OnLButtonUp(flags & ~MK_LBUTTON, at)
                  : view.OnRButtonUp(flags & ~MK_RBUTTON, at);
        break;
    }
    default:
        break;
    }
}

void PlaySession::Command(int id) {
    switch (id) {
    case ID_FILE_NEW: {
        auto doc = std::make_unique<CKRAVDoc>();
        if (!doc->OnNewDocument(m_prompt))
            return;
        doc->SetTitle(NextUntitled());
        AddView(std::move(doc), false);
        return;
    }
    case ID_FILE_CLOSE:
        Close();
        return;
    case ID_VIEW_TOOLBAR:
        m_mainToolbar = !m_mainToolbar;
        return;
    case ID_VIEW_STATUS_BAR:
        m_statusBar = !m_statusBar;
        return;
    default:
        if (!m_hub.Execute(id))
            std::cout << "disabled: " << id << '\n';
    }
}

void PlaySession::Close() {
    PlayView* view = Active();
    if (!view) {
        std::cout << "disabled: " << ID_FILE_CLOSE << '\n';
        return;
    }
    CKRAVDoc& doc = *view->doc;
    if (doc.IsModified()) {
        const auto answer =
            m_prompt.AskYesNoCancel("KRAV", "Save changes to " + doc.GetTitle() + "?");
        if (answer == Prompt::Answer::Cancel)
            return;
        if (answer == Prompt::Answer::Yes && !SaveToItsFile(*view))
            return;
        if (answer == Prompt::Answer::No && view->first) {
            m_outWritten = true;
            SaveLevel(*m_opened, m_out);
        }
    } else if (view->first) {
        m_outWritten = true;
        SaveLevel(doc, m_out);
    }
    m_hub.SetActiveView(nullptr);
    m_hub.ViewClosed();
    m_views.erase(m_views.begin() + static_cast<std::ptrdiff_t>(m_active));
    if (m_views.empty())
        return;
    // As the editor's window area does: the next window in the order they were opened, or
    // the first when the last one closed.
    if (m_active >= m_views.size())
        m_active = 0;
    m_hub.SetActiveView(m_views[m_active].engine.get());
}

bool PlaySession::SaveToItsFile(PlayView& view) {
    if (view.first) {
        m_outWritten = true;
        return SaveLevel(*view.doc, m_out);
    }
    // A new level never saved would need a file name from a dialog, which a script cannot
    // answer: as if that dialog was cancelled.
    const std::string path = view.doc->GetPathName();
    return !path.empty() && SaveLevel(*view.doc, path);
}

bool PlaySession::SaveLevel(CKRAVDoc& doc, const std::string& path) {
    if (!OutputsSpareInputs({m_script}, {path})) {
        m_saveFailed = true;
        return false;
    }
    if (doc.OnSaveDocument(path, m_prompt))
        return true;
    // Shown as the editor shows it, and on standard error for whoever runs the script.
    std::cerr << "krav-lvl: " << path << ": " << m_prompt.messages.back() << '\n';
    m_saveFailed = true;
    return false;
}

bool PlaySession::Finish() {
    for (PlayView& view : m_views)
        if (view.first)
            return SaveLevel(*view.doc, m_out);
    return m_outWritten && !m_saveFailed;
}

bool PlaySession::Expect(bool holds, const std::string& what) {
    if (!holds)
        std::cout << "expect failed: " << what << '\n';
    return holds;
}

void PlaySession::PrintChecks() const {
    std::vector<int> ids{ID_VIEW_TOOLS_TOOLBAR,     ID_TOGGLE_GRID,  ID_TOGGLE_TILESET,
                         ID_TOGGLE_SPECIAL_OBJECTS, ID_TOGGLE_RADAR, ID_TOGGLE_TILE_INFO};
    for (int id = ID_TOOL_FIRST; id <= ID_TOOL_LAST; ++id)
        ids.push_back(id);
    std::vector<int> checked;
    for (const int id : ids)
        if (m_hub.State(id).checked)
            checked.push_back(id);
    if (m_mainToolbar)
        checked.push_back(ID_VIEW_TOOLBAR);
    if (m_statusBar)
        checked.push_back(ID_VIEW_STATUS_BAR);
    std::sort(checked.begin(), checked.end());
    std::cout << "checks:";
    for (const int id : checked)
        std::cout << ' ' << id;
    std::cout << '\n';
}

bool PlaySession::Run(const PlayStep& step) {
    using K = PlayStep::Kind;
    switch (step.kind) {
    case K::Size:
        m_width = step.a;
        m_height = step.b;
        if (PlayView* view = Active())
            view->engine->OnSize(step.a, step.b);
        return true;
    case K::Tool:
    case K::Command:
    case K::Accel:
        Command(step.a);
        return true;
    case K::Answer:
        m_prompt.answers.push_back(step.yes);
        return true;
    case K::Tile:
        m_hub.ChooseTile(step.a, step.yes);
        return true;
    case K::Object:
        m_frame.object = static_cast<Cell>(step.a);
        m_hub.SelectStampObject(static_cast<Cell>(step.a));
        return true;
    case K::New:
        Command(ID_FILE_NEW);
        return true;
    case K::Close:
        Close();
        return true;
    case K::View:
        if (step.a < 1 || static_cast<std::size_t>(step.a) > m_views.size())
            return Expect(false, "there is no view " + std::to_string(step.a));
        m_active = static_cast<std::size_t>(step.a - 1);
        m_hub.SetActiveView(m_views[m_active].engine.get());
        return true;
    case K::PrintStatus: {
        PlayView* view = Active();
        for (const auto& text : StatusPaneTexts(view ? view->engine.get() : nullptr))
            std::cout << text << '\n';
        return true;
    }
    case K::PrintChecks:
        PrintChecks();
        return true;
    case K::Down:
    case K::Up:
    case K::Move:
    case K::DoubleClick:
    case K::Key:
    case K::Wheel:
    case K::Tick:
        // With every view closed there is no window to take the input.
        if (PlayView* view = Active())
            RunOnView(*view, step);
        return true;
    default:
        break;
    }
    PlayView* view = Active();
    if (!view)
        return Expect(false, "there is no view");
    return RunOnView(*view, step);
}

bool PlaySession::RunOnView(PlayView& active, const PlayStep& step) {
    using K = PlayStep::Kind;
    MapViewEngine& view = *active.engine;
    switch (step.kind) {
    case K::Down:
    case K::Up:
    case K::Move:
    case K::DoubleClick:
        Mouse(view, step);
        break;
    case K::Key:
        view.OnKeyDown(step.key, step.shift, step.ctrl);
        break;
    case K::Wheel:
        // The wheel turns away from the user for a positive delta, as the editor's view
        // reports it, with the desktop's usual three lines a notch.
        view.OnMouseWheel({.delta = {0, step.a},
                           .client = {step.b, step.c},
                           .shift = step.shift,
                           .control = step.ctrl});
        break;
    case K::Tick:
        // Only a running timer ticks, as in the editor.
        if (active.host->IsTimerRunning(static_cast<ViewTimer>(step.a)))
            view.OnTimer(static_cast<ViewTimer>(step.a), {step.b, step.c});
        break;
    case K::Save:
        return SaveLevel(*active.doc, step.text);
    case K::ExpectCell: {
        const auto actual = static_cast<std::int32_t>(view.Document().GetCell(step.b, step.a));
        return Expect(actual == step.value,
                      "cell " + std::to_string(step.a) + " " + std::to_string(step.b) + " is " +
                          std::to_string(actual) + ", expected " + std::to_string(step.value));
    }
    case K::ExpectFlags:
        return Expect(view.FlagCount() == step.a, "flags are " + std::to_string(view.FlagCount()) +
                                                      ", expected " + std::to_string(step.a));
    case K::ExpectText: {
        const std::string actual = StatusPaneTexts(&view)[static_cast<std::size_t>(step.a - 1)];
        return Expect(actual == step.text, "pane " + std::to_string(step.a) + " shows \"" + actual +
                                               "\", expected \"" + step.text + "\"");
    }
    case K::PrintCell:
        std::cout << "cell " << step.a << ' ' << step.b << ": "
                  << static_cast<std::int32_t>(view.Document().GetCell(step.b, step.a)) << '\n';
        break;
    case K::PrintFlags:
        std::cout << "flags: " << view.FlagCount() << '\n';
        break;
    case K::PrintModified:
        std::cout << "modified: " << (active.doc->IsModified() ? "yes" : "no") << '\n';
        break;
    default:
        break;
    }
    return true;
}

} // namespace krav::cli
