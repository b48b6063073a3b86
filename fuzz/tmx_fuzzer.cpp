// libFuzzer target: any bytes as a Tiled map to import. Importing gives either a level that opens
// or the reason there is none, never both and never neither; a map the reader refuses is refused
// for the reader's reason, and a tile layer read has exactly one gid per cell.
//
// The map's tile set picture is looked for in a folder of this process's own that holds one
// picture, map-tiles.png (the built-in tile set), so that the seeds' maps reach the picture and
// the tile set the map's krav-bmp property describes.
#include "FuzzCheck.h"
#include "TileSetPicture.h"
#include "TmxImport.h"
#include "TmxReader.h"
#include "document/ByteSource.h"
#include "document/LevelReader.h"
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

// Whether a level opens. The map it is read into lives from one input to the next: a new one
// would cost a page fault for each of its 4 MiB's pages.
bool Opens(const std::vector<std::uint8_t>& level) {
    static std::vector<Cell> cells(MAP_CELLS);
    try {
        ReadLevel(MemorySource(level), cells.data());
        return true;
    } catch (const ReadError&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The map is read once: a whole layer costs tens of milliseconds here.
    TmxReadResult read = ReadTmx(bytes);
    if (read.error.empty() && read.map.hasTileLayer)
        Require(read.map.tiles.size() == static_cast<std::size_t>(MAP_CELLS),
                "a tile layer read without one gid per cell");
    const std::string readError = read.error;
    const TmxImportResult imported = ImportTmx(std::move(read), PictureFolder());
    Require(imported.error.empty() != imported.level.empty(),
            "an import gives a level and an error, or neither");
    if (!readError.empty())
        Require(imported.error == readError, "refused for another reason than the reader's");
    if (imported.error.empty())
        Require(Opens(imported.level), "a level that does not open");
    return 0;
}
