#pragma once

#include "editing/Geometry.h"
#include "palettes/FramePacer.h"
#include "palettes/RadarOverview.h"
#include "palettes/RadarViewport.h"

#include <QList>
#include <QRgb>
#include <QWidget>

namespace krav {

class RadarPicture;

// The "Radar" window: a window-sized part of the active view's radar picture, one pixel per
// map cell, with the map area the view shows outlined in red. It follows the view while it
// scrolls; a left click asks for the view to be moved there. Its context menu (or a double
// click) switches to the whole map shrunk to fit the window, where a click or a drag centres
// the view on the cells under the pointer.
class CRadarWnd : public QWidget {
    Q_OBJECT

public:
    explicit CRadarWnd(QWidget* mainFrame);

    // A 125 x 125 client area whose window's bottom-right corner is at the bottom-right
    // corner of a view's client area (screen coordinates).
    void PlaceBesideView(const QRect& viewClientOnScreen);
    // Puts the window where it was in an earlier run (its frame's top-left corner, its client
    // size), inside the screen area.
    void PlaceFrame(QPoint frameTopLeft, QSize client, const QRect& area);
    // Shows a view's picture (borrowed: it must live until another one is shown, or null is
    // passed) and the area (in cells) that view shows. Another document than the last one
    // places the shown part anew.
    void ShowDocument(const void* docKey, const RadarPicture* picture, Rect viewArea);
    // The view was resized or zoomed.
    void SetViewRect(Rect viewArea);
    // The view scrolled.
    void ScrollViewRows(int top, int bottom);
    void ScrollViewCols(int left, int right);
    // Cells changed in the picture: shown at once, or with the others of the same frame.
    void UpdateCell(int x, int y);
    void UpdateCells(Rect cells);

    // Whole map (true) or one pixel per cell (false, the default).
    void SetWholeMap(bool wholeMap);
    bool IsWholeMap() const { return m_bWholeMap; }

    const RadarViewport& Viewport() const { return m_viewport; }
    const RadarOverview& Overview() const { return m_overview; }

signals:
    // The user clicked: the active view should show these cells.
    void visibleAreaRequested(int left, int top, int right, int bottom);
    // The user switched between the whole map and one pixel per cell.
    void wholeMapChosen(bool wholeMap);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QRect Outline() const;
    void UpdateOutline(const QRect& outline);
    QRect CellsOnClient(Rect cells) const;
    void ClientSizeChanged();
    void BuildOverview();
    void ChooseWholeMap(bool wholeMap);
    void CentreViewOn(const QPoint& client);
    void ShowChanges();
    void PaintActualSize(QPainter& painter, const QRect& exposed);
    void PaintWholeMap(QPainter& painter, const QRect& exposed);

    RadarViewport m_viewport;
    const void* m_docKey = nullptr;
    const RadarPicture* m_picture = nullptr;
    QList<QRgb> m_colours;     // of the whole map's colour indices
    QList<QRgb> m_kindColours; // of the picture's kinds of cell
    bool m_bWholeMap = false;
    bool m_bSwitchHeld = false; // the double-click that switched the mode is still held
    RadarOverview m_overview;
    // Changed since last shown: cells (one pixel per cell) and the whole map's pixels.
    Rect m_changedCells;
    Rect m_changedPixels;
    FramePacer m_changePacer{[this] { ShowChanges(); }};
};

} // namespace krav
