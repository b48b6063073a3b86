#include "palettes/TilePreviewWnd.h"

#include <QPainter>

namespace krav {

namespace {
constexpr int TILE = 16;
constexpr int BORDER = 2;
constexpr int ENLARGED = 3 * TILE;
} // namespace

TilePreviewWnd::TilePreviewWnd(bool isFore, QWidget* parent) : QWidget(parent), m_fore(isFore) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(SIZE, SIZE);
}

void TilePreviewWnd::SetupPreview(int index, const QImage& tileSet) {
    m_tileSet = tileSet;
    ShowTile(index);
}

void TilePreviewWnd::ShowTile(int index) {
    m_tile = index;
    update();
}

void TilePreviewWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_fore ? QColor(255, 255, 0) : QColor(255, 0, 0));
    const int columns = m_tileSet.width() / TILE;
    if (columns == 0 || m_tile < 0)
        return;
    // No smoothing: each tile pixel becomes a 3 x 3 block.
    const QRect source(m_tile % columns * TILE, m_tile / columns * TILE, TILE, TILE);
    painter.drawImage(QRect(BORDER, BORDER, ENLARGED, ENLARGED), m_tileSet, source);
}

} // namespace krav
