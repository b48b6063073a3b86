// A tile layer's zlib and gzip data: exactly the layer's cells, or the reason there are not.
// Output grows with the data, so the edges of that growth are tried too.
#include "TmxLayerData.h"
#include "support/Deflate.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <zlib.h>

namespace krav {
namespace {

// Gids 1, 2, 3 ... as the layer's little-endian bytes.
QByteArray Gids(std::size_t cells) {
    QByteArray bytes;
    for (std::uint32_t gid = 1; gid <= cells; ++gid)
        for (int i = 0; i < 4; ++i)
            bytes.append(static_cast<char>(gid >> (8 * i)));
    return bytes;
}

TEST(TmxLayerData, CompressedDataGivesExactlyTheLayersCells) {
    constexpr std::size_t big = 70000; // 280,000 bytes: more than one step of output
    const struct {
        const char* name;
        QByteArray raw;    // what is compressed
        std::size_t cells; // what the layer has
        int cut;           // bytes cut off the compressed data's end
        QByteArray after;  // bytes after the compressed data
        std::string error; // empty: the gids are read
    } cases[] = {
        {"a few cells", Gids(3), 3, 0, {}, ""},
        {"more cells than one step of output", Gids(big), big, 0, {}, ""},
        {"exactly one step of output", Gids(16384), 16384, 0, {}, ""},
        {"a cell short",
         Gids(big - 1),
         big,
         0,
         {},
         "its data holds 69999 cells; a level has 70000"},
        {"a byte short", Gids(3).left(11), 3, 0, {}, "its data holds 2 cells; a level has 3"},
        {"a byte too many", Gids(3) + "x", 3, 0, {}, "damaged"},
        {"a cell too many", Gids(big + 1), big, 0, {}, "damaged"},
        {"twice the cells", Gids(2 * big), big, 0, {}, "damaged"},
        {"cut short", Gids(big), big, 20, {}, "damaged"},
        {"cut to its header", Gids(big), big, -2, {}, "damaged"},
        {"bytes after the data", Gids(3), 3, 0, "trailing", ""},
        {"nothing compressed", {}, 3, 0, {}, "its data holds 0 cells; a level has 3"},
    };
    for (const char* compression : {"zlib", "gzip"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(compression) + ": " + c.name);
            QByteArray packed = test::Deflated(c.raw, compression[0] == 'z' ? 15 : 15 + 16);
            if (c.cut > 0)
                packed.chop(c.cut);
            else if (c.cut < 0)
                packed = packed.left(-c.cut);
            packed += c.after;
            const LayerGids layer =
                DecodeLayerData("base64", compression, packed.toBase64(), c.cells);
            if (c.error.empty()) {
                EXPECT_EQ(layer.error, "");
                ASSERT_EQ(layer.gids.size(), c.cells);
                for (std::size_t i = 0; i < c.cells; ++i)
                    ASSERT_EQ(layer.gids[i], i + 1) << "cell " << i;
            } else if (c.error == "damaged") {
                EXPECT_EQ(layer.error,
                          std::string("its ") + compression + " data is damaged or too long");
                EXPECT_TRUE(layer.gids.empty());
            } else {
                EXPECT_EQ(layer.error, c.error);
                EXPECT_TRUE(layer.gids.empty());
            }
        }
    }
}

} // namespace
} // namespace krav
