// Pictures taken as tile sets come from anywhere: a few bytes of header may claim a picture of
// gigabytes. A picture whose header gives another size than a tile set's is refused with that
// size and never decoded, wherever it comes from (Import Tileset, a Tiled map's tile set).
#include "LvlRunner.h"
#include "TileSetPicture.h"
#include "TileSetPictureFile.h"
#include "TmxImport.h"
#include "document/LoadTileSet.h"
#include "support/TinyGif.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <gtest/gtest.h>
#include <zlib.h>

namespace krav {
namespace {

void PutBigEndian(QByteArray& bytes, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(static_cast<char>(v >> shift));
}

void PutChunk(QByteArray& png, const char* type, const QByteArray& data) {
    PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const QByteArray typed = QByteArray(type) + data;
    png += typed;
    PutBigEndian(png, static_cast<std::uint32_t>(crc32(
                          0, reinterpret_cast<const Bytef*>(typed.constData()), typed.size())));
}

// A PNG of 8-bit grey whose pixels are all one row of zeros, as far as they go.
QByteArray PngClaiming(std::uint32_t width, std::uint32_t height) {
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header.append("\x08\x00\x00\x00\x00", 5); // 8 bits, grey, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", QByteArray("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9));
    PutChunk(png, "IEND", {});
    return png;
}

// A BMP header of an 8-bit picture, and no pixels.
QByteArray BmpClaiming(std::int32_t width, std::int32_t height) {
    QByteArray bmp(54 + 1024, '\0');
    const auto put = [&bmp](int at, std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i)
            bmp[at + i] = static_cast<char>(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, static_cast<std::uint32_t>(bmp.size()), 4);
    put(10, 54 + 1024, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 8, 2);
    return bmp;
}

std::optional<PictureTileSet> Read(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadTileSetPictureFrom(buffer);
}

TEST(PictureSize, AHugeSizeInTheHeaderIsRefusedWithThatSize) {
    const struct {
        const char* name;
        QByteArray bytes;
        const char* note; // null: whichever note Qt's reading of the header leads to
    } cases[] = {
        {"a PNG of 30000 x 30000", PngClaiming(30000, 30000),
         "is 30000 x 30000; a tile set is 304 x 160"},
        {"a PNG of 12000 x 12000", PngClaiming(12000, 12000),
         "is 12000 x 12000; a tile set is 304 x 160"},
        {"a PNG of 2^31-1 x 1", PngClaiming(0x7FFFFFFF, 1), nullptr},
        {"a GIF of 65535 x 65535", test::GifClaiming(65535, 65535), nullptr},
        {"a BMP of 20000 x 20000", BmpClaiming(20000, 20000), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto picture = Read(c.bytes);
        ASSERT_TRUE(picture.has_value()) << "not taken for a picture";
        EXPECT_EQ(picture->tileSet, nullptr);
        if (c.note)
            EXPECT_EQ(picture->note, c.note);
        else
            EXPECT_NE(picture->note, "");
    }
}

TEST(PictureSize, ATileSetsSizeStillReads) {
    QImage image(TILESET_WIDTH, TILESET_HEIGHT, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    for (const char* format : {"PNG", "BMP"}) {
        SCOPED_TRACE(format);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&buffer, format));
        const auto picture = Read(bytes);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->note, "");
        ASSERT_NE(picture->tileSet, nullptr);
        EXPECT_EQ(picture->tileSet->ColourRgb(picture->tileSet->PixelAt(100, 100)), 0x010203u);
    }
    const auto claimed = Read(test::GifClaiming(TILESET_WIDTH, TILESET_HEIGHT));
    ASSERT_TRUE(claimed.has_value());
    EXPECT_EQ(claimed->note, "");
    EXPECT_NE(claimed->tileSet, nullptr);
}

// A Tiled map's tile set picture is read the same way: the level is made, with the built-in
// tile set and a note that names the picture's claimed size.
TEST(PictureSize, ATiledMapsHugePictureGivesTheBuiltInTileSet) {
    test::ScratchFolder folder;
    const QByteArray huge = PngClaiming(30000, 30000);
    test::WriteText(folder.Path("huge.png"), huge.toStdString());
    QByteArray layer(MAP_CELLS * 4, '\0');
    layer[0] = 5;
    uLongf packedSize = compressBound(static_cast<uLong>(layer.size()));
    QByteArray packed(static_cast<qsizetype>(packedSize), '\0');
    ASSERT_EQ(compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                       reinterpret_cast<const Bytef*>(layer.constData()),
                       static_cast<uLong>(layer.size())),
              Z_OK);
    packed.resize(static_cast<qsizetype>(packedSize));
    const QByteArray map =
        "<map orientation=\"orthogonal\" width=\"1024\" height=\"1024\" tilewidth=\"16\" "
        "tileheight=\"16\"><tileset firstgid=\"1\" name=\"tiles\"><image source=\"huge.png\"/>"
        "</tileset><layer name=\"tiles\"><data encoding=\"base64\" compression=\"zlib\">" +
        packed.toBase64() + "</data></layer></map>";
    const TmxImportResult imported = ImportTmx(map, QDir(QString::fromStdString(folder.Path(""))));
    EXPECT_EQ(imported.error, "");
    EXPECT_FALSE(imported.level.empty());
    ASSERT_EQ(imported.notes.size(), 1u);
    EXPECT_EQ(imported.notes[0], "huge.png is 30000 x 30000; a tile set is 304 x 160; the level "
                                 "gets the built-in tile set");
}

} // namespace
} // namespace krav
