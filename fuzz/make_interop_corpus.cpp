// Writes the seed corpus of the Tiled map and tile set picture targets into OUT/tmx and
// OUT/picture: maps shaped as the exporter writes them, with the tile layer in every encoding
// Tiled has (the zlib and gzip ones whole, so that an import gets as far as a level), and small
// pictures in every format Qt reads here, some of them tile sets.
//
// Usage: krav_fuzz_interop_corpus OUT
#include "../tests/support/Deflate.h"
#include "../tests/support/TinyGif.h"
#include "ObjectSheet.h"
#include "TileSetPicture.h"
#include "document/LoadTileSet.h"
#include "document/TileCodes.h"

#include <QBuffer>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <zlib.h>

namespace {

using namespace krav;

using Files = std::map<std::string, QByteArray>;

// The gids of a map with a few tiles: column 5 of row 2 and a row of a flag and tiles.
QByteArray LittleEndianGids() {
    QByteArray bytes(MAP_CELLS * 4, '\0');
    const auto put = [&bytes](int cell, std::uint32_t gid) {
        for (int i = 0; i < 4; ++i)
            bytes[cell * 4 + i] = static_cast<char>(gid >> (8 * i));
    };
    put(2 * MAP_SIZE + 5, 7);
    for (int col = 0; col < 20; ++col)
        put(9 * MAP_SIZE + col, col == 3 ? FLAG_TILE : 1 + col * 9);
    put(MAP_CELLS - 1, TILE_COUNT);
    return bytes;
}

QByteArray Base64Data(const char* compression, const QByteArray& bytes) {
    QByteArray data = "<data encoding=\"base64\"";
    if (*compression)
        data += QByteArray(" compression=\"") + compression + "\"";
    return data + ">\n   " + bytes.toBase64() + "\n  </data>";
}

// A map as the exporter writes it, with data as its tile layer's <data>; tileSetExtra goes
// into the tile set "tiles" and objects into the group "special objects".
QByteArray Map(const QByteArray& data, const QByteArray& tileSetExtra = {},
               const QByteArray& objects = {}, const QByteArray& mapAttributes = {}) {
    QByteArray map =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" "
        "width=\"1024\" height=\"1024\" tilewidth=\"16\" tileheight=\"16\" "
        "infinite=\"0\"" +
        mapAttributes +
        ">\n"
        " <tileset firstgid=\"1\" name=\"tiles\" tilewidth=\"16\" tileheight=\"16\" "
        "tilecount=\"190\" columns=\"19\">\n" +
        tileSetExtra +
        "  <image source=\"map-tiles.png\" width=\"304\" height=\"160\"/>\n"
        " </tileset>\n"
        " <tileset firstgid=\"191\" name=\"special objects\" tilewidth=\"96\" "
        "tileheight=\"96\" tilecount=\"4\" columns=\"4\" objectalignment=\"topleft\">\n"
        "  <image source=\"map-objects.png\" width=\"384\" height=\"96\"/>\n";
    for (int tile = 0; tile < 4; ++tile)
        map += "  <tile id=\"" + QByteArray::number(tile) +
               "\">\n   <properties>\n    <property name=\"kind\" type=\"int\" value=\"" +
               QByteArray::number(OBJECT_KINDS[tile]) + "\"/>\n   </properties>\n  </tile>\n";
    return map +
           " </tileset>\n <layer id=\"1\" name=\"tiles\" width=\"1024\" height=\"1024\">\n  " +
           data + "\n </layer>\n <objectgroup id=\"2\" name=\"special objects\">\n" + objects +
           " </objectgroup>\n</map>\n";
}

QByteArray Object(int id, int gid, int x, int y, const char* kind) {
    QByteArray object = "  <object id=\"" + QByteArray::number(id) + "\" gid=\"" +
                        QByteArray::number(gid) + "\" x=\"" + QByteArray::number(x) + "\" y=\"" +
                        QByteArray::number(y) + "\" width=\"96\" height=\"96\"";
    if (!*kind)
        return object + "/>\n";
    return object + ">\n   <properties>\n    <property name=\"kind\" type=\"int\" value=\"" + kind +
           "\"/>\n   </properties>\n  </object>\n";
}

Files TmxCorpus() {
    const QByteArray gids = LittleEndianGids();
    const QByteArray zlib = Base64Data("zlib", test::Deflated(gids, 15));
    const QByteArray gzip = Base64Data("gzip", test::Deflated(gids, 15 + 16));
    const QByteArray objects = Object(1, 191, 160, 160, "500") + Object(2, 192, 320, 160, "600") +
                               Object(3, 193, 480, 160, "") + Object(4, 194, 16368, 16368, "800");
    const QByteArray bmpParts = "  <properties>\n   <property name=\"krav-bmp\" value=\"" +
                                BmpPartsOf(*LoadBuiltInTileSet()).toBase64() +
                                "\"/>\n  </properties>\n";
    QByteArray xmlTiles = "<data>";
    for (int i = 0; i < 40; ++i)
        xmlTiles += i % 7 ? "<tile/>" : "<tile gid=\"" + QByteArray::number(i + 1) + "\"/>";
    xmlTiles += "</data>";
    return {
        {"zlib.tmx", Map(zlib)},
        {"gzip.tmx", Map(gzip)},
        {"zlib-objects.tmx", Map(zlib, {}, objects)},
        {"gzip-bmp-parts.tmx", Map(gzip, bmpParts, objects)},
        {"zlib-short.tmx", Map(Base64Data("zlib", test::Deflated(gids.left(4096), 15)))},
        {"gzip-damaged.tmx", Map(Base64Data("gzip", test::Deflated(gids, 15 + 16).left(200)))},
        {"zstd.tmx", Map(Base64Data("zstd", "KLUv/SAEIQAAAAAA"))},
        {"base64-short.tmx", Map(Base64Data("", gids.left(64)))},
        {"csv-short.tmx", Map("<data encoding=\"csv\">\n0,7,0,190,\n170,0\n</data>")},
        {"csv-bad.tmx", Map("<data encoding=\"csv\">1,,x,99999999999</data>")},
        {"xml-tiles.tmx", Map(xmlTiles)},
        {"infinite.tmx", Map(zlib, {}, {}, " infinite=\"1\"")},
        {"no-map.tmx", "<?xml version=\"1.0\"?>\n<tileset name=\"tiles\"/>\n"},
        {"broken.tmx", Map(zlib).left(900)},
    };
}

QByteArray Saved(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        std::fprintf(stderr, "cannot write a %s picture\n", format);
    return bytes;
}

Files PictureCorpus() {
    const QImage builtIn = TileSetToImage(*LoadBuiltInTileSet());
    // A tile set of another picture: four colours in bands.
    QImage bands(TILESET_WIDTH, TILESET_HEIGHT, QImage::Format_RGB32);
    for (int y = 0; y < TILESET_HEIGHT; ++y)
        for (int x = 0; x < TILESET_WIDTH; ++x)
            bands.setPixel(x, y, qRgb(x / 80 * 60, y / 40 * 60, 30));
    QImage small(5, 3, QImage::Format_ARGB32);
    small.fill(qRgba(10, 200, 30, 128));
    QImage tooManyColours(TILESET_WIDTH, TILESET_HEIGHT, QImage::Format_RGB32);
    for (int y = 0; y < TILESET_HEIGHT; ++y)
        for (int x = 0; x < TILESET_WIDTH; ++x)
            tooManyColours.setPixel(x, y, qRgb(x, y, (x * y) & 0xFF));
    return {
        {"built-in.png", Saved(builtIn, "PNG")},
        {"bands.png", Saved(bands.convertToFormat(QImage::Format_Indexed8), "PNG")},
        {"bands-rgb.png", Saved(bands, "PNG")},
        {"too-many-colours.png", Saved(tooManyColours, "PNG")},
        {"small.png", Saved(small, "PNG")},
        {"small.bmp", Saved(small, "BMP")},
        {"small.ppm", Saved(small, "PPM")},
        {"small.pgm", Saved(small, "PGM")},
        {"small.pbm", Saved(small, "PBM")},
        {"small.xbm", Saved(small, "XBM")},
        {"small.xpm", Saved(small, "XPM")},
        {"small.jpg", Saved(small, "JPEG")},
        {"small.ico", Saved(small, "ICO")},
        {"tile-set-size.gif", test::GifClaiming(TILESET_WIDTH, TILESET_HEIGHT)},
        {"small.gif", test::GifClaiming(1, 1)},
        {"bands.bmp", Saved(bands.convertToFormat(QImage::Format_Indexed8), "BMP")},
    };
}

bool WriteAll(const std::filesystem::path& folder, const Files& files) {
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : files) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.constData(), bytes.size());
        if (!out || bytes.isEmpty()) {
            std::fprintf(stderr, "cannot write %s\n", (folder / name).c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT\n", argv[0]);
        return 2;
    }
    const std::filesystem::path out = argv[1];
    if (!WriteAll(out / "tmx", TmxCorpus()) || !WriteAll(out / "picture", PictureCorpus()))
        return 1;
    std::printf("interop corpus written to %s\n", out.c_str());
    return 0;
}
