#include "TileSetPictureFile.h"

#include "TileSetPicture.h"

#include <QFile>
#include <QImageReader>

namespace krav {

std::optional<PictureTileSet> ReadTileSetPictureFrom(QIODevice& device) {
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    if (reader.format().isEmpty())
        return std::nullopt;
    TileSetChoice choice = TileSetFromPicture(reader, {});
    return PictureTileSet{std::move(choice.tileSet), std::move(choice.note)};
}

std::optional<PictureTileSet> ReadTileSetPicture(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ReadTileSetPictureFrom(file);
}

} // namespace krav
