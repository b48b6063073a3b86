#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace krav {

// What of a Tiled map a level can take, as the file says it, unchecked.
struct TmxTileSet {
    std::uint32_t firstGid = 0;
    QString name;
    QString externalSource; // a .tsx file, not read
    int tileWidth = 0;
    int tileHeight = 0;
    QString objectAlignment;
    QString imageSource;
    QByteArray bmpParts;              // the krav-bmp property, decoded
    std::map<int, QString> tileKinds; // tile id -> its kind property
};

struct TmxObject {
    int id = 0;
    std::uint32_t gid = 0; // 0: not a tile object
    double x = 0, y = 0;
    std::optional<double> width, height;
    double rotation = 0;
    std::optional<QString> kind;
};

struct TmxMap {
    QString orientation;
    int width = 0, height = 0, tileWidth = 0, tileHeight = 0;
    bool infinite = false;
    std::vector<TmxTileSet> tileSets;
    bool hasTileLayer = false;
    QString tileLayerName;
    std::vector<std::uint32_t> tiles; // the chosen tile layer's gids, row by row
    std::vector<TmxObject> objects;   // of the group "special objects"
};

struct TmxReadResult {
    TmxMap map;
    std::string error;
};

// Reads a map: its tile sets, the tile layer named "tiles" or else the first one, and the
// objects of the group "special objects". The error names what could not be read.
TmxReadResult ReadTmx(const QByteArray& xml);

} // namespace krav
