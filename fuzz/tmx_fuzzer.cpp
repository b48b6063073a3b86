// libFuzzer target: any bytes as a Tiled map to import. Importing gives either a level (which the
// importer checks opens) or the reason there is none, never both and never neither; a map the
// reader refuses is refused for the reader's reason, and a tile layer read has exactly one gid
// per cell.
//
// The map's tile set picture is looked for in a folder of this process's own that holds one
// picture, map-tiles.png (the built-in tile set), so that the seeds' maps reach the picture and
// the tile set the map's krav-bmp property describes.
#include "FuzzCheck.h"
#include "TileSetPicture.h"
#include "TmxImport.h"
#include "TmxReader.h"
#include "document/LoadTileSet.h"
#include "document/TileCodes.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

using namespace krav;

void Require(bool condition, const char* what) {
    if (!condition)
        fuzz::Fail("tmx_fuzzer", what);
}

const QDir& PictureFolder() {
    static QTemporaryDir folder;
    static const bool written = [] {
        const QImage picture = TileSetToImage(*LoadBuiltInTileSet());
        return folder.isValid() && picture.save(folder.filePath(QStringLiteral("map-tiles.png")));
    }();
    static const QDir dir(folder.path());
    Require(written, "cannot write the tile set picture");
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TmxImportResult imported = ImportTmx(bytes, PictureFolder());
    Require(imported.error.empty() != imported.level.empty(),
            "an import gives a level and an error, or neither");
    if (imported.error.empty())
        return 0; // the importer itself opens the level it made
    // Read again only when refused: a whole map costs tens of milliseconds.
    const TmxReadResult read = ReadTmx(bytes);
    if (read.error.empty() && read.map.hasTileLayer)
        Require(read.map.tiles.size() == static_cast<std::size_t>(MAP_CELLS),
                "a tile layer read without one gid per cell");
    if (!read.error.empty())
        Require(imported.error == read.error, "refused for another reason than the reader's");
    return 0;
}
