// libFuzzer target: any bytes as a picture to import as a tile set, in whatever format Qt tells
// from them. A picture that gives a tile set gives one the level loader takes, whose pixels show
// the picture's colours exactly; a picture that gives the built-in set shows exactly that set;
// any other picture gives a note saying why. Pictures whose header claims another size than a
// tile set's must not be decoded at all: scripts/fuzz.sh runs this target with a malloc limit
// that a decoded picture of a few thousand pixels square would pass.
#include "FuzzCheck.h"
#include "TileSetPicture.h"
#include "TileSetPictureFile.h"
#include "document/ByteSource.h"
#include "document/LevelWriter.h"
#include "document/LoadTileSet.h"
#include "document/ReadError.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <array>

namespace {

using namespace krav;

void Require(bool condition, const char* what) {
    if (!condition)
        fuzz::Fail("tileset_picture_fuzzer", what);
}

// A picture's bytes read as the importer reads them: the format told by the content.
struct PictureBytesReader {
    explicit PictureBytesReader(const QByteArray& bytes) {
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
        reader.setDecideFormatFromContent(true);
    }
    QBuffer buffer;
    QImageReader reader;
};

// The picture as the importer decoded it, decoded again.
QImage Decoded(const QByteArray& bytes) {
    PictureBytesReader picture(bytes);
    return picture.reader.read().convertToFormat(QImage::Format_RGB32);
}

// Whether the tile set's pixels show the picture's colours, pixel by pixel.
bool Shows(const TileSetBitmap& tileSet, const QImage& picture) {
    if (picture.width() != TILESET_WIDTH || picture.height() != TILESET_HEIGHT)
        return false;
    std::array<std::uint32_t, 256> colours;
    for (int i = 0; i < 256; ++i)
        colours[i] = tileSet.ColourRgb(i);
    for (int y = 0; y < TILESET_HEIGHT; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < TILESET_WIDTH; ++x)
            if ((line[x] & 0xFFFFFFu) != colours[tileSet.PixelAt(x, y)])
                return false;
    }
    return true;
}

const TileSetBitmap& BuiltInTileSet() {
    static const auto builtIn = LoadBuiltInTileSet();
    return *builtIn;
}

// Qt's decoders are not instrumented, so the fuzzer would see one path for all formats and keep
// one seed of them all. Counters of what Qt tells of the picture, which libFuzzer reads as
// coverage of their own, let it tell them apart.
__attribute__((used, section("__libfuzzer_extra_counters"))) std::uint8_t kinds[64];

void Branch(int kind) {
    kinds[kind] = 1;
}

void TellApart(const QByteArray& bytes) {
    PictureBytesReader picture(bytes);
    QImageReader& reader = picture.reader;
    static const char* const formats[] = {"png", "bmp", "gif", "jpeg", "ico", "cur",
                                          "pbm", "pgm", "ppm", "xbm",  "xpm"};
    const QByteArray format = reader.format();
    for (int i = 0; i < static_cast<int>(std::size(formats)); ++i)
        if (format == formats[i])
            Branch(i);
    // QImage::Format runs to about 35; some of Qt's handlers give an uninitialised one.
    Branch(16 + std::clamp<int>(reader.imageFormat(), 0, 40));
    const QSize size = reader.size();
    Branch(size == QSize(TILESET_WIDTH, TILESET_HEIGHT) ? 60 : size.isValid() ? 61 : 62);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TellApart(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<PictureTileSet> picture = ReadTileSetPictureFrom(buffer);
    if (!picture || !picture->note.empty()) {
        Require(!picture || !picture->tileSet, "a note and a tile set");
        return 0;
    }
    if (!picture->tileSet) {
        Require(Shows(BuiltInTileSet(), Decoded(bytes)),
                "the built-in tile set for a picture that does not show it");
        return 0;
    }
    const TileSetBitmap& made = *picture->tileSet;
    std::unique_ptr<TileSetBitmap> loaded;
    try {
        const std::vector<std::uint8_t> bmp = WriteTileSetBmp(made);
        loaded = LoadTileSet(MemorySource(bmp));
    } catch (const ReadError&) {
        Require(false, "a tile set the loader refuses");
    }
    Require(loaded->pixels == made.pixels && loaded->colourTable == made.colourTable,
            "a tile set that does not load as made");
    Require(Shows(made, Decoded(bytes)), "a tile set that does not show the picture");
    return 0;
}
