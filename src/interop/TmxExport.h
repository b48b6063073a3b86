#pragma once

#include "document/CKRAVDoc.h"

#include <QString>
#include <QStringList>
#include <string>

namespace krav {

// Writes the level as an orthogonal 1024 x 1024 Tiled map of 16 x 16 tiles: tile layer
// "tiles" (gid = file code), object group "special objects" (one tile object per object,
// top-left at its anchor, with its kind), and the two pictures its tile sets use beside it,
// NAME-tiles.png and NAME-objects.png. The three appear together or, when anything fails,
// none of them does. Returns why it could not ("PATH: ..."), or an empty string. A
// level with kept cells is refused whole: their codes have no place in the map.
std::string ExportTmx(const CKRAVDoc& doc, const QString& tmxPath);

// The files ExportTmx writes: the two pictures, then the map.
QStringList ExportTmxFiles(const QString& tmxPath);

// The pictures' file names for a map file name: "a.tmx" gives "a-tiles.png", "a-objects.png".
QString TileSetPictureName(const QString& tmxPath);
QString ObjectSheetName(const QString& tmxPath);

} // namespace krav
