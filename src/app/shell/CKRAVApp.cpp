#include "shell/CKRAVApp.h"

#include <QSettings>
#include <QStandardPaths>

namespace krav {

CKRAVApp::CKRAVApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("KRAV"));
    setApplicationDisplayName(QStringLiteral("Orbalon Map Editor"));
    setApplicationVersion(QStringLiteral("0.0.8.1"));
    setDesktopFileName(QStringLiteral("krav"));
}

std::unique_ptr<QSettings> CKRAVApp::Profile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<QSettings>(folder + QStringLiteral("/krav.ini"), QSettings::IniFormat);
}

} // namespace krav
