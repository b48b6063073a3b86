#include "view/TileSetImage.h"

namespace krav {

QImage ToImage(const TileSetBitmap& tileSet) {
    QImage image(TILESET_WIDTH, TILESET_HEIGHT, QImage::Format_RGB32);
    for (int y = 0; y < TILESET_HEIGHT; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < TILESET_WIDTH; ++x)
            line[x] = 0xFF000000u | tileSet.ColourRgb(tileSet.PixelAt(x, y));
    }
    return image;
}

} // namespace krav
