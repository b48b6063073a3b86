// The main frame's Tiled maps: File > Export > Tiled Map and File > Import Tiled Map.
#include "TmxExport.h"
#include "TmxImport.h"
#include "document/CKRAVDoc.h"
#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>

namespace krav {

namespace {

const QString TMX_FILTER = QStringLiteral("Tiled Maps (*.tmx);;All Files (*)");

// "a.tmx cannot be imported: it is 10 x 10 cells; ...", or "...: the tile at column 3, ...":
// an error that goes on from the map's name gets "it".
std::string RefusalOf(const std::string& name, const std::string& error) {
    bool aboutTheMap = false;
    for (const char* verb : {"is ", "has ", "cannot ", "makes "})
        aboutTheMap |= error.starts_with(verb);
    return name + " cannot be imported: " + (aboutTheMap ? "it " : "") + error;
}

} // namespace

bool CMainFrame::ExportTiledMap(CChildFrame* child, const QString& chosen) {
    const CKRAVDoc& doc = child->Document();
    const QString path =
        ExportPath(chosen, doc, FileDialogKind::ExportTiledMap, QStringLiteral("Export Tiled Map"),
                   QStringLiteral(".tmx"), TMX_FILTER);
    if (path.isEmpty())
        return false;
    const std::string error = ExportTmx(doc, path);
    if (!error.empty())
        m_prompt.ShowMessage("The Tiled map could not be written:\n" + error);
    return error.empty();
}

bool CMainFrame::ImportTiledMap(const QString& chosen) {
    QString path = chosen;
    if (path.isEmpty()) {
        path =
            QFileDialog::getOpenFileName(this, QStringLiteral("Import Tiled Map"),
                                         DialogFolder(FileDialogKind::ImportTiledMap), TMX_FILTER);
        if (path.isEmpty())
            return false;
        RememberDialogFolder(FileDialogKind::ImportTiledMap, path);
    }
    const std::string name = QFileInfo(path).fileName().toStdString();
    const TmxImportResult imported = ImportTmx(path);
    if (!imported.error.empty()) {
        m_prompt.ShowMessage(RefusalOf(name, imported.error));
        return false;
    }
    for (const std::string& note : imported.notes)
        m_prompt.ShowMessage(name + ": " + note);
    // The level is opened as Open reads a file, so that flags and warnings are as they will be
    // when it is saved and opened again; it then belongs to no file.
    QTemporaryDir scratch;
    const QString levelPath = scratch.filePath(QStringLiteral("imported.lvl"));
    QFile file(levelPath);
    if (!scratch.isValid() || !file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(imported.level.data()),
                   static_cast<qint64>(imported.level.size())) !=
            static_cast<qint64>(imported.level.size())) {
        m_prompt.ShowMessage(name + " cannot be imported: no room for the level it makes");
        return false;
    }
    file.close();
    auto doc = std::make_unique<CKRAVDoc>();
    if (!doc->OnOpenDocument(levelPath.toStdString(), m_prompt))
        return false;
    doc->SetPathName({});
    doc->SetTitle("KRAV" + std::to_string(m_nextUntitled++));
    doc->SetModifiedFlag(true);
    AddChildFrame(std::move(doc));
    return true;
}

} // namespace krav
