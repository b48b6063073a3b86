#include "shell/DialogFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace krav {

namespace {

QString KeyOf(FileDialogKind kind) {
    switch (kind) {
    case FileDialogKind::Open:
        return QStringLiteral("Folders/Open");
    case FileDialogKind::SaveAs:
        return QStringLiteral("Folders/SaveAs");
    case FileDialogKind::ImportTileset:
        return QStringLiteral("Folders/ImportTileset");
    case FileDialogKind::ExportTileset:
        return QStringLiteral("Folders/ExportTileset");
    case FileDialogKind::ExportPicture:
        return QStringLiteral("Folders/ExportPicture");
    case FileDialogKind::ImportTiledMap:
        return QStringLiteral("Folders/ImportTiledMap");
    case FileDialogKind::ExportTiledMap:
        return QStringLiteral("Folders/ExportTiledMap");
    }
    return {};
}

// The one folder Open and Save As shared before each dialog had its own.
const QString SHARED_FOLDER_KEY = QStringLiteral("LastFolder");

bool IsUsableFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

// The folder itself, or the nearest one above it that can still be listed; empty when only
// the root is left (or the path is not absolute, as a hand-edited profile may hold).
QString NearestFolder(const QString& remembered) {
    if (remembered.isEmpty() || !QDir::isAbsolutePath(remembered))
        return {};
    for (QString path = QDir::cleanPath(remembered); !QDir(path).isRoot();
         path = QFileInfo(path).path())
        if (IsUsableFolder(path))
            return path;
    return {};
}

} // namespace

QString StartFolder(const QSettings& profile, FileDialogKind kind, const QString& levelPath) {
    if (QString folder = NearestFolder(profile.value(KeyOf(kind)).toString()); !folder.isEmpty())
        return folder;
    if (!levelPath.isEmpty()) {
        const QString levelFolder = QFileInfo(levelPath).absolutePath();
        if (IsUsableFolder(levelFolder))
            return levelFolder;
    }
    // Levels are opened from and saved to the same places: a level without a file is saved
    // where levels were last opened, before the home folder.
    if (kind == FileDialogKind::Open || kind == FileDialogKind::SaveAs) {
        const FileDialogKind other =
            kind == FileDialogKind::Open ? FileDialogKind::SaveAs : FileDialogKind::Open;
        for (const QString& key : {KeyOf(other), SHARED_FOLDER_KEY})
            if (QString folder = NearestFolder(profile.value(key).toString()); !folder.isEmpty())
                return folder;
    }
    return QDir::homePath();
}

void RememberFolder(QSettings& profile, FileDialogKind kind, const QString& chosenFile) {
    if (chosenFile.isEmpty())
        return;
    profile.setValue(KeyOf(kind), QFileInfo(chosenFile).absolutePath());
}

} // namespace krav
