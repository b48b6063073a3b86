// An editor that dies: opens a level (or makes a new one), paints cells with the pencil,
// lets the autosave write, then is killed by SIGKILL. With "crash" it raises the signal
// itself; with "wait" it says "saved" and runs on until the caller kills it.
//
//   krav_crash_helper crash|wait <level.lvl|new> <x>,<y>,<tile> ...
#include "Prompt.h"
#include "document/CKRAVDoc.h"
#include "shell/CMainFrame.h"
#include "view/CKRAVView.h"

#include <QApplication>
#include <QStandardPaths>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// Nobody is there to answer: any message is a failure the caller should see.
class StderrPrompt final : public krav::Prompt {
public:
    void ShowMessage(const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    bool AskYesNo(const std::string&, const std::string& text) override {
        ShowMessage(text);
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QStandardPaths::setTestModeEnabled(true); // the folders the tests use
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3)
        return 2;
    StderrPrompt prompt;
    krav::CMainFrame frame;
    frame.SetPromptForTesting(prompt);
    frame.resize(1000, 700);
    frame.show();
    const bool opened = args[2] == "new" ? frame.NewLevel() : frame.OpenLevel(args[2]);
    if (!opened)
        return 3;
    QApplication::processEvents();
    krav::CKRAVView& view = *frame.ActiveView();
    krav::MapViewEngine& engine = view.Engine();
    for (qsizetype i = 3; i < args.size(); ++i) {
        const QStringList parts = args[i].split(',');
        if (parts.size() != 3)
            return 2;
        const int x = parts[0].toInt(), y = parts[1].toInt(), tile = parts[2].toInt();
        const krav::ViewGeometry& geometry = engine.Geometry();
        const krav::Point at{
            (x - geometry.LeftCol()) * geometry.CellWidth() + geometry.CellWidth() / 2,
            (y - geometry.TopRow()) * geometry.CellHeight() + geometry.CellHeight() / 2};
        engine.SetForeBack(tile, true);
        engine.OnLButtonDown(krav::MK_LBUTTON, at);
        engine.OnLButtonUp(0, at);
        if (view.Document().GetCell(y, x) != static_cast<krav::Cell>(tile))
            return 4;
    }
    frame.AutosaveNow();
    if (args[1] == "crash")
        std::raise(SIGKILL);
    std::puts("saved");
    std::fflush(stdout);
    return QApplication::exec();
}
