// krav-lvl play: the editor without a display. A script's input goes through the same engine
// and main-frame logic as the editor's, and what the editor would show is printed.
#include "Commands.h"
#include "PlayHosts.h"
#include "PlayScript.h"
#include "RecordingPrompt.h"
#include "document/CKRAVDoc.h"
#include "editing/MapViewEngine.h"
#include "frame/CommandIds.h"
#include "frame/HubViewHost.h"
#include "frame/StatusPanes.h"

#include <fstream>
#include <iostream>
#include <memory>

namespace krav::cli {

namespace {

struct PlayView {
    std::unique_ptr<CKRAVDoc> doc;
    std::unique_ptr<HubViewHost> host;
    std::unique_ptr<MapViewEngine> engine;
};

class PlaySession {
public:
    PlaySession() : m_prompt(std::cout), m_hub(m_frame, m_prompt) {}

    // Opens the first level (or a new one for "new"); false when it cannot be read.
    bool Open(const std::string& level);
    // Carries out one step; false when an expectation failed.
    bool Run(const PlayStep& step);
    bool Save(const std::string& path) { return m_views.front().doc->OnSaveDocument(path, m_prompt); }

private:
    void AddView(std::unique_ptr<CKRAVDoc> doc);
    MapViewEngine& Active() { return *m_views[m_active].engine; }
    int MouseFlags(bool shift, bool ctrl) const;
    void Mouse(const PlayStep& step);
    void Command(int id);
    bool Expect(bool holds, const std::string& what);

    PlayPrompt m_prompt;
    PlayFrame m_frame;
    MainFrameHub m_hub;
    std::vector<PlayView> m_views;
    std::size_t m_active = 0;
    int m_width = 1024;
    int m_height = 768;
    bool m_leftHeld = false;
    bool m_rightHeld = false;
};

bool PlaySession::Open(const std::string& level) {
    auto doc = std::make_unique<CKRAVDoc>();
    if (level == "new") {
        if (!doc->OnNewDocument(m_prompt)) return false;
    } else {
        RecordingPrompt reading;
        const bool opened = doc->OnOpenDocument(level, reading);
        for (const auto& text : reading.messages) {
            if (opened)
                m_prompt.ShowMessage(text); // a warning the editor shows, the level still opens
            else
                std::cerr << text << '\n';
        }
        if (!opened) return false;
    }
    AddView(std::move(doc));
    return true;
}

void PlaySession::AddView(std::unique_ptr<CKRAVDoc> doc) {
    PlayView view;
    view.doc = std::move(doc);
    view.host = std::make_unique<HubViewHost>(m_hub, m_prompt);
    view.host->onBeep = [](int type) { std::cout << "beep: " << type << '\n'; };
    view.engine = std::make_unique<MapViewEngine>(*view.doc, *view.host);
    MapViewEngine* engine = view.engine.get();
    view.doc->SetUpdateAllViews([engine] { engine->OnUpdate(0); });
    engine->OnInitialUpdate(m_width, m_height);
    m_views.push_back(std::move(view));
    m_active = m_views.size() - 1;
    m_hub.ViewOpened();
    m_hub.SetActiveView(engine);
}

int PlaySession::MouseFlags(bool shift, bool ctrl) const {
    return (m_leftHeld ? MK_LBUTTON : 0) | (m_rightHeld ? MK_RBUTTON : 0) | (shift ? MK_SHIFT : 0) |
           (ctrl ? MK_CONTROL : 0);
}

void PlaySession::Mouse(const PlayStep& step) {
    using K = PlayStep::Kind;
    MapViewEngine& view = Active();
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
        step.left ? view.OnLButtonUp(flags & ~MK_LBUTTON, at) : view.OnRButtonUp(flags & ~MK_RBUTTON, at);
        break;
    }
    default: break;
    }
}

void PlaySession::Command(int id) {
    if (id == ID_FILE_NEW) {
        auto doc = std::make_unique<CKRAVDoc>();
        if (doc->OnNewDocument(m_prompt)) AddView(std::move(doc));
        return;
    }
    if (!m_hub.Execute(id)) std::cout << "disabled: " << id << '\n';
}

bool PlaySession::Expect(bool holds, const std::string& what) {
    if (!holds) std::cout << "expect failed: " << what << '\n';
    return holds;
}

bool PlaySession::Run(const PlayStep& step) {
    using K = PlayStep::Kind;
    MapViewEngine& view = Active();
    switch (step.kind) {
    case K::Size:
        m_width = step.a;
        m_height = step.b;
        view.OnSize(step.a, step.b);
        break;
    case K::Tool:
    case K::Command: Command(step.a); break;
    case K::Answer: m_prompt.QueueAnswer(step.yes); break;
    case K::Tile: m_hub.SetCurrentTile(step.a, step.yes, true); break;
    case K::Object:
        m_frame.m_object = static_cast<Cell>(step.a);
        m_hub.SelectStampObject(static_cast<Cell>(step.a));
        break;
    case K::Down:
    case K::Up:
    case K::Move:
    case K::DoubleClick: Mouse(step); break;
    case K::Key: view.OnKeyDown(step.key, step.shift); break;
    case K::Tick:
        // Only a running timer ticks, as in the editor.
        if (m_views[m_active].host->IsTimerRunning(step.a)) view.OnTimer(step.a, {step.b, step.c});
        break;
    case K::New: Command(ID_FILE_NEW); break;
    case K::View:
        if (step.a < 1 || static_cast<std::size_t>(step.a) > m_views.size())
            return Expect(false, "there is no view " + std::to_string(step.a));
        m_active = static_cast<std::size_t>(step.a - 1);
        m_hub.SetActiveView(m_views[m_active].engine.get());
        break;
    case K::Save: m_views[m_active].doc->OnSaveDocument(step.text, m_prompt); break;
    case K::ExpectCell: {
        const auto actual = static_cast<std::int32_t>(view.Document().GetCell(step.b, step.a));
        return Expect(actual == step.value, "cell " + std::to_string(step.a) + " " + std::to_string(step.b) +
                                                " is " + std::to_string(actual) + ", expected " +
                                                std::to_string(step.value));
    }
    case K::ExpectFlags:
        return Expect(view.m_nFlags == step.a, "flags are " + std::to_string(view.m_nFlags) +
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
    case K::PrintFlags: std::cout << "flags: " << view.m_nFlags << '\n'; break;
    case K::PrintStatus:
        for (const auto& text : StatusPaneTexts(&view)) std::cout << text << '\n';
        break;
    }
    return true;
}

} // namespace

int RunPlay(const Arguments& args) {
    std::ifstream in(args[0]);
    if (!in) {
        std::cerr << "krav-lvl: cannot read the script " << args[0] << '\n';
        return EXIT_USAGE;
    }
    const PlayScript script = ParsePlayScript(in);
    if (!script.error.empty()) {
        std::cerr << args[0] << ':' << script.error << '\n';
        return EXIT_USAGE;
    }
    PlaySession session;
    if (!session.Open(args[1])) return EXIT_FAILED;
    for (const auto& step : script.steps)
        if (!session.Run(step)) return EXIT_FAILED;
    std::cout << std::flush;
    return session.Save(args[2]) ? EXIT_OK : EXIT_FAILED;
}

} // namespace krav::cli
