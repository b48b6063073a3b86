#pragma once

#include <QString>
#include <QStringList>

namespace krav {

// The six most recently opened or saved levels, newest first, kept in the profile under
// "Recent File List" as File1..File6.
class RecentFiles {
public:
    static constexpr int MAX_FILES = 6;

    void Load();
    void Save() const;
    void Add(const QString& path);
    void Remove(const QString& path);
    const QStringList& Files() const { return m_files; }

private:
    QStringList m_files;
};

} // namespace krav
