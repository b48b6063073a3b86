#pragma once

#include "document/ByteSource.h"
#include "document/TileSetChooser.h"

#include <QIODevice>
#include <optional>

namespace krav {

// Reads a file's bytes as a picture in any format Qt reads (told by its content) as a tile
// set: 304 x 160 with at most 256 colours, converted losslessly to an 8-bit BMP. Nothing when
// the bytes are of no picture format Qt knows; not decoded when they start like one but its
// pixels cannot be read.
std::optional<PictureTileSet> ReadTileSetPicture(const ByteSource& file);
// The same for a picture in memory or any other device open for reading.
std::optional<PictureTileSet> ReadTileSetPictureFrom(QIODevice& device);

} // namespace krav
