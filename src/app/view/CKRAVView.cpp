#include "view/CKRAVView.h"

#include "document/CKRAVDoc.h"
#include "document/KeptCells.h"
#include "frame/MainFrameHub.h"
#include "render/BuiltinObjectPictures.h"
#include "render/SelectionOutline.h"
#include "view/TileSetImage.h"
#include "view/ViewFrame.h"
#include "view/ViewScrollBar.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

namespace krav {

namespace {

constexpr int FIRST_TIMER = static_cast<int>(ViewTimer::FloatScroll);

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

int ButtonFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    return (buttons & Qt::LeftButton ? MK_LBUTTON : 0) |
           (buttons & Qt::RightButton ? MK_RBUTTON : 0) |
           (modifiers & Qt::ShiftModifier ? MK_SHIFT : 0) |
           (modifiers & Qt::ControlModifier ? MK_CONTROL : 0);
}

Point PointOf(const QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

} // namespace

CKRAVView::CKRAVView(CKRAVDoc& doc, ViewFrame& frame, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(doc), m_frame(frame), m_engine(doc, *this) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBar(new ViewScrollBar(Qt::Horizontal, this));
    setVerticalScrollBar(new ViewScrollBar(Qt::Vertical, this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (int i = 0; i < 3; ++i) {
        m_timers[i] = new QTimer(this);
        connect(m_timers[i], &QTimer::timeout, this, [this, i] {
            const QPoint p = viewport()->mapFromGlobal(QCursor::pos());
            m_engine.OnTimer(static_cast<ViewTimer>(FIRST_TIMER + i), {p.x(), p.y()});
        });
    }
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(true, action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(false, action); });
    if (doc.GetTileSet())
        m_tileSetImage = ToImage(*doc.GetTileSet());
    doc.SetUpdateAllViews([this] { m_engine.OnUpdate(0); });
    m_engine.OnInitialUpdate(viewport()->width(), viewport()->height());
    UpdateCursor();
}

CKRAVView::~CKRAVView() {
    m_doc.SetUpdateAllViews({});
}

void CKRAVView::OnTileSetChanged() {
    if (m_doc.GetTileSet())
        m_tileSetImage = ToImage(*m_doc.GetTileSet());
    m_renderer.ForgetTiles();
    viewport()->update();
}

RenderSource CKRAVView::Source() const {
    return {m_doc.GetCells(), m_doc.GetTileSet(), &m_engine.Radar(), &BuiltinObjectPictures(),
            m_frame.DetailedTilesWhenZoomedOut()};
}

// --- events --------------------------------------------------------------------------------

void CKRAVView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    m_engine.OnSize(viewport()->width(), viewport()->height());
    viewport()->update();
}

void CKRAVView::mousePressEvent(QMouseEvent* event) {
    const int flags = ButtonFlags(event->buttons(), event->modifiers());
    if (event->button() == Qt::LeftButton)
        m_engine.OnLButtonDown(flags, PointOf(event));
    else if (event->button() == Qt::RightButton)
        m_engine.OnRButtonDown(flags, PointOf(event));
    UpdateCursorAt(event->position().toPoint());
}

void CKRAVView::mouseReleaseEvent(QMouseEvent* event) {
    const int flags = ButtonFlags(event->buttons(), event->modifiers());
    if (event->button() == Qt::LeftButton)
        m_engine.OnLButtonUp(flags, PointOf(event));
    else if (event->button() == Qt::RightButton)
        m_engine.OnRButtonUp(flags, PointOf(event));
    UpdateCursorAt(event->position().toPoint());
}

void CKRAVView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int flags = ButtonFlags(event->buttons(), event->modifiers());
    if (event->button() == Qt::LeftButton)
        m_engine.OnLButtonDblClk(flags, PointOf(event));
    else if (event->button() == Qt::RightButton)
        m_engine.OnRButtonDblClk(flags, PointOf(event));
}

void CKRAVView::mouseMoveEvent(QMouseEvent* event) {
    m_engine.OnMouseMove(ButtonFlags(event->buttons(), event->modifiers()), PointOf(event));
    UpdateCursorAt(event->position().toPoint());
    m_frame.PointerOverCell(*this, CellUnder(event->position().toPoint()));
}

