#pragma once

#include "palettes/PaletteAxis.h"

#include <QImage>
#include <QWidget>

class QScrollBar;

namespace krav {

class EdgeSnapper;

// The "Tileset" palette: the active view's tile set at its natural size. The left button
// chooses the foreground tile (yellow frame), the right button the background tile (red
// frame; both white when they are the same tile). It follows the view it was set up for
// last; the main frame passes its choices on.
class TileSetPaletteWnd : public QWidget {
    Q_OBJECT

public:
    static constexpr int TILE = 16;

    explicit TileSetPaletteWnd(QWidget* mainFrame);

    // A view was set up, activated or got a new tile set. The first call places the window
    // over the bottom-left corner of that view's client area (given in screen coordinates);
    // the same view again only repaints; another view brings its tiles and tile set and
    // shows the tile set from its first row and column.
    void SetupForView(int fore, int back, const QImage& tileSet, const void* viewKey,
                      const QRect& viewClientOnScreen);
    // Puts the window where it was in an earlier run (its frame's top-left corner, its client
    // size), inside the screen area: the first view set up then leaves it there.
    void PlaceFrame(QPoint frameTopLeft, QSize client, const QRect& area);
    // Moves a frame (the tile was chosen elsewhere); nobody is told.
    void SetTile(int index, bool isFore);

    int ForeTile() const { return m_fore; }
    const QImage& TileSetImage() const { return m_tileSet; }
    int BackTile() const { return m_back; }
    int TileCount() const { return m_rows.Count() * m_cols.Count(); }
    // What the tool tip says of the tile at a client point ("Tile 5 (code 6)"); empty where
    // there is no tile.
    QString ToolTipAt(QPoint at) const;

signals:
    void tileChosen(int index, bool isFore);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The 17 x 17 frame of a tile (the tile and one pixel above and to the left); empty
    // when the tile is out of the view-port.
    QRect FrameRect(int index) const;
    void UpdateFrames();
    void FitViewPort();
    // The client area less the scroll bars shown: where the tiles are.
    QSize TileArea() const;
    // Scroll bars only on an axis whose tiles do not all fit.
    void PlaceScrollBars();
    void SyncScrollBars();
    void OnScrollAction(bool vertical, int action);
    void Scroll(PaletteAxis& axis, PaletteAxis::Step step);
    // The index of the tile shown at a client point, or -1 where no tile is shown.
    int TileAt(QPoint at) const;
    void Choose(QPoint at, bool isFore);

    QImage m_tileSet;
    const void* m_viewKey = nullptr;
    int m_fore = 0;
    int m_back = 0;
    PaletteAxis m_rows;
    PaletteAxis m_cols;
    bool m_placed = false;
    QPoint m_wheel; // eighths of a degree not yet turned into lines
    EdgeSnapper* m_snapper;
    // Positions are the first row or column shown, ranges 0 to rows - 1 and 0 to columns - 1.
    QScrollBar* m_vBar;
    QScrollBar* m_hBar;
};

} // namespace krav
