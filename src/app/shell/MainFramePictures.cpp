// The main frame's pictures of a level: File > Export Picture.
#include "MapPicturePng.h"
#include "document/CKRAVDoc.h"
#include "document/FileErrors.h"
#include "editing/RadarPicture.h"
#include "render/BuiltinObjectPictures.h"
#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"
#include "shell/ExportPictureDialog.h"
#include "view/CKRAVView.h"

#include <QProgressDialog>
#include <algorithm>

namespace krav {

namespace {

// The cells the view shows, whole or in part, within the map; one at least.
Rect VisibleArea(const ViewGeometry& view) {
    const Rect cells = view.ShownCells();
    return {std::clamp(cells.left, 0, MAP_SIZE - 1), std::clamp(cells.top, 0, MAP_SIZE - 1),
            std::clamp(cells.right, cells.left + 1, MAP_SIZE),
            std::clamp(cells.bottom, cells.top + 1, MAP_SIZE)};
}

// The finished selection's cells; none while a block floats, as the map does not hold it yet.
std::optional<Rect> SelectedCells(const MapViewEngine& engine) {
    const SelectionTool& selection = engine.Selection();
    if (!selection.HasFinishedSelection() || selection.IsFloating() || selection.IsSelecting())
        return std::nullopt;
    const Rect& cells = selection.SelectionCells();
    if (cells.IsEmpty())
        return std::nullopt;
    return cells;
}

} // namespace

bool CMainFrame::ExportPicture(CChildFrame* child, std::optional<PictureRequest> chosen,
                               const QString& chosenPath) {
    CKRAVView& view = *child->View();
    const CKRAVDoc& doc = child->Document();
    if (!chosen) {
        const ViewGeometry& geometry = view.Engine().Geometry();
        ExportPictureDialog dialog(this, SelectedCells(view.Engine()), VisibleArea(geometry),
                                   geometry.Zoom(), geometry.IsGridShown());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        chosen = dialog.Request();
    }
    const QString path =
        ExportPath(chosenPath, doc, FileDialogKind::ExportPicture, QStringLiteral("Export Picture"),
                   QStringLiteral(".png"), QStringLiteral("PNG Pictures (*.png)"));
    if (path.isEmpty())
        return false;

    // Drawn as krav-lvl render draws the level's file: from a radar picture of the cells and
    // without the view's detailed tiles, so that both write the same bytes.
    RadarPicture radar;
    radar.Build(doc.GetCells());
    const RenderSource source{doc.GetCells(), doc.GetTileSet(), &radar, &BuiltinObjectPictures()};

    // Modal for the whole application, so that nothing edits the level while it is drawn.
    // Once the dialog shows (for a picture that takes over half a second), each band's
    // setValue lets events through, so the editor repaints and Cancel works.
    QProgressDialog progress(QStringLiteral("Exporting the picture..."), QStringLiteral("Cancel"),
                             0, static_cast<int>(chosen->Height()), this);
    progress.setWindowTitle(QStringLiteral("Export Picture"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    const PictureWriteResult result =
        WriteMapPicturePng(source, *chosen, path.toStdString(), [&](long long done, long long) {
            progress.setValue(static_cast<int>(done));
            return !progress.wasCanceled();
        });
    progress.reset();
    if (result.cancelled)
        return false;
    if (!result.Written()) {
        m_prompt.ShowMessage(WithReason(
            "The picture could not be written to " + path.toStdString() + ".", result.reason));
        return false;
    }
    return true;
}

} // namespace krav
