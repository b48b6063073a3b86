#include "shell/RecentFiles.h"

#include "shell/CKRAVApp.h"

#include <QFileInfo>
#include <QSettings>

namespace krav {

namespace {
const QString GROUP = QStringLiteral("Recent File List");
}

void RecentFiles::Load() {
    const auto profile = CKRAVApp::Profile();
    profile->beginGroup(GROUP);
    m_files.clear();
    for (int i = 1; i <= MAX_FILES; ++i) {
        const QString path = profile->value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty())
            m_files.append(path);
    }
}

void RecentFiles::Save() const {
    const auto profile = CKRAVApp::Profile();
    profile->beginGroup(GROUP);
    for (int i = 1; i <= MAX_FILES; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_files.size())
            profile->setValue(key, m_files.at(i - 1));
        else
            profile->remove(key);
    }
}

void RecentFiles::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    while (m_files.size() > MAX_FILES)
        m_files.removeLast();
    Save();
}

void RecentFiles::Remove(const QString& path) {
    m_files.removeAll(path);
    Save();
}

} // namespace krav
