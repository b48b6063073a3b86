#include "palettes/TileSetPaletteWnd.h"

#include "document/BuiltinTileSet.h"
#include "document/TileCodes.h"
#include "palettes/EdgeSnapper.h"
#include "palettes/FramePlacement.h"
#include "palettes/InsideFrame.h"
#include "palettes/PaletteWindowFlags.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cstdint>

namespace krav {

namespace {
constexpr int MIN_CLIENT = 80;
constexpr int WHEEL_LINE = 120; // one notch of a common mouse wheel
const QColor FORE_FRAME(255, 255, 0);
const QColor BACK_FRAME(255, 0, 0);
const QColor SAME_FRAME(255, 255, 255);
} // namespace

TileSetPaletteWnd::TileSetPaletteWnd(QWidget* mainFrame)
    : QWidget(mainFrame, PALETTE_WINDOW_FLAGS), m_snapper(new EdgeSnapper(this, 0, 0)),
      m_vBar(new QScrollBar(Qt::Vertical, this)), m_hBar(new QScrollBar(Qt::Horizontal, this)) {
    m_vBar->hide();
    m_hBar->hide();
    connect(m_vBar, &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(true, action); });
    connect(m_hBar, &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(false, action); });
    setWindowTitle(tr("Tileset"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(10, 10);
    SetUpPaletteWindow(this);
}

void TileSetPaletteWnd::SetupForView(int fore, int back, const QImage& tileSet, const void* viewKey,
                                     const QRect& viewClientOnScreen) {
    if (m_placed && viewKey == m_viewKey) {
        // The tiles stay chosen, but the picture may be a new tile set of that view.
        m_tileSet = tileSet;
        update();
        return;
    }
    m_viewKey = viewKey;
    m_fore = fore;
    m_back = back;
    m_tileSet = tileSet;
    m_rows.SetCount(tileSet.height() / TILE);
    m_cols.SetCount(tileSet.width() / TILE);
    setMinimumSize(std::min(tileSet.width(), MIN_CLIENT), std::min(tileSet.height(), MIN_CLIENT));
    setMaximumSize(tileSet.size());
    PlaceScrollBars();

    if (!m_placed) {
        m_placed = true;
        const int width = viewClientOnScreen.width() > tileSet.width()
                              ? tileSet.width()
                              : viewClientOnScreen.width() / TILE * TILE;
        const QPoint bottomLeft(viewClientOnScreen.left(),
                                viewClientOnScreen.top() + viewClientOnScreen.height());
        PlaceFrameCorner(this, QSize(width, tileSet.height()), Qt::BottomLeftCorner, bottomLeft);
        FitViewPort();
    } else {
        const QSize area = TileArea();
        m_rows.Reset(area.height() / TILE);
        m_cols.Reset(area.width() / TILE);
        SyncScrollBars();
    }
    m_snapper->SetSteps(TILE, TILE);
    m_snapper->Record();
    update();
}

void TileSetPaletteWnd::PlaceFrame(QPoint frameTopLeft, QSize client, const QRect& area) {
    m_placed = true;
    // Every tile set has the built-in one's size.
    const QSize most(builtin_tileset::WIDTH, builtin_tileset::HEIGHT);
    const QSize least(MIN_CLIENT, MIN_CLIENT);
    PlaceFrameInside(this, client.boundedTo(most).expandedTo(least), frameTopLeft, area);
}

void TileSetPaletteWnd::SetTile(int index, bool isFore) {
    UpdateFrames();
    (isFore ? m_fore : m_back) = index;
    UpdateFrames();
}

QRect TileSetPaletteWnd::FrameRect(int index) const {
    if (m_cols.Count() == 0 || index < 0)
        return {};
    const int c = index % m_cols.Count();
    const int r = index / m_cols.Count();
    if (!m_cols.Shows(c) || !m_rows.Shows(r))
        return {};
    const int x = (c - m_cols.First()) * TILE;
    const int y = (r - m_rows.First()) * TILE;
    return {x - 1, y - 1, TILE + 1, TILE + 1};
}

void TileSetPaletteWnd::UpdateFrames() {
    // Both: a frame's colour depends on the other tile too.
    update(FrameRect(m_fore));
    update(FrameRect(m_back));
}

void TileSetPaletteWnd::FitViewPort() {
    if (m_rows.Count() == 0 || m_cols.Count() == 0)
        return;
    const QSize area = TileArea();
    m_rows.Resize(area.height() / TILE);
    m_cols.Resize(area.width() / TILE);
    SyncScrollBars();
    update();
}

void TileSetPaletteWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_tileSet.isNull())
        return;
    const QRect source =
        QRect(QPoint(m_cols.First() * TILE, m_rows.First() * TILE), TileArea()) & m_tileSet.rect();
    painter.setClipRect(QRect(QPoint(0, 0), TileArea()));
    painter.drawImage(QPoint(0, 0), m_tileSet, source);
    const bool same = m_fore == m_back;
    FillInsideFrame(painter, FrameRect(m_fore), 2, same ? SAME_FRAME : FORE_FRAME);
    FillInsideFrame(painter, FrameRect(m_back), 2, same ? SAME_FRAME : BACK_FRAME);
}

void TileSetPaletteWnd::resizeEvent(QResizeEvent*) {
    PlaceScrollBars();
    FitViewPort();
}

QSize TileSetPaletteWnd::TileArea() const {
    return {width() - (m_vBar->isVisibleTo(this) ? m_vBar->width() : 0),
            height() - (m_hBar->isVisibleTo(this) ? m_hBar->height() : 0)};
}

