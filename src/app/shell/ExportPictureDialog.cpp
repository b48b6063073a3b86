#include "shell/ExportPictureDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace krav {

ExportPictureDialog::ExportPictureDialog(QWidget* parent, std::optional<Rect> selection,
                                         const Rect& visible, double zoom, bool grid)
    : QDialog(parent), m_selection(selection), m_visible(visible) {
    setWindowTitle(QStringLiteral("Export Picture"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);

    auto* areas = new QVBoxLayout;
    m_areas = new QButtonGroup(this);
    const char* const names[] = {"&Whole Map", "&Selection", "&Visible Area"};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(names[i]), this);
        m_areas->addButton(button, i);
        areas->addWidget(button);
    }
    m_areas->button(Selection)->setEnabled(selection.has_value());
    m_areas->button(WholeMap)->setChecked(true);
    form->addRow(QStringLiteral("Area:"), areas);

    m_zoom = new QComboBox(this);
    for (const PictureZoom& z : PICTURE_ZOOMS)
        m_zoom->addItem(QString::fromUtf8(z.text));
    form->addRow(QStringLiteral("&Zoom:"), m_zoom);
    m_grid = new QCheckBox(QStringLiteral("&Grid"), this);
    form->addRow(QString(), m_grid);
    m_size = new QLabel(this);
    form->addRow(QStringLiteral("Size:"), m_size);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_areas, &QButtonGroup::idToggled, this, [this] { UpdateSize(); });
    connect(m_zoom, &QComboBox::currentIndexChanged, this, [this] { UpdateSize(); });
    connect(m_grid, &QCheckBox::toggled, this, [this] { UpdateSize(); });

    int zoomIndex = 0;
    for (std::size_t i = 0; i < PICTURE_ZOOMS.size(); ++i)
        if (PICTURE_ZOOMS[i].factor == zoom)
            zoomIndex = static_cast<int>(i);
    SetZoom(zoomIndex);
    SetGrid(grid);
    UpdateSize();
}

PictureRequest ExportPictureDialog::Request() const {
    PictureRequest request;
    if (m_areas->checkedId() == Selection && m_selection)
        request.area = *m_selection;
    else if (m_areas->checkedId() == VisibleArea)
        request.area = m_visible;
    request.zoom = PICTURE_ZOOMS[static_cast<std::size_t>(m_zoom->currentIndex())];
    request.grid = m_grid->isChecked() && request.zoom.factor > LOW_ZOOM_LIMIT;
    return request;
}

void ExportPictureDialog::SetArea(Area area) {
    if (m_areas->button(area)->isEnabled())
        m_areas->button(area)->setChecked(true);
}

void ExportPictureDialog::SetZoom(int index) {
    m_zoom->setCurrentIndex(index);
}

void ExportPictureDialog::SetGrid(bool grid) {
    m_grid->setChecked(grid);
}

// The grid exists only at 1:2 and above, as in the view.
void ExportPictureDialog::UpdateSize() {
    const PictureRequest request = Request();
    m_grid->setEnabled(request.zoom.factor > LOW_ZOOM_LIMIT);
    m_size->setText(QStringLiteral("%1 x %2 pixels").arg(request.Width()).arg(request.Height()));
}

} // namespace krav
