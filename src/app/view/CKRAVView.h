#pragma once

#include "editing/MapViewEngine.h"
#include "render/MapRenderer.h"
#include "view/MapPaintTarget.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <array>

class QTimer;

namespace krav {

class CKRAVDoc;
class ViewFrame;

// The map view widget: forwards the window's events to the map view's engine, does what the
// engine asks of its window (repaints, scrolling, timers, cursors) and paints the map with
// the shared renderer, then the overlays (previews, selection, floating block, stamp).
class CKRAVView final : public QAbstractScrollArea, public ViewHost {
    Q_OBJECT
public:
    CKRAVView(CKRAVDoc& doc, ViewFrame& frame, QWidget* parent = nullptr);
    ~CKRAVView() override;

    MapViewEngine& Engine() { return m_engine; }
    CKRAVDoc& Document() { return m_doc; }
    // The level's tile set as a picture, for the palettes.
    const QImage& TileSetImage() const { return m_tileSetImage; }
    // The level got a new tile set: forget the scaled tiles and repaint.
    void OnTileSetChanged();
    // The pointer shape for the current tool and position.
    void UpdateCursor();
    void UpdateCursorAt(QPoint client);

    // ViewHost
    void InvalidateClient(const Rect& client, bool erase) override;
    void UpdateNow() override;
    void ScrollContents(int dx, int dy) override;
    void ScrollBarsChanged() override;
    void StartTimer(ViewTimer timer, int periodMs) override;
    void StopTimer(ViewTimer timer) override;
    void SetCapture(bool captured) override;
    void Beep(BeepType type) override;
    Prompt& UserPrompt() override;
    void RadarCellsChanged(const Rect& cells) override;
    void RadarCellChanged(int x, int y) override;
    void RadarViewScrolled(bool vertical) override;
    void RadarViewRectChanged() override;
    void RadarShowDocument() override;
    int CurrentTool() const override;
    Cell GetStampObject() const override;
    void SetCurrentTile(int tile, bool fore) override;
    void RequestTool(int tool) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    void OnScrollAction(bool vertical, int action);
    void PaintOverlays(QPainter& painter, const QRect& area);
    void PaintPreview(QPainter& painter, const QRect& area);
    void PaintFloatingBlock(QPainter& painter, const QRect& area);
    void PaintStamp(QPainter& painter);
    RenderSource Source() const;
    // Where the previews and the rubber band are drawn (empty rectangles for those not shown).
    std::array<QRect, 3> OverlayRects() const;
    // The map cell under a client point, EMPTY_CELL past the map.
    Cell CellUnder(QPoint client) const;

    CKRAVDoc& m_doc;
    ViewFrame& m_frame;
    MapViewEngine m_engine;
    MapRenderer m_renderer;
    MapPaintTarget m_mapTarget;
    QImage m_tileSetImage;
    std::array<QTimer*, 3> m_timers{}; // ids 5, 6, 7
};

} // namespace krav