void TileSetPaletteWnd::PlaceScrollBars() {
    if (m_tileSet.isNull()) {
        m_vBar->hide();
        m_hBar->hide();
        return;
    }
    // A bar takes room from the tiles, so one bar can make the other necessary.
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_vBar);
    const int barHeight = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_hBar);
    bool vertical = height() < m_tileSet.height();
    bool horizontal = width() - (vertical ? barWidth : 0) < m_tileSet.width();
    vertical = height() - (horizontal ? barHeight : 0) < m_tileSet.height();
    m_vBar->setVisible(vertical);
    m_hBar->setVisible(horizontal);
    const QSize area = TileArea();
    m_vBar->setGeometry(area.width(), 0, barWidth, area.height());
    m_hBar->setGeometry(0, area.height(), area.width(), barHeight);
}

void TileSetPaletteWnd::SyncScrollBars() {
    const QSize area = TileArea();
    const auto sync = [](QScrollBar* bar, const PaletteAxis& axis, int visible) {
        const QSignalBlocker quiet(bar);
        bar->setRange(0, std::max(axis.Count() - 1, 0));
        bar->setPageStep(std::max(visible, 1));
        bar->setValue(axis.First());
    };
    sync(m_vBar, m_rows, area.height() / TILE);
    sync(m_hBar, m_cols, area.width() / TILE);
}

void TileSetPaletteWnd::OnScrollAction(bool vertical, int action) {
    using Step = PaletteAxis::Step;
    PaletteAxis& axis = vertical ? m_rows : m_cols;
    QScrollBar* bar = vertical ? m_vBar : m_hBar;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        Scroll(axis, Step::LineBack);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        Scroll(axis, Step::LineForward);
        break;
    case QAbstractSlider::SliderPageStepSub:
        Scroll(axis, Step::PageBack);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        Scroll(axis, Step::PageForward);
        break;
    case QAbstractSlider::SliderMove: {
        // Line by line, so that the view-port keeps the rules of the other steps.
        const int target = bar->sliderPosition();
        while (axis.First() < target && axis.Last() < axis.Count())
            Scroll(axis, Step::LineForward);
        while (axis.First() > target && axis.First() > 0)
            Scroll(axis, Step::LineBack);
        break;
    }
    default:
        break;
    }
    bar->setSliderPosition(axis.First());
}

int TileSetPaletteWnd::TileAt(QPoint at) const {
    // Pixels right of the last whole column would otherwise count for the next row's first tile.
    if (!QRect(QPoint(0, 0), TileArea()).contains(at) ||
        m_cols.First() + at.x() / TILE >= m_cols.Count())
        return -1;
    // 16-bit, as the tile choices are everywhere else.
    const int index = static_cast<std::int16_t>((m_rows.First() + at.y() / TILE) * m_cols.Count() +
                                                m_cols.First() + at.x() / TILE);
    return index >= 0 && index < TileCount() ? index : -1;
}

void TileSetPaletteWnd::Choose(QPoint at, bool isFore) {
    const int index = TileAt(at);
    if (index < 0) {
        QApplication::beep();
        return;
    }
    // Whether the tile already chosen changes anything is the main frame's rule.
    SetTile(index, isFore);
    emit tileChosen(index, isFore);
}

QString TileSetPaletteWnd::ToolTipAt(QPoint at) const {
    const int index = TileAt(at);
    if (index < 0)
        return {};
    const QString text = tr("Tile %1 (code %2)").arg(index).arg(index + 1);
    return index == static_cast<int>(FLAG_CELL) ? tr("%1: the flag").arg(text) : text;
}

bool TileSetPaletteWnd::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = ToolTipAt(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    // The tip goes when the pointer leaves the tile, so the next tile gets its own.
    const QRect tile(help->pos().x() / TILE * TILE, help->pos().y() / TILE * TILE, TILE, TILE);
    QToolTip::showText(help->globalPos(), text, this, tile);
    return true;
}

void TileSetPaletteWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        Choose(event->position().toPoint(), event->button() == Qt::LeftButton);
    QWidget::mousePressEvent(event);
}

void TileSetPaletteWnd::Scroll(PaletteAxis& axis, PaletteAxis::Step step) {
    const int visible = (&axis == &m_rows ? TileArea().height() : TileArea().width()) / TILE;
    if (axis.Scroll(step, visible) != 0)
        update();
    SyncScrollBars();
}

void TileSetPaletteWnd::wheelEvent(QWheelEvent* event) {
    QPoint delta = event->angleDelta();
    if ((event->modifiers() & Qt::ShiftModifier) && delta.x() == 0)
        delta = {delta.y(), 0};
    m_wheel += delta;
    using Step = PaletteAxis::Step;
    for (; m_wheel.y() >= WHEEL_LINE; m_wheel.ry() -= WHEEL_LINE)
        Scroll(m_rows, Step::LineBack);
    for (; m_wheel.y() <= -WHEEL_LINE; m_wheel.ry() += WHEEL_LINE)
        Scroll(m_rows, Step::LineForward);
    for (; m_wheel.x() >= WHEEL_LINE; m_wheel.rx() -= WHEEL_LINE)
        Scroll(m_cols, Step::LineBack);
    for (; m_wheel.x() <= -WHEEL_LINE; m_wheel.rx() += WHEEL_LINE)
        Scroll(m_cols, Step::LineForward);
    event->accept();
}

void TileSetPaletteWnd::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}

} // namespace krav
