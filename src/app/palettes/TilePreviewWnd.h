#pragma once

#include <QImage>
#include <QWidget>

namespace krav {

// One tile of the Tile Info window, three times enlarged inside a 2-pixel border: yellow for
// the foreground tile, red for the background tile. Until it has a tile set it shows only
// its colour.
class TilePreviewWnd : public QWidget {
public:
    static constexpr int SIZE = 52;

    TilePreviewWnd(bool isFore, QWidget* parent);

    void SetupPreview(int index, const QImage& tileSet);
    void ShowTile(int index);
    int Tile() const { return m_tile; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_tileSet;
    int m_tile = 0;
    bool m_fore;
};

} // namespace krav
