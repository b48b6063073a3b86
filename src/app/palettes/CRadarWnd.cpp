#include "palettes/CRadarWnd.h"

#include "document/TileCodes.h"
#include "editing/RadarPicture.h"
#include "palettes/FramePlacement.h"
#include "palettes/InsideFrame.h"
#include "palettes/PaletteWindowFlags.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <cstddef>
#include <cstdint>

namespace krav {

namespace {
constexpr QSize MIN_CLIENT(100, 100);
constexpr QSize MAX_CLIENT(1023, 1023);
constexpr QSize PLACED_CLIENT(125, 125);
constexpr QRect CREATED(100, 100, 200, 200);

QRect ToQRect(const Rect& r) {
    return {r.left, r.top, r.Width(), r.Height()};
}
} // namespace

CRadarWnd::CRadarWnd(QWidget* mainFrame)
    : QWidget(mainFrame, PALETTE_WINDOW_FLAGS), m_colours(256, qRgb(0, 0, 0)), m_kindColours(256) {
    setWindowTitle(tr("Radar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(MIN_CLIENT);
    setMaximumSize(MAX_CLIENT);
    setGeometry(CREATED);
    m_viewport.Resize(width(), height());
    m_overview.Resize(width(), height());
    for (int i = 0; i < RadarPicture::COLOUR_COUNT; ++i) {
        const RadarColour c = RadarPicture::COLOURS[static_cast<std::size_t>(i)];
        m_colours[i] = qRgb(c.red, c.green, c.blue);
    }
    for (int kind = 0; kind < 256; ++kind)
        m_kindColours[kind] = m_colours[RadarColourOfKind(static_cast<std::uint8_t>(kind))];
    SetUpPaletteWindow(this);
}

void CRadarWnd::PlaceBesideView(const QRect& viewClientOnScreen) {
    PlaceFrameCorner(this, PLACED_CLIENT, Qt::BottomRightCorner,
                     QPoint(viewClientOnScreen.left() + viewClientOnScreen.width(),
                            viewClientOnScreen.top() + viewClientOnScreen.height()));
    // A hidden window hears of its new size only when shown; the shown part must fit now.
    ClientSizeChanged();
}

void CRadarWnd::PlaceFrame(QPoint frameTopLeft, QSize client, const QRect& area) {
    PlaceFrameInside(this, client.boundedTo(MAX_CLIENT).expandedTo(MIN_CLIENT), frameTopLeft, area);
    ClientSizeChanged();
}

void CRadarWnd::ClientSizeChanged() {
    m_viewport.Resize(width(), height());
    m_overview.Resize(width(), height());
    BuildOverview();
    update();
}

// The whole-map picture is made only while it is shown; edits keep it current from then on.
void CRadarWnd::BuildOverview() {
    if (m_bWholeMap && m_picture)
        m_overview.Build(*m_picture);
}

void CRadarWnd::SetWholeMap(bool wholeMap) {
    if (wholeMap == m_bWholeMap)
        return;
    m_bWholeMap = wholeMap;
    BuildOverview();
    update();
}

void CRadarWnd::ChooseWholeMap(bool wholeMap) {
    SetWholeMap(wholeMap);
    emit wholeMapChosen(wholeMap);
}

void CRadarWnd::ShowDocument(const void* docKey, const RadarPicture* picture, Rect viewArea) {
    if (docKey != m_docKey)
        m_viewport.SetViewRect(viewArea);
    m_docKey = docKey;
    m_picture = picture;
    m_viewport.SetViewArea(viewArea);
    BuildOverview();
    update();
}

void CRadarWnd::SetViewRect(Rect viewArea) {
    m_viewport.SetViewRect(viewArea);
    update();
}

void CRadarWnd::ScrollViewRows(int top, int bottom) {
    const QRect old = Outline();
    const int shift = m_viewport.ScrollViewRows(top, bottom);
    if (m_bWholeMap) {
        UpdateOutline(old);
        UpdateOutline(Outline());
        return;
    }
    // What is drawn moves along; only the uncovered strip and the outlines are painted.
    if (shift != 0)
        scroll(0, shift);
    UpdateOutline(old.translated(0, shift));
    UpdateOutline(Outline());
}

void CRadarWnd::ScrollViewCols(int left, int right) {
    const QRect old = Outline();
    const int shift = m_viewport.ScrollViewCols(left, right);
    if (m_bWholeMap) {
        UpdateOutline(old);
        UpdateOutline(Outline());
        return;
    }
    if (shift != 0)
        scroll(shift, 0);
    UpdateOutline(old.translated(shift, 0));
    UpdateOutline(Outline());
}

QRect CRadarWnd::CellsOnClient(Rect cells) const {
    const Rect& shown = m_viewport.Shown();
    return QRect(cells.left - shown.left, cells.top - shown.top, cells.Width(), cells.Height()) &
           rect();
}

void CRadarWnd::UpdateCell(int x, int y) {
    UpdateCells({x, y, x + 1, y + 1});
}

void CRadarWnd::UpdateCells(Rect cells) {
    if (!m_picture)
        return;
    if (m_bWholeMap) {
        // Kept current while hidden too: it is not made again when shown.
        const Rect r = m_overview.Update(*m_picture, cells);
        if (!isVisible() || r.IsEmpty())
            return;
        m_changedPixels = m_changedPixels.United(r);
    } else {
        if (!isVisible())
            return;
        m_changedCells = m_changedCells.United(cells);
    }
    m_changePacer.Changed();
}

// The cells are placed on the client when shown: the radar may have scrolled meanwhile.
void CRadarWnd::ShowChanges() {
    QRegion changed(ToQRect(m_changedPixels));
    if (!m_bWholeMap && !m_changedCells.IsEmpty())
        changed += CellsOnClient(m_changedCells);
    m_changedPixels = m_changedCells = Rect{};
    if (!changed.isEmpty())
        update(changed);
}

QRect CRadarWnd::Outline() const {
    if (m_bWholeMap)
        return ToQRect(m_overview.CellsOnClient(m_viewport.ViewArea()));
    return ToQRect(m_viewport.ViewRectOnClient());
}

void CRadarWnd::UpdateOutline(const QRect& outline) {
    QRegion edges(outline.left(), outline.top(), outline.width(), 1);
    edges += QRect(outline.left(), outline.bottom(), outline.width(), 1);
    edges += QRect(outline.left(), outline.top(), 1, outline.height());
    edges += QRect(outline.right(), outline.top(), 1, outline.height());
    update(edges);
}

void CRadarWnd::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // A part at a time: over the bounding rectangle of a region of several parts (a scroll's
    // strip and the outline's edges) the painter fills span by span and hands the spans of
    // each fill to a pool of threads, which costs more than the few pixels painted.
    for (const QRect& exposed : event->region()) {
        painter.setClipRect(exposed);
        painter.fillRect(exposed, Qt::black); // outside the picture, or no picture yet
        if (!m_picture)
            continue;
        if (m_bWholeMap)
            PaintWholeMap(painter, exposed);
        else
            PaintActualSize(painter, exposed);
    }
    if (!m_picture)
        return;
    painter.setClipping(false);
    FillInsideFrame(painter, Outline(), 1, QColor(255, 0, 0));
}

void CRadarWnd::PaintWholeMap(QPainter& painter, const QRect& exposed) {
    const int side = m_overview.Side();
    const QPoint origin(m_overview.Origin().x, m_overview.Origin().y);
    const QRect source = exposed.translated(-origin) & QRect(0, 0, side, side);
    if (source.isEmpty())
        return;
    const std::uint8_t* first = m_overview.Row(source.top()) + source.left();
    QImage part(first, source.width(), source.height(), side, QImage::Format_Indexed8);
    part.setColorTable(m_colours);
    painter.drawImage(source.topLeft() + origin, part);
}

void CRadarWnd::PaintActualSize(QPainter& painter, const QRect& exposed) {
    const Rect& shown = m_viewport.Shown();
    const QPoint origin(shown.left, shown.top);
    const QRect source = exposed.translated(origin) & QRect(0, 0, MAP_SIZE, MAP_SIZE);
    if (!source.isEmpty()) {
        // A view of just the exposed part of the picture's rows: nothing is copied but the
        // pixels that get painted.
        const std::uint8_t* first = m_picture->KindRow(source.top()) + source.left();
        QImage part(first, source.width(), source.height(), MAP_SIZE, QImage::Format_Indexed8);
        part.setColorTable(m_kindColours);
        painter.drawImage(source.topLeft() - origin, part);
    }
}

void CRadarWnd::resizeEvent(QResizeEvent*) {
    if (width() == m_viewport.Width() && height() == m_viewport.Height())
        return;
    ClientSizeChanged();
}

void CRadarWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_picture) {
        const QPoint at = event->position().toPoint();
        if (m_bWholeMap) {
            CentreViewOn(at);
        } else {
            const Rect area = m_viewport.Click(at.x(), at.y());
            update();
            emit visibleAreaRequested(area.left, area.top, area.right, area.bottom);
        }
    }
    QWidget::mousePressEvent(event);
}