Cell CKRAVView::CellUnder(QPoint client) const {
    const Point cell = m_engine.Geometry().CellAt({client.x(), client.y()});
    if (!MAP_CELL_RECT.Contains(cell))
        return EMPTY_CELL;
    return m_doc.GetCell(cell.y, cell.x);
}

// A kept cell names its code in a tooltip.
bool CKRAVView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave)
        m_frame.PointerOverCell(*this, EMPTY_CELL);
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const std::string text = KeptCellText(CellUnder(help->pos()));
    if (text.empty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), QString::fromStdString("Cell: " + text), this);
    return true;
}

void CKRAVView::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        m_engine.OnKeyDown(ViewKey::Tab, shift);
        break;
    case Qt::Key_Escape:
        m_engine.OnKeyDown(ViewKey::Escape, shift);
        break;
    case Qt::Key_PageUp:
        m_engine.OnKeyDown(ViewKey::PageUp, shift);
        break;
    case Qt::Key_PageDown:
        m_engine.OnKeyDown(ViewKey::PageDown, shift);
        break;
    case Qt::Key_Left:
        m_engine.OnKeyDown(ViewKey::Left, shift);
        break;
    case Qt::Key_Up:
        m_engine.OnKeyDown(ViewKey::Up, shift);
        break;
    case Qt::Key_Right:
        m_engine.OnKeyDown(ViewKey::Right, shift);
        break;
    case Qt::Key_Down:
        m_engine.OnKeyDown(ViewKey::Down, shift);
        break;
    case Qt::Key_Home:
        m_engine.OnKeyDown(ViewKey::Home, shift, control);
        break;
    case Qt::Key_End:
        m_engine.OnKeyDown(ViewKey::End, shift, control);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    UpdateCursor();
}

// The engine decides what a turn does, as it does for krav-lvl play.
void CKRAVView::wheelEvent(QWheelEvent* event) {
    const QPoint at = event->position().toPoint();
    const QPoint angle = event->angleDelta();
    m_engine.OnMouseWheel({{angle.x(), angle.y()},
                           {at.x(), at.y()},
                           (event->modifiers() & Qt::ShiftModifier) != 0,
                           (event->modifiers() & Qt::ControlModifier) != 0,
                           event->inverted(),
                           QApplication::wheelScrollLines()});
    event->accept();
    UpdateCursorAt(at);
}

void CKRAVView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

// Tab beeps in the map view rather than moving the focus away.
bool CKRAVView::focusNextPrevChild(bool) {
    return false;
}

// The engine decides how far the view scrolls; the contents move through ScrollContents.
void CKRAVView::scrollContentsBy(int, int) {}

void CKRAVView::OnScrollAction(bool vertical, int action) {
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    int code = -1;
    int thumb = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        code = SB_LINEUP;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        code = SB_LINEDOWN;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = SB_PAGEUP;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = SB_PAGEDOWN;
        break;
    case QAbstractSlider::SliderMove:
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
        code = SB_THUMBTRACK;
        thumb = bar->sliderPosition();
        break;
    default:
        break;
    }
    if (code >= 0)
        vertical ? m_engine.OnVScroll(code, thumb) : m_engine.OnHScroll(code, thumb);
    // The bar moves where the engine put the view, not where the action alone would.
    const ScrollBar& state =
        vertical ? m_engine.Geometry().VerticalBar() : m_engine.Geometry().HorizontalBar();
    bar->setSliderPosition(state.Position());
}

// --- ViewHost ------------------------------------------------------------------------------

void CKRAVView::InvalidateClient(const Rect& client, bool) {
    // A 2-pixel edge and frames drawn around rectangles reach one pixel beyond them.
    viewport()->update(ToQRect(client.Normalized().Inflated(1)));
}

void CKRAVView::UpdateNow() {
    viewport()->repaint();
}

// The map's pixels move along; the previews, drawn at their own client places, moved with
// them: they are painted again where they are, and where the moved copy went.
void CKRAVView::ScrollContents(int dx, int dy) {
    viewport()->scroll(dx, dy);
    QRegion overlays;
    for (const QRect& overlay : OverlayRects())
        overlays += QRegion(overlay) + overlay.translated(dx, dy);
    if (!overlays.isEmpty())
        viewport()->update(overlays);
}

