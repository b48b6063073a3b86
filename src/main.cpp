#include "shell/CKRAVApp.h"
#include "shell/CMainFrame.h"
#include "shell/SingleInstance.h"

#include <QScreen>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace {

// Qt aborts, leaving a core, when it cannot open the display (none, or the server went away
// while it set up): report that like any other start-up failure instead.
void FailToStart(QtMsgType type, const QMessageLogContext&, const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (type == QtFatalMsg)
        std::_Exit(1);
}

} // namespace

int main(int argc, char** argv) {
    const QtMessageHandler previous = qInstallMessageHandler(FailToStart);
    krav::CKRAVApp app(argc, argv);
    qInstallMessageHandler(previous);
    const QStringList files = krav::CKRAVApp::arguments().mid(1);
    // A double-clicked level goes to the editor that is already running.
    if (krav::SingleInstance::HandOver(files))
        return 0;
    krav::SingleInstance instance;
    instance.Listen(); // without it the editor still works, only on its own

    krav::CMainFrame frame;
    QObject::connect(&instance, &krav::SingleInstance::filesReceived, &frame,
                     &krav::CMainFrame::OpenHandedOver);
    // Shown first, so that the palettes can be placed beside the first view on the screen.
    // Without a window manager a maximised window keeps its size: give it the screen's.
    frame.setGeometry(frame.screen()->availableGeometry());
    frame.showMaximized();
    // Levels a crash left behind come first: a file named on the command line that is among
    // them is then brought forward with its recovered changes instead of opened again.
    const bool recovered = frame.OfferRecovery() > 0;
    bool started = recovered;
    for (const QString& file : files)
        started = frame.OpenLevel(file) || started;
    if (files.isEmpty() && !recovered)
        started = frame.NewLevel();
    if (!started)
        return 1;
    return krav::CKRAVApp::exec();
}
