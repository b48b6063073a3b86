#pragma once

#include <QWidget>

class QLabel;

namespace krav {

class TilePreviewWnd;

// The "Tile Info" window: the current foreground tile over the current background tile,
// each enlarged three times. It has no input; the main frame keeps it up to date.
class TileInfoWnd : public QWidget {
    Q_OBJECT

public:
    explicit TileInfoWnd(QWidget* mainFrame);

    // Puts the window's top-right corner at the top-right corner of a view's client area
    // (screen coordinates).
    void PlaceBesideView(const QRect& viewClientOnScreen);
    void SetupInfo(int fore, int back, const QImage& tileSet);
    void UpdateTile(int index, bool isFore);
    // The code of the kept cell under the pointer, below the previews; -1 shows nothing.
    void ShowKeptCode(int code);
    QString KeptCodeText() const;

    const TilePreviewWnd* ForePreview() const { return m_fore; }
    const TilePreviewWnd* BackPreview() const { return m_back; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TilePreviewWnd* m_fore;
    TilePreviewWnd* m_back;
    QLabel* m_keptCode;
    QSize m_client;
};

} // namespace krav
