#pragma once

#include "TmxReader.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace krav {

struct TmxImportResult {
    std::string error;               // why no level could be made, or empty
    std::vector<std::string> notes;  // what the user should know about a level that was made
    std::vector<std::uint8_t> level; // the level file's bytes
    std::vector<std::string> read;   // the files read besides the map (its tile set picture)
};

// Makes a level of a Tiled map that ExportTmx wrote, or one of the same shape edited in Tiled:
// the tile layer "tiles" (or the first), the group "special objects", and the tile set's
// picture as the level's own tile set (see TileSetFromImage). A map a level cannot hold is
// refused with the first thing that is wrong, and so is one the editor could not have made
// (objects that overlap, cover tiles or reach past the map's edge, more than 256 flags).
TmxImportResult ImportTmx(const QString& tmxPath);
// The same for a map's bytes; the tile set's picture is looked for in folder.
TmxImportResult ImportTmx(const QByteArray& tmx, const QDir& folder);
// The same for a map ReadTmx read (its reader's error, if any, is the import's).
TmxImportResult ImportTmx(TmxReadResult read, const QDir& folder);

} // namespace krav
