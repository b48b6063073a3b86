#include "shell/CKRAVApp.h"

#include <QIcon>
#include <QSettings>
#include <QStandardPaths>

// The pictures are compiled into a static library; register them before first use.
static void InitialiseResources() {
    Q_INIT_RESOURCE(krav);
}

namespace krav {

CKRAVApp::CKRAVApp(int& argc, char** argv) : QApplication(argc, argv) {
    // No display name: Qt would append it to every window title, message boxes included.
    setApplicationName(QStringLiteral("KRAV"));
    setApplicationVersion(QStringLiteral("0.0.8.1"));
    setDesktopFileName(QStringLiteral("krav"));
    InitialiseResources();
    // Every window, palettes and message boxes too, shows our icon rather than the toolkit's.
    QIcon icon;
    for (const char* size : {"16", "32", "48", "64"})
        icon.addFile(QStringLiteral(":/art/krav%1.xpm").arg(QLatin1String(size)));
    setWindowIcon(icon);
}

std::unique_ptr<QSettings> CKRAVApp::Profile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<QSettings>(folder + QStringLiteral("/krav.ini"), QSettings::IniFormat);
}

} // namespace krav
