// Tile set bitmaps: addressing, the built-in set, and what the loader accepts.
#include "document/ByteSource.h"
#include "document/LoadTileSet.h"
#include "support/LevelBytes.h"

#include <gtest/gtest.h>

namespace krav {
namespace {

TEST(TileSet, TileCodesAddressTheGridRowByRow) {
    struct Case {
        int code, x, y;
    };
    for (const Case c :
         {Case{1, 0, 0}, {19, 288, 0}, {20, 0, 16}, {170, 272, 128}, {190, 288, 144}}) {
        const TileRect rect = TileRectOf(c.code - 1);
        EXPECT_EQ(rect.x, c.x) << c.code;
        EXPECT_EQ(rect.y, c.y) << c.code;
        EXPECT_EQ(rect.width, 16);
        EXPECT_EQ(rect.height, 16);
    }
}

TEST(TileSet, BuiltInSetIsHeldTopDownWithMadeUpHeaders) {
    const auto tileSet = LoadBuiltInTileSet();
    EXPECT_TRUE(tileSet->topDown);
    EXPECT_EQ(tileSet->FileSize(), 49718u);
    EXPECT_EQ(tileSet->PixelOffset(), 1078u);
    EXPECT_EQ(static_cast<std::int32_t>(tileSet->infoHeader[8] | tileSet->infoHeader[9] << 8 |
                                        tileSet->infoHeader[10] << 16 |
                                        tileSet->infoHeader[11] << 24),
              -160);
    EXPECT_EQ(tileSet->PixelAt(5, 0), tileSet->pixels[5]);
    EXPECT_EQ(tileSet->ColourRgb(0), 0u) << "unpainted pixels are black";
}

TEST(TileSet, FewerUsedColoursStillReadsTheWholeColourTable) {
    test::Bytes bmp = test::MakeBmp();
    bmp[46] = 16; // colours used
    const auto tileSet = LoadTileSet(MemorySource(bmp));
    EXPECT_TRUE(
        std::equal(tileSet->colourTable.begin(), tileSet->colourTable.end(), bmp.begin() + 54));
    EXPECT_FALSE(tileSet->topDown);
}

// The generator writes the same picture twice: as a BMP that people and other tools can open
// and as bytes for the core. They must not drift apart.
TEST(TileSet, BuiltInSetMatchesTheGeneratedBitmap) {
    const test::Bytes bmp = test::ScratchFolder::Read(KRAV_ART_DIR "/tileset.bmp");
    const auto fromFile = LoadTileSet(MemorySource(bmp));
    const auto builtIn = LoadBuiltInTileSet();
    EXPECT_EQ(fromFile->colourTable, builtIn->colourTable);
    for (int y = 0; y < TILESET_HEIGHT; ++y)
        for (int x = 0; x < TILESET_WIDTH; ++x)
            ASSERT_EQ(fromFile->PixelAt(x, y), builtIn->PixelAt(x, y)) << x << "," << y;
}

} // namespace
} // namespace krav
