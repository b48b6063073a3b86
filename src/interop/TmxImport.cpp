#include "TmxImport.h"

#include "ObjectSheet.h"
#include "TileSetPicture.h"
#include "TmxNames.h"
#include "TmxReader.h"
#include "document/ByteSource.h"
#include "document/LevelWriter.h"
#include "document/LoadTileSet.h"
#include "document/ReadError.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <compare>
#include <optional>
#include <utility>

namespace krav {

namespace {

// Tiled keeps a tile's flips and rotation in the gid's top bits.
constexpr std::uint32_t GID_FLAG_BITS = 0xF0000000u;

std::string CellName(int col, int row) {
    return "column " + std::to_string(col) + ", row " + std::to_string(row);
}

// The tile set the level's tiles come from: "tiles", or else the first one.
const TmxTileSet* TileSetOfTiles(const TmxMap& map) {
    for (const TmxTileSet& tileSet : map.tileSets)
        if (tileSet.name == QLatin1String(tmx::TILE_SET))
            return &tileSet;
    return map.tileSets.empty() ? nullptr : &map.tileSets.front();
}

// The tile set a gid belongs to: the one with the largest first gid not past it.
const TmxTileSet* TileSetOfGid(const TmxMap& map, std::uint32_t gid) {
    const TmxTileSet* found = nullptr;
    for (const TmxTileSet& tileSet : map.tileSets)
        if (tileSet.firstGid <= gid && (!found || tileSet.firstGid > found->firstGid))
            found = &tileSet;
    return found;
}

// Why the tile gid at cell `at` can be no level's tile, or empty.
std::string TileError(std::uint32_t gid, std::uint32_t firstGid, int at) {
    const std::uint32_t code = gid - firstGid + 1;
    if (gid & GID_FLAG_BITS)
        return "the tile at " + CellName(at % MAP_SIZE, at / MAP_SIZE) +
               " is flipped or rotated; a level's tiles cannot be";
    if (gid < firstGid || code > static_cast<std::uint32_t>(TILE_COUNT))
        return "the tile at " + CellName(at % MAP_SIZE, at / MAP_SIZE) + " has gid " +
               std::to_string(gid) + ", past the 190 tiles of a level";
    return {};
}

// Turns the layer's gids into cells, in place, and counts the flags. Cells are checked a block
// at a time without a branch per cell (a whole map is a million of them); a block with a fault
// is gone through again to name its first one.
std::string PlaceTiles(const TmxMap& map, std::vector<Cell>& cells, int& flags) {
    const TmxTileSet* tileSet = TileSetOfTiles(map);
    const std::uint32_t firstGid = tileSet ? tileSet->firstGid : 1;
    constexpr int block = 1024;
    static_assert(MAP_CELLS % block == 0);
    flags = 0;
    for (int start = 0; start < MAP_CELLS; start += block) {
        Cell* const gids = cells.data() + start;
        std::uint32_t faults = 0;
        int blockFlags = 0;
        for (int i = 0; i < block; ++i) {
            const std::uint32_t gid = gids[i];
            const std::uint32_t tile = gid - firstGid;
            const bool used = gid != 0;
            const bool flipped = (gid & GID_FLAG_BITS) != 0;
            const bool outside = gid < firstGid || tile >= static_cast<std::uint32_t>(TILE_COUNT);
            faults |= used & (flipped | outside);
            blockFlags += used & (tile == FLAG_CELL);
        }
        if (faults)
            for (int i = 0; i < block; ++i)
                if (gids[i] != 0)
                    if (std::string error = TileError(gids[i], firstGid, start + i); !error.empty())
                        return error;
        for (int i = 0; i < block; ++i)
            gids[i] = gids[i] == 0 ? EMPTY_CELL : gids[i] - firstGid;
        flags += blockFlags;
    }
    return {};
}

struct PlacedObject {
    int id = 0;
    Cell kind = 0;
    int col = 0;
    int row = 0;
};

std::optional<Cell> KindOfText(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok && ObjectSheetIndex(static_cast<Cell>(value)) >= 0)
        return static_cast<Cell>(value);
    return std::nullopt;
}

// How far into the object its position lies, as fractions of its width and height.
std::pair<double, double> AlignmentOffset(const QString& alignment) {
    const auto has = [&alignment](const char* word) {
        return alignment.contains(QLatin1String(word));
    };
    if (alignment.isEmpty() || alignment == QLatin1String("unspecified"))
        return {0.0, 1.0}; // bottom-left on orthogonal maps
    const double across = has("left") ? 0.0 : has("right") ? 1.0 : 0.5;
    const double down = has("top") ? 0.0 : has("bottom") ? 1.0 : 0.5;
    return {across, down};
}

std::string PlaceObject(const TmxMap& map, const TmxObject& object, PlacedObject& placed) {
    const std::string name = "object " + std::to_string(object.id);
    std::optional<Cell> pictureKind;
    const TmxTileSet* tileSet = nullptr;
    if (object.gid != 0) {
        if (object.gid & GID_FLAG_BITS)
            return name + " is flipped; special objects cannot be";
        tileSet = TileSetOfGid(map, object.gid);
        const int tile = tileSet ? static_cast<int>(object.gid - tileSet->firstGid) : -1;
        if (tileSet && tileSet->tileKinds.count(tile)) {
            pictureKind = KindOfText(tileSet->tileKinds.at(tile));
        } else if (tileSet && tileSet->name == QLatin1String(tmx::OBJECT_TILE_SET) && tile >= 0 &&
                   tile < static_cast<int>(OBJECT_KINDS.size())) {
            pictureKind = OBJECT_KINDS[tile];
        }
    }
    std::optional<Cell> propertyKind;
    if (object.kind) {
        propertyKind = KindOfText(*object.kind);
        if (!propertyKind)
            return name + " has kind " + object.kind->toStdString() +
                   "; a special object is 500, 600, 700 or 800";
    }
    if (pictureKind && propertyKind && *pictureKind != *propertyKind)
        return name + " has kind " + std::to_string(*propertyKind) + " but shows the picture of " +
               std::to_string(*pictureKind);
    if (!pictureKind && !propertyKind)
        return name + " is no special object: it has no kind and no special object's picture";
    if (object.rotation != 0)
        return name + " is rotated; special objects cannot be";

    double left = object.x, top = object.y;
    if (tileSet) {
        const auto [across, down] = AlignmentOffset(tileSet->objectAlignment);
        left -= across * object.width.value_or(tileSet->tileWidth);
        top -= down * object.height.value_or(tileSet->tileHeight);
    }
    placed.id = object.id;
    placed.kind = propertyKind ? *propertyKind : *pictureKind;
    placed.col = static_cast<int>(std::lround(left / tmx::TILE_PIXELS));
    placed.row = static_cast<int>(std::lround(top / tmx::TILE_PIXELS));
    if (placed.col < 0 || placed.col >= MAP_SIZE || placed.row < 0 || placed.row >= MAP_SIZE)
        return name + " lies outside the map, at " + CellName(placed.col, placed.row);
    // The editor keeps every footprint inside the map.
    const int side = ObjectSide(placed.kind);
    if (placed.col + side > MAP_SIZE || placed.row + side > MAP_SIZE)
        return name + " at " + CellName(placed.col, placed.row) +
               " reaches past the map's edge at " +
               (placed.col + side > MAP_SIZE ? CellName(MAP_SIZE, placed.row)
                                             : CellName(placed.col, MAP_SIZE)) +
               "; its " + std::to_string(side) + " x " + std::to_string(side) +
               " cells must lie inside";
    return {};
}

std::string ObjectName(const PlacedObject& object) {
    const std::string side = std::to_string(ObjectSide(object.kind));
    return "object " + std::to_string(object.id) + " (" + side + " x " + side + " at " +
           CellName(object.col, object.row) + ")";
}

// A cell of an object's footprint: the cell, and the object (an index into the placed ones).
struct Claim {
    std::uint32_t cell;
    std::uint32_t object;
    auto operator<=>(const Claim&) const = default;
};

// Objects go on their anchors after the tiles. As in a level the editor makes, every cell of
// an object's footprint is the object's alone: no other object and no tile may share it, or
// the level would draw one thing and hold another. Placed in order, the first object to claim
// a cell already claimed is named, at the first such cell of its footprint row by row, and
// then the first tile of the map under any footprint. Only footprints are looked at: the
// claims, sorted by cell, show both.
std::string PlaceObjects(const TmxMap& map, std::vector<Cell>& cells) {
    std::vector<PlacedObject> placed(map.objects.size());
    for (std::size_t i = 0; i < placed.size(); ++i)
        if (std::string error = PlaceObject(map, map.objects[i], placed[i]); !error.empty())
            return error;
    std::vector<Claim> claims;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const PlacedObject& object = placed[i];
        const int side = ObjectSide(object.kind);
        for (int row = object.row; row < object.row + side; ++row)
            for (int col = object.col; col < object.col + side; ++col)
                claims.push_back({static_cast<std::uint32_t>(row * MAP_SIZE + col),
                                  static_cast<std::uint32_t>(i)});
        // More claims than cells: this object or one before overlaps, and none after can be
        // the first to.
        if (claims.size() > static_cast<std::size_t>(MAP_CELLS))
            break;
    }
    std::sort(claims.begin(), claims.end());
    // Objects before the first to claim a taken cell do not overlap, so that cell's first
    // claim is its one owner.
    std::optional<Claim> overlap, owner;
    for (std::size_t i = 1; i < claims.size(); ++i)
        if (claims[i].cell == claims[i - 1].cell &&
            (!overlap || std::pair(claims[i].object, claims[i].cell) <
                             std::pair(overlap->object, overlap->cell))) {
            overlap = claims[i];
            owner = claims[i - 1];
        }
    if (overlap)
        return ObjectName(placed[overlap->object]) + " overlaps " +
               ObjectName(placed[owner->object]) + " at " +
               CellName(static_cast<int>(overlap->cell % MAP_SIZE),
                        static_cast<int>(overlap->cell / MAP_SIZE)) +
               "; special objects cannot overlap";
    for (const Claim& claim : claims) // by cell: the first is the map's first
        if (cells[claim.cell] != EMPTY_CELL)
            return "the tile at " +
                   CellName(static_cast<int>(claim.cell % MAP_SIZE),
                            static_cast<int>(claim.cell / MAP_SIZE)) +
                   " lies under " + ObjectName(placed[claim.object]) +
                   "; a special object's cells hold no tile";
    for (const PlacedObject& object : placed)
        cells[static_cast<std::size_t>(object.row) * MAP_SIZE + object.col] = object.kind;
    return {};
}

