#include "palettes/CSpclObjWnd.h"

#include "document/TileCodes.h"
#include "palettes/EdgeSnapper.h"
#include "palettes/FramePlacement.h"
#include "palettes/InsideFrame.h"
#include "palettes/PaletteWindowFlags.h"

#include <QCloseEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <algorithm>

namespace krav {

namespace {
// The palette shows the objects in the order of their table.
int PaletteIndexOf(unsigned object) {
    for (std::size_t i = 0; i < SPECIAL_OBJECTS.size(); ++i)
        if (SPECIAL_OBJECTS[i].base == object)
            return static_cast<int>(i);
    return 0;
}
// Room left below the palette for a task bar.
constexpr int BOTTOM_GAP = 56;
} // namespace

CSpclObjWnd::CSpclObjWnd(QWidget* mainFrame)
    : QWidget(mainFrame, PALETTE_WINDOW_FLAGS), m_strip(LoadStrip()) {
    setWindowTitle(tr("Special Objects"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(CELL, CELL);
    setMaximumSize(CELLS * CELL, CELL);

    // The frame's bottom-left corner near the screen's, above a scroll bar's height and a gap.
    const int screenHeight = screen() ? screen()->geometry().height() : 0;
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    PlaceFrameCorner(this, QSize(CELLS * CELL, CELL), Qt::BottomLeftCorner,
                     QPoint(3, screenHeight - scrollBar - BOTTOM_GAP));
    new EdgeSnapper(this, CELL, 0); // owned by this window
    SetUpPaletteWindow(this);
}

QImage CSpclObjWnd::LoadStrip() {
    QImage strip(QStringLiteral(":/art/strip205.xpm"));
    if (!strip.isNull())
        return strip.convertToFormat(QImage::Format_RGB32);

    // Without the picture the palette still has to work: numbered cells.
    strip = QImage(CELLS * CELL + 1, CELL, QImage::Format_RGB32);
    strip.fill(Qt::black);
    QPainter painter(&strip);
    painter.setPen(QColor(200, 200, 200));
    for (int i = 0; i < CELLS; ++i) {
        const QRect cell(i * CELL + 1, 1, CELL - 2, CELL - 2);
        painter.fillRect(cell, QColor(64, 64, 64));
        painter.drawText(cell, Qt::AlignCenter, QString::number(SPECIAL_OBJECTS[i].base));
    }
    return strip;
}

QRect CSpclObjWnd::CellRect(unsigned object) const {
    return {PaletteIndexOf(object) * CELL, 0, CELL, height()};
}

unsigned CSpclObjWnd::ObjectAt(QPoint at) {
    const int i = std::clamp(at.x() / CELL, 0, CELLS - 1);
    return SPECIAL_OBJECTS[static_cast<std::size_t>(i)].base;
}

QString CSpclObjWnd::ObjectToolTip(unsigned object) {
    const int side = ObjectSide(object);
    return tr("Special object %1 (%2 x %2)").arg(object).arg(side);
}

bool CSpclObjWnd::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const unsigned object = ObjectAt(help->pos());
    QToolTip::showText(help->globalPos(), ObjectToolTip(object), this, CellRect(object));
    return true;
}

void CSpclObjWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(QPoint(0, 0), m_strip, rect() & m_strip.rect());
    FillInsideFrame(painter, CellRect(m_selected), 1, Qt::white);
}

void CSpclObjWnd::mouseReleaseEvent(QMouseEvent* event) {
    // The press may have started here and the release may come from anywhere else.
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(at)) {
        const unsigned object = ObjectAt(at);
        if (object != m_selected) {
            update(CellRect(m_selected));
            m_selected = object;
            update(CellRect(m_selected));
        }
        emit objectChosen(m_selected);
    }
    QWidget::mouseReleaseEvent(event);
}

void CSpclObjWnd::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}

} // namespace krav
