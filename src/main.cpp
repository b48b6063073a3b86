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
    // Levels a crash left behind come first: a file named on the command line that is among
    // them is then brought forward with its recovered changes instead of opened again.
    const bool recovered = frame.OfferRecovery() > 0;
    const QStringList args = krav::CKRAVApp::arguments();
    bool started = recovered;
    if (args.size() > 1)
        started = frame.OpenLevel(args.at(1)) || recovered;
    else if (!recovered)
        started = frame.NewLevel();
    if (!started) return 1;
    return krav::CKRAVApp::exec();
}
