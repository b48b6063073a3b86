#pragma once

#include "document/TileSetBitmap.h"

#include <QImage>

namespace krav {

// The tile set as a 304 x 160 true-colour picture, top row first, in its own colours.
QImage ToImage(const TileSetBitmap& tileSet);

} // namespace krav
