#pragma once

#include <QString>

class QSettings;

namespace krav {

// The file dialogs that remember their folder, each its own.
enum class FileDialogKind {
    Open,
    SaveAs,
    ImportTileset,
    ExportTileset,
    ExportPicture,
    ImportTiledMap,
    ExportTiledMap
};

// The folder a file dialog starts in: the one the user last chose a file in with that dialog
// (kept in the profile), else the folder of the active level (levelPath, empty for none),
// else, for Open and Save As, the other one's folder, else the home folder. A remembered folder
// that is gone gives way to the nearest folder above it that is still there, short of the file
// system's root.
QString StartFolder(const QSettings& profile, FileDialogKind kind, const QString& levelPath);

// Remembers the folder of the file chosen in the dialog, for the next time it opens.
void RememberFolder(QSettings& profile, FileDialogKind kind, const QString& chosenFile);

} // namespace krav
