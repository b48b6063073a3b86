#pragma once

#include <QApplication>
#include <memory>

class QSettings;

namespace krav {

// The editor application: its profile (krav.ini in the user's config folder) and start-up.
class CKRAVApp : public QApplication {
    Q_OBJECT
public:
    CKRAVApp(int& argc, char** argv);

    // "Recent File List" and "MyDockState" live here.
    static std::unique_ptr<QSettings> Profile();
};

} // namespace krav
