#pragma once

#include "document/TileSetBitmap.h"

#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <memory>
#include <string>

namespace krav {

// The tile set as an 8-bit indexed picture with the bitmap's colour table in order, so that
// its indices give back the very pixel bytes of the bitmap.
QImage TileSetToImage(const TileSetBitmap& tileSet);

// What of an embedded tile set's BMP its picture does not show: both headers, the colour
// table with its reserved bytes, and the bytes after the pixels.
QByteArray BmpPartsOf(const TileSetBitmap& tileSet);

struct TileSetChoice {
    std::unique_ptr<TileSetBitmap> tileSet; // null: the built-in tile set
    std::string note;                       // why the picture was not taken, if it was not
    bool unreadable = false;                // its header was told, but its pixels could not be read
};

// The tile set a picture stands for:
// - not 304 x 160 or more than 256 colours: the built-in set, with a note saying why;
// - with bmpParts (from BmpPartsOf) whose colours cover the picture: that BMP again, with the
//   picture's pixels, byte for byte the same when the picture is unchanged;
// - without bmpParts, showing exactly the built-in set: the built-in set;
// - otherwise a new bitmap, colour table in the order the colours first appear.
TileSetChoice TileSetFromImage(const QImage& image, const QByteArray& bmpParts);

// The same for a picture still to be read: a header that gives another size than a tile set's is
// refused without decoding the picture (a few bytes of PNG may claim 30000 x 30000 pixels), and
// none is decoded into more memory than a tile set's picture needs.
TileSetChoice TileSetFromPicture(QImageReader& reader, const QByteArray& bmpParts);

} // namespace krav
