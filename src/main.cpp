#include "shell/CMainFrame.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    krav::CMainFrame frame;
    const QStringList args = QApplication::arguments();
    const bool started = args.size() > 1 ? frame.OpenLevel(args.at(1)) : frame.NewLevel();
    if (!started) return 1;
    frame.showMaximized();
    return QApplication::exec();
}
