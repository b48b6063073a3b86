#pragma once

#include "render/MapPicture.h"

#include <QDialog>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;

namespace krav {

// File > Export Picture's choices: which cells (the whole map, the selection, the visible
// area), the zoom and the grid.
class ExportPictureDialog : public QDialog {
    Q_OBJECT
public:
    enum Area { WholeMap, Selection, VisibleArea };

    // selection is empty when there is none; the choices start at the view's zoom and grid.
    ExportPictureDialog(QWidget* parent, std::optional<Rect> selection, const Rect& visible,
                        double zoom, bool grid);

    PictureRequest Request() const;
    void SetArea(Area area);
    void SetZoom(int index); // into PICTURE_ZOOMS
    void SetGrid(bool grid);

private:
    void UpdateSize();

    std::optional<Rect> m_selection;
    Rect m_visible;
    QButtonGroup* m_areas = nullptr;
    QComboBox* m_zoom = nullptr;
    QCheckBox* m_grid = nullptr;
    QLabel* m_size = nullptr;
};

} // namespace krav
