#include "palettes/TileInfoWnd.h"

#include "palettes/FramePlacement.h"
#include "palettes/PaletteWindowFlags.h"
#include "palettes/TilePreviewWnd.h"

#include <QCloseEvent>
#include <QLabel>
#include <algorithm>

namespace krav {

namespace {
// The previews are centred across the width, which is at least the title's.
constexpr int MIN_WIDTH = 72;
constexpr int HEIGHT = 134;
constexpr int FORE_TOP = 10;
constexpr int BACK_TOP = 70;
// The strip under the background preview.
constexpr int KEPT_CODE_TOP = 122;
constexpr int KEPT_CODE_HEIGHT = 12;
} // namespace

TileInfoWnd::TileInfoWnd(QWidget* mainFrame)
    : QWidget(mainFrame, PALETTE_WINDOW_FLAGS), m_fore(new TilePreviewWnd(true, this)),
      m_back(new TilePreviewWnd(false, this)), m_keptCode(new QLabel(this)) {
    setWindowTitle(tr("Tile Info"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    m_client = QSize(std::max(MIN_WIDTH, TitleFitWidth(this)), HEIGHT);
    setFixedSize(m_client);
    const int previewLeft = (m_client.width() - TilePreviewWnd::SIZE) / 2;
    m_fore->move(previewLeft, FORE_TOP);
    m_back->move(previewLeft, BACK_TOP);
    m_keptCode->setGeometry(0, KEPT_CODE_TOP, m_client.width(), KEPT_CODE_HEIGHT);
    m_keptCode->setAlignment(Qt::AlignCenter);
    QFont small = m_keptCode->font();
    small.setPixelSize(10);
    m_keptCode->setFont(small);
    QPalette magenta = m_keptCode->palette();
    magenta.setColor(QPalette::WindowText, QColor(255, 0, 255));
    m_keptCode->setPalette(magenta);
    SetUpPaletteWindow(this);
}

void TileInfoWnd::ShowKeptCode(int code) {
    m_keptCode->setText(code < 0 ? QString() : QStringLiteral("code %1").arg(code));
}

QString TileInfoWnd::KeptCodeText() const {
    return m_keptCode->text();
}

void TileInfoWnd::PlaceBesideView(const QRect& viewClientOnScreen) {
    PlaceFrameCorner(
        this, m_client, Qt::TopRightCorner,
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