std::array<QRect, 3> CKRAVView::OverlayRects() const {
    const SelectionTool& selection = m_engine.Selection();
    const StampTool& stamp = m_engine.Stamp();
    QRect band;
    if (selection.IsSelecting()) {
        const Point a = selection.Anchor();
        const Point b = selection.Corner();
        band = ToQRect(Rect{a.x, a.y, b.x, b.y}.Normalized().Inflated(1));
    }
    return {ToQRect(m_engine.Shapes().PreviewRect().Inflated(1)),
            stamp.IsPreviewShown() ? ToQRect(stamp.PreviewRect().Inflated(1)) : QRect(), band};
}

void CKRAVView::ScrollBarsChanged() {
    const ViewGeometry& view = m_engine.Geometry();
    for (const bool vertical : {true, false}) {
        QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
        const ScrollBar& state = vertical ? view.VerticalBar() : view.HorizontalBar();
        const QSignalBlocker blocker(bar);
        bar->setRange(0, state.MaxPosition());
        bar->setPageStep(std::max(state.Page(), 1));
        bar->setValue(state.Position());
    }
}

void CKRAVView::StartTimer(ViewTimer timer, int periodMs) {
    m_timers[static_cast<int>(timer) - FIRST_TIMER]->start(periodMs);
}

void CKRAVView::StopTimer(ViewTimer timer) {
    m_timers[static_cast<int>(timer) - FIRST_TIMER]->stop();
}

// Qt holds the mouse for the widget while a button is down; nothing more is needed.
void CKRAVView::SetCapture(bool) {}

void CKRAVView::Beep(BeepType) {
    QApplication::beep();
}

Prompt& CKRAVView::UserPrompt() {
    return m_frame.UserPrompt();
}

void CKRAVView::RadarCellsChanged(const Rect& cells) {
    m_frame.RadarCellsChanged(*this, cells);
}

void CKRAVView::RadarCellChanged(int x, int y) {
    m_frame.RadarCellChanged(*this, x, y);
}

void CKRAVView::RadarViewScrolled(bool vertical) {
    m_frame.RadarViewScrolled(*this, vertical);
}

void CKRAVView::RadarViewRectChanged() {
    m_frame.RadarViewRectChanged(*this);
}

void CKRAVView::RadarShowDocument() {
    m_frame.RadarShowDocument(*this);
}

int CKRAVView::CurrentTool() const {
    return m_frame.Hub().CurrentTool();
}

Cell CKRAVView::GetStampObject() const {
    return m_frame.Hub().GetStampObject();
}

void CKRAVView::SetCurrentTile(int tile, bool fore) {
    m_frame.Hub().SetCurrentTile(tile, fore, false);
}

void CKRAVView::RequestTool(int tool) {
    m_frame.Hub().Execute(tool);
}

void CKRAVView::UpdateCursor() {
    UpdateCursorAt(viewport()->mapFromGlobal(QCursor::pos()));
}

// Events bring the pointer's place (asking the display for it waits for an answer), and a
// cursor set again costs a request to the display even when unchanged: only changes are set.
void CKRAVView::UpdateCursorAt(QPoint client) {
    const SelectionTool& tool = m_engine.Selection();
    const Rect selection = m_engine.Geometry().CellsToClient(tool.SelectionCells());
    const bool overSelection = (tool.HasFinishedSelection() || tool.IsFloating()) &&
                               selection.Contains({client.x(), client.y()});
    const QCursor wanted = overSelection ? m_frame.MoveCursor() : m_frame.ToolCursor(CurrentTool());
    QWidget* area = viewport();
    if (!area->testAttribute(Qt::WA_SetCursor) || area->cursor() != wanted)
        area->setCursor(wanted);
}

// --- painting ------------------------------------------------------------------------------

