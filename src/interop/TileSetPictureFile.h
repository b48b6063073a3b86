#pragma once

#include "document/TileSetChooser.h"

#include <QIODevice>
#include <optional>
#include <string>

namespace krav {

// Reads a picture file in any format Qt reads (told by its content) as a tile set: 304 x 160
// with at most 256 colours, converted losslessly to an 8-bit BMP. Nothing when the file is
// not a picture.
std::optional<PictureTileSet> ReadTileSetPicture(const std::string& path);
// The same for a picture in memory or any other device open for reading.
std::optional<PictureTileSet> ReadTileSetPictureFrom(QIODevice& device);

} // namespace krav