// The editor never lets a level hold more flags than MAX_FLAGS; the tiles hold `flags`.
std::string CountFlags(const std::vector<Cell>& cells, int flags) {
    if (flags <= MAX_FLAGS)
        return {};
    int seen = 0;
    for (int at = 0; at < MAP_CELLS; ++at)
        if (cells[at] == FLAG_CELL && ++seen > MAX_FLAGS)
            return "the flag at " + CellName(at % MAP_SIZE, at / MAP_SIZE) + " is flag " +
                   std::to_string(seen) + " of " + std::to_string(flags) +
                   "; a level holds at most " + std::to_string(MAX_FLAGS);
    return {};
}

TileSetChoice ChooseTileSet(const TmxMap& map, const QDir& folder, TmxImportResult& result) {
    std::vector<std::string>& notes = result.notes;
    const TmxTileSet* tileSet = TileSetOfTiles(map);
    if (!tileSet || tileSet->imageSource.isEmpty()) {
        notes.push_back("its tile set has no picture; the level gets the built-in tile set");
        return {};
    }
    const QString path = folder.filePath(tileSet->imageSource);
    result.read.push_back(path.toStdString());
    QImageReader reader(path);
    TileSetChoice choice = TileSetFromPicture(reader, tileSet->bmpParts);
    if (!choice.note.empty())
        notes.push_back(tileSet->imageSource.toStdString() + " " + choice.note +
                        "; the level gets the built-in tile set");
    return choice;
}

} // namespace