void CKRAVView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    // The selection's outline goes into the map's pixels as they are rendered: drawn with the
    // painter instead, any stroke at all costs about a whole window's copy more on each paint.
    const SelectionTool& selection = m_engine.Selection();
    const Rect outline =
        selection.HasFinishedSelection() && !selection.IsFloating()
            ? m_engine.Geometry().CellsToClient(selection.SelectionCells()).Inflated(1)
            : Rect{};
    const auto render = [this, &outline](const QRect& area, std::uint32_t* pixels, int stride) {
        const Rect clip{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
        m_renderer.Render(Source(), m_engine.Geometry(), clip, pixels, stride);
        // Two pixels wide from 1:1 on, where a single line is lost among the tiles' details.
        DrawSelectionOutline(outline, clip, pixels, stride,
                             m_engine.Geometry().CellWidth() >= TILE_SIZE ? 2 : 1);
    };
    // Only the region asked for: written directly, pixels beside it would cover overlays
    // that are not repainted.
    for (const QRect& area : event->region())
        m_mapTarget.Paint(painter, area, render);
    PaintOverlays(painter, event->rect());
}

void CKRAVView::PaintOverlays(QPainter& painter, const QRect& area) {
    PaintPreview(painter, area);
    const SelectionTool& selection = m_engine.Selection();
    if (selection.IsSelecting()) {
        // The rubber band inverts what it covers.
        const Point anchor = selection.Anchor();
        const Point corner = selection.Corner();
        const Rect band = Rect{anchor.x, anchor.y, corner.x, corner.y}.Normalized();
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(ToQRect(band).adjusted(0, 0, -1, -1));
        painter.restore();
    }
    PaintFloatingBlock(painter, area);
    PaintStamp(painter);
}

void CKRAVView::PaintPreview(QPainter& painter, const QRect& area) {
    const auto points = m_engine.Shapes().PreviewPoints();
    if (points.empty())
        return;
    const ViewGeometry& view = m_engine.Geometry();
    const int cw = view.CellWidth();
    const int ch = view.CellHeight();
    for (const ShapePoint& point : points) {
        const QRect cell(point.column * cw, point.row * ch, cw, ch);
        if (!cell.intersects(area))
            continue;
        if (view.IsLowZoom() || point.value < 0 || point.value >= TILE_COUNT) {
            painter.fillRect(cell, QColor(0xC0, 0xC0, 0xC0));
        } else {
            const TileRect tile = TileRectOf(point.value);
            painter.drawImage(cell, m_tileSetImage, QRect(tile.x, tile.y, tile.width, tile.height));
        }
    }
}

void CKRAVView::PaintFloatingBlock(QPainter& painter, const QRect& area) {
    const SelectionTool& selection = m_engine.Selection();
    const CellBlock& cells = selection.FloatingCells();
    if (!selection.IsFloating() || !cells)
        return;
    const ViewGeometry& view = m_engine.Geometry();
    const Rect client = view.CellsToClient(selection.SelectionCells());
    const int columns = selection.SelectionCells().Width();
    const int rows = selection.SelectionCells().Height();
    const QRect target = ToQRect(client).intersected(area);
    if (!target.isEmpty() && columns * rows <= static_cast<int>(cells->size())) {
        QImage block(target.size(), QImage::Format_RGB32);
        block.fill(Qt::black);
        m_renderer.RenderBlock(
            Source(), view, cells->data(), columns, rows, {client.left, client.top},
            {target.left(), target.top(), target.right() + 1, target.bottom() + 1},
            reinterpret_cast<std::uint32_t*>(block.bits()), block.bytesPerLine() / 4);
        painter.drawImage(target.topLeft(), block);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
    painter.drawRect(ToQRect(client.Inflated(1)).adjusted(0, 0, -1, -1));
}

void CKRAVView::PaintStamp(QPainter& painter) {
    const StampTool& stamp = m_engine.Stamp();
    if (!stamp.IsPreviewShown())
        return;
    const QRect footprint = ToQRect(stamp.PreviewRect());
    if (m_engine.Geometry().IsLowZoom()) {
        painter.fillRect(footprint, QColor(0xC0, 0xC0, 0xC0));
    } else {
        const int index = ObjectPictureIndex(stamp.Object());
        if (index >= 0)
            painter.drawImage(footprint, m_frame.ObjectPicture(index));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawRect(footprint.adjusted(-1, -1, 0, 0));
}

} // namespace krav
