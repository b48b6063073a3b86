#include "shell/CKRAVApp.h"
#include "shell/CMainFrame.h"

#include <QScreen>

int main(int argc, char** argv) {
    krav::CKRAVApp app(argc, argv);
    krav::CMainFrame frame;
    // Shown first, so that the palettes can be placed beside the first view on the screen.
    // Without a window manager a maximised window keeps its size: give it the screen's.
    frame.setGeometry(frame.screen()->availableGeometry());
    frame.showMaximized();
    const QStringList args = krav::CKRAVApp::arguments();
    const bool started = args.size() > 1 ? frame.OpenLevel(args.at(1)) : frame.NewLevel();
    if (!started) return 1;
    return krav::CKRAVApp::exec();
}
