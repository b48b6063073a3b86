// Importing a dense Tiled map (a tile in nearly every cell, some ten thousand objects) as the
// exporter writes it, with its tile set picture beside it, against inflating the same layer
// from zlib data: the least a map saved by Tiled costs to read. Reading the XML (the objects'
// elements, a CSV layer's text) takes most of an import; a name made for every tile once made
// the zlib map 39 times the baseline.
#include "DenseMap.h"
#include "Ratio.h"
#include "TmxExport.h"
#include "TmxImport.h"
#include "document/CKRAVDoc.h"
#include "document/LoadTileSet.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>
#include <zlib.h>

namespace krav {
namespace {

// The map's layer as the zlib data Tiled saves by default: little-endian gids.
std::vector<unsigned char> PackedLayer(const std::vector<Cell>& cells) {
    std::vector<unsigned char> gids(static_cast<std::size_t>(MAP_CELLS) * 4);
    for (int i = 0; i < MAP_CELLS; ++i) {
        const std::uint32_t gid = cells[i] < static_cast<Cell>(TILE_COUNT) ? cells[i] + 1 : 0;
        for (int b = 0; b < 4; ++b)
            gids[static_cast<std::size_t>(i) * 4 + b] = static_cast<unsigned char>(gid >> (8 * b));
    }
    uLongf size = compressBound(static_cast<uLong>(gids.size()));
    std::vector<unsigned char> packed(size);
    compress(packed.data(), &size, gids.data(), static_cast<uLong>(gids.size()));
    packed.resize(size);
    return packed;
}

void ImportDenseMap(benchmark::State& state, bool zlibLayer) {
    QTemporaryDir folder;
    CKRAVDoc doc;
    doc.SetTileSet(TILESET_BUILTIN, LoadBuiltInTileSet());
    std::vector<Cell> cells = bench::DenseMap();
    std::replace(cells.begin(), cells.end(), FLAG_CELL, Cell{0}); // a level holds 256 at most
    std::copy(cells.begin(), cells.end(), doc.GetCells());
    const QString path = folder.filePath(QStringLiteral("map.tmx"));
    if (!folder.isValid() || !ExportTmx(doc, path).empty()) {
        state.SkipWithError("cannot export the map");
        return;
    }
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray map = file.readAll();
    const std::vector<unsigned char> packed = PackedLayer(cells);
    if (zlibLayer) {
        const qsizetype start = map.indexOf("<data");
        const qsizetype end = map.indexOf("</data>") + 7;
        const QByteArray data = "<data encoding=\"base64\" compression=\"zlib\">" +
                                QByteArray(reinterpret_cast<const char*>(packed.data()),
                                           static_cast<qsizetype>(packed.size()))
                                    .toBase64() +
                                "</data>";
        map.replace(start, end - start, data);
    }
    const QDir dir(folder.path());
    const TmxImportResult check = ImportTmx(map, dir);
    if (!check.error.empty() || !check.notes.empty()) {
        state.SkipWithError(("the map is refused: " + check.error).c_str());
        return;
    }
    std::vector<unsigned char> inflated(static_cast<std::size_t>(MAP_CELLS) * 4);
    bench::RunWithBaseline(
        state, [&] { benchmark::DoNotOptimize(ImportTmx(map, dir)); },
        [&] {
            uLongf size = static_cast<uLongf>(inflated.size());
            uncompress(inflated.data(), &size, packed.data(), static_cast<uLong>(packed.size()));
            benchmark::DoNotOptimize(inflated.data());
        },
        {zlibLayer ? 32.0 : 90.0});
}

void BM_import_dense_tmx_zlib(benchmark::State& state) {
    ImportDenseMap(state, true);
}
BENCHMARK(BM_import_dense_tmx_zlib)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_import_dense_tmx_csv(benchmark::State& state) {
    ImportDenseMap(state, false);
}
BENCHMARK(BM_import_dense_tmx_csv)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace krav
