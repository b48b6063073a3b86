#include "TileSetPictureFile.h"

#include "TileSetPicture.h"

#include <QImageReader>

namespace krav {

std::optional<PictureTileSet> ReadTileSetPicture(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    if (reader.format().isEmpty())
        return std::nullopt;
    const QImage image = reader.read();
    TileSetChoice choice = TileSetFromImage(image, {});
    return PictureTileSet{std::move(choice.tileSet), std::move(choice.note)};
}

} // namespace krav
