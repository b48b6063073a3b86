#pragma once

#include "PlayScript.h"
#include "document/CKRAVDoc.h"
#include "editing/MapViewEngine.h"
#include "frame/HeadlessFrame.h"
#include "frame/HubViewHost.h"
#include "frame/MainFrameHub.h"
#include "frame/ScriptedPrompt.h"

#include <memory>
#include <string>
#include <vector>

namespace krav::cli {

// The editor without a display: map views of open levels, the main frame's hub and what the
// editor would show, printed. View 1 holds the level play opened; its file is OUT.
class PlaySession {
public:
    // script is the file the steps come from, which no save may replace.
    PlaySession(std::string level, std::string out, std::string script);

    // Opens the level (or a new one for "new") as view 1; false when it cannot be read.
    bool Open();
    // Carries out one step; false when an expectation failed.
    bool Run(const PlayStep& step);
    // Writes view 1's level to OUT, unless closing it did already; false when OUT could not
    // be written.
    bool Finish();
    // Whether a save failed; the run then ends with the failure.
    bool SaveFailed() const { return m_saveFailed; }

private:
    struct PlayView {
        std::unique_ptr<CKRAVDoc> doc;
        std::unique_ptr<HubViewHost> host;
        std::unique_ptr<MapViewEngine> engine;
        bool first = false; // the level play opened, whose file is OUT
    };

    void AddView(std::unique_ptr<CKRAVDoc> doc, bool first);
    // The title of the next new level, as the editor numbers them: KRAV1, KRAV2, ...
    std::string NextUntitled();
    // The active view, or null when every view is closed.
    PlayView* Active();
    int MouseFlags(bool shift, bool ctrl) const;
    void Mouse(MapViewEngine& view, const PlayStep& step);
    void Command(int id);
    // File > Close on the active view: a modified level asks whether to save it first.
    void Close();
    // Writes a level to its file as Save does: view 1's to OUT, another's to the path of its
    // last save. False when it has no file or the writing failed.
    bool SaveToItsFile(PlayView& view);
    // Saves as Save does; a failure is also told on standard error and fails the run.
    bool SaveLevel(CKRAVDoc& doc, const std::string& path);
    bool RunOnView(PlayView& view, const PlayStep& step);
    void PrintChecks() const;
    bool Expect(bool holds, const std::string& what);

    std::string m_level;
    std::string m_out;
    std::string m_script;
    // Prints what the editor would show. With no answer left, a question is answered no and a
    // save question is cancelled: a script must say yes to anything destructive, and
    // discarding changes is too.
    ScriptedPrompt m_prompt;
    HeadlessFrame m_frame;
    MainFrameHub m_hub;
    std::vector<PlayView> m_views;
    std::size_t m_active = 0;
    // View 1's level as it was opened: what OUT holds when its changes are discarded.
    std::unique_ptr<CKRAVDoc> m_opened;
    bool m_outWritten = false;
    bool m_saveFailed = false;
    int m_nextUntitled = 1;
    bool m_mainToolbar = true;
    bool m_statusBar = true;
    int m_width = 1024;
    int m_height = 768;
    bool m_leftHeld = false;
    bool m_rightHeld = false;
};

} // namespace krav::cli