void CRadarWnd::mouseMoveEvent(QMouseEvent* event) {
    if (m_bWholeMap && (event->buttons() & Qt::LeftButton) && m_picture && !m_bSwitchHeld)
        CentreViewOn(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void CRadarWnd::CentreViewOn(const QPoint& client) {
    const Rect old = m_viewport.ViewArea();
    const Rect area = m_viewport.CentreOn(m_overview.CellAt(client.x(), client.y()));
    if (area == old)
        return;
    update();
    emit visibleAreaRequested(area.left, area.top, area.right, area.bottom);
}

// Only switches: the first click already moved the view, and the base class would press
// again, now in the other mode; dragging on before the release moves nothing either.
void CRadarWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        ChooseWholeMap(!m_bWholeMap);
        m_bSwitchHeld = true;
    }
    event->accept();
}

void CRadarWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_bSwitchHeld = false;
    QWidget::mouseReleaseEvent(event);
}

void CRadarWnd::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QActionGroup sizes(&menu);
    QAction* actual = sizes.addAction(tr("&Actual Size"));
    QAction* whole = sizes.addAction(tr("&Whole Map"));
    for (QAction* action : {actual, whole}) {
        action->setCheckable(true);
        menu.addAction(action);
    }
    (m_bWholeMap ? whole : actual)->setChecked(true);
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen)
        ChooseWholeMap(chosen == whole);
}

void CRadarWnd::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}

} // namespace krav