TmxImportResult ImportTmx(const QString& tmxPath) {
    QFile file(tmxPath);
    if (!file.open(QIODevice::ReadOnly)) {
        TmxImportResult result;
        result.error = "cannot be opened: " + file.errorString().toStdString();
        return result;
    }
    return ImportTmx(file.readAll(), QFileInfo(tmxPath).dir());
}

TmxImportResult ImportTmx(const QByteArray& tmx, const QDir& folder) {
    return ImportTmx(ReadTmx(tmx), folder);
}

TmxImportResult ImportTmx(TmxReadResult read, const QDir& folder) {
    TmxImportResult result;
    const TmxMap& map = read.map;
    result.error = std::move(read.error);
    for (const TmxTileSet& tileSet : map.tileSets)
        if (result.error.empty() && !tileSet.externalSource.isEmpty())
            result.error = "its tile set \"" + tileSet.name.toStdString() + "\" is in " +
                           tileSet.externalSource.toStdString() + "; embed it in the map";
    if (result.error.empty() && !map.hasTileLayer)
        result.error = "has no tile layer";
    if (!result.error.empty())
        return result;

    // The gids become the cells where they lie.
    std::vector<Cell> cells = std::move(read.map.tiles);
    int flags = 0;
    result.error = PlaceTiles(map, cells, flags);
    if (result.error.empty())
        result.error = PlaceObjects(map, cells);
    if (result.error.empty())
        result.error = CountFlags(cells, flags);
    if (!result.error.empty())
        return result;

    const TileSetChoice tileSet = ChooseTileSet(map, folder, result);
    result.level = WriteLevel(cells.data(), tileSet.tileSet.get());
    // What is written must open again. Its records do (their codes are all tiles and objects,
    // checked above); its tile set is read back as a level's is.
    if (tileSet.tileSet) {
        try {
            LoadTileSet(MemorySource(result.level));
        } catch (const ReadError& error) {
            result.error = std::string("makes a level that cannot be read: ") + error.what();
            result.level.clear();
        }
    }
    return result;
}

} // namespace krav
