// The main frame's tile sets: File > Import Tileset and File > Export Tileset.
#include "document/AtomicFile.h"
#include "document/CKRAVDoc.h"
#include "document/FileErrors.h"
#include "document/TileSetChooser.h"
#include "document/TileSetExport.h"
#include "palettes/TileInfoWnd.h"
#include "palettes/TileSetPaletteWnd.h"
#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"
#include "shell/ImportTileSetDialog.h"
#include "view/CKRAVView.h"

namespace krav {

void CMainFrame::RunImportTileset() {
    if (!ActiveView())
        return;
    ImportTileSetDialog dialog(this, DialogFolder(FileDialogKind::ImportTileset));
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A name typed and accepted at once may never have been previewed; the file accepted is
    // the one chosen (one previewed already is not read again).
    const QStringList files = dialog.selectedFiles();
    if (!files.isEmpty()) {
        RememberDialogFolder(FileDialogKind::ImportTileset, files.front());
        dialog.Chooser().Select(files.front().toStdString());
    }
    ApplyTileSetChoice(dialog.Chooser());
}

bool CMainFrame::ApplyTileSetChoice(TileSetChooser& chooser) {
    CKRAVView* active = ActiveView();
    if (!active)
        return false;
    CKRAVDoc& doc = active->Document();
    if (!chooser.ApplyTo(doc))
        return false;
    for (CChildFrame* child : ChildFrames())
        if (&child->Document() == &doc)
            child->View()->OnTileSetChanged();
    const MapViewEngine& engine = active->Engine();
    m_pTileSetPalette->SetupForView(engine.ForeTile(), engine.BackTile(), active->TileSetImage(),
                                    active, ViewClientOnScreen(*active));
    m_pTileInfo->SetupInfo(engine.ForeTile(), engine.BackTile(), active->TileSetImage());
    UpdateCommandUi();
    return true;
}

bool CMainFrame::ExportTileSet(CChildFrame* child, const QString& chosen) {
    const CKRAVDoc& doc = child->Document();
    const QString path =
        ExportPath(chosen, doc, FileDialogKind::ExportTileset, QStringLiteral("Export Tileset"),
                   QStringLiteral(".bmp"), QStringLiteral("Bitmap Files (*.bmp)"));
    if (path.isEmpty())
        return false;
    std::string reason;
    if (WriteFileAtomically(path.toStdString(), TileSetBmpFile(*doc.GetTileSet()), &reason) !=
        SaveError::None) {
        m_prompt.ShowMessage(
            WithReason("The tile set could not be written to " + path.toStdString() + ".", reason));
        return false;
    }
    return true;
}

} // namespace krav
