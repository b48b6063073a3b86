#include "palettes/TileInfoWnd.h"

#include "palettes/FramePlacement.h"
#include "palettes/PaletteWindowFlags.h"
#include "palettes/TilePreviewWnd.h"

#include <QCloseEvent>
#include <QLabel>

namespace krav {

namespace {
constexpr QSize CLIENT(72, 134);
constexpr QPoint FORE_AT(10, 10);
constexpr QPoint BACK_AT(10, 70);
// The strip under the background preview.
constexpr QRect KEPT_CODE_AT(0, 122, 72, 12);
} // namespace

TileInfoWnd::TileInfoWnd(QWidget* mainFrame)
    : QWidget(mainFrame, PALETTE_WINDOW_FLAGS), m_fore(new TilePreviewWnd(true, this)),
      m_back(new TilePreviewWnd(false, this)), m_keptCode(new QLabel(this)) {
    setWindowTitle(tr("Tile Info"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setFixedSize(CLIENT);
    m_fore->move(FORE_AT);
    m_back->move(BACK_AT);
    m_keptCode->setGeometry(KEPT_CODE_AT);
    m_keptCode->setAlignment(Qt::AlignCenter);
    QFont small = m_keptCode->font();
    small.setPixelSize(10);
    m_keptCode->setFont(small);
    QPalette magenta = m_keptCode->palette();
    magenta.setColor(QPalette::WindowText, QColor(255, 0, 255));
    m_keptCode->setPalette(magenta);
}

void TileInfoWnd::ShowKeptCode(int code) {
    m_keptCode->setText(code < 0 ? QString() : QStringLiteral("code %1").arg(code));
}

QString TileInfoWnd::KeptCodeText() const {
    return m_keptCode->text();
}

void TileInfoWnd::PlaceBesideView(const QRect& viewClientOnScreen) {
    PlaceFrameCorner(
        this, CLIENT, Qt::TopRightCorner,
        QPoint(viewClientOnScreen.left() + viewClientOnScreen.width(), viewClientOnScreen.top()));
}

void TileInfoWnd::SetupInfo(int fore, int back, const QImage& tileSet) {
    m_fore->SetupPreview(fore, tileSet);
    m_back->SetupPreview(back, tileSet);
}

void TileInfoWnd::UpdateTile(int index, bool isFore) {
    (isFore ? m_fore : m_back)->ShowTile(index);
}

void TileInfoWnd::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}

} // namespace krav
