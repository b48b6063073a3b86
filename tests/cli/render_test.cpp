// krav-lvl render: pictures of a level as the map view draws it, written as PNG.
#include "document/CKRAVDoc.h"
#include "render/BuiltinObjectPictures.h"
#include "render/MapRenderer.h"
#include "support/FakePrompt.h"
#include "support/LevelBytes.h"

#include <QImage>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace krav {
namespace {

using test::AppendRecord;
using test::Bytes;

struct Zoom {
    const char* text;
    double factor;
    int cell;
};
constexpr Zoom ZOOMS[] = {{"1:16", 0.0625, 1}, {"1:8", 0.125, 2}, {"1:4", 0.25, 4},
                          {"1:2", 0.5, 8},     {"1:1", 1.0, 16},  {"2:1", 2.0, 32}};

struct LvlRun {
    int exitCode;
    std::string err;
};

class RenderCli : public ::testing::Test {
protected:
    LvlRun Lvl(const std::string& arguments) {
        const std::string errPath = folder.Path("stderr.txt");
        const std::string command =
            std::string(KRAV_LVL) + " " + arguments + " >/dev/null 2>" + errPath;
        const int status = std::system(command.c_str());
        std::ifstream err(errPath);
        std::stringstream errText;
        errText << err.rdbuf();
        return {WEXITSTATUS(status), errText.str()};
    }

    // A level with its own tile set: tiles, a flag, the four objects (one of them reaching
    // into the areas below from above and left) and, at the map's corner, a tile.
    std::string MakeLevel() {
        Bytes bytes = test::MakeBmp();
        AppendRecord(bytes, 1, 12, 22);
        AppendRecord(bytes, 40, 13, 22);
        AppendRecord(bytes, 190, 30, 40);
        AppendRecord(bytes, 170, 14, 23); // flag
        AppendRecord(bytes, 219, 7, 18);  // 6 x 6, anchor above-left of the areas
        AppendRecord(bytes, 220, 20, 30); // 5 x 5
        AppendRecord(bytes, 217, 40, 25); // 2 x 2
        AppendRecord(bytes, 216, 16, 24); // 1 x 1
        AppendRecord(bytes, 100, 1023, 1023);
        return folder.Write("level.lvl", bytes);
    }

    test::ScratchFolder folder;
};

QImage ReadPng(const std::string& path) {
    return QImage(QString::fromStdString(path), "PNG").convertToFormat(QImage::Format_RGB32);
}

// A checksum of pixels 0xFFRRGGBB, row after row.
std::uint64_t Checksum(const std::uint32_t* pixels, std::size_t count, std::uint64_t sum = 0) {
    for (std::size_t i = 0; i < count; ++i)
        sum = (sum ^ pixels[i]) * 0x100000001B3ull;
    return sum;
}

std::uint64_t Checksum(const QImage& image) {
    std::uint64_t sum = 0;
    for (int y = 0; y < image.height(); ++y)
        sum = Checksum(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)),
                       static_cast<std::size_t>(image.width()), sum);
    return sum;
}

TEST_F(RenderCli, PictureIsTheAreaAtTheCellSize) {
    const std::string level = MakeLevel();
    const std::string out = folder.Path("out.png");
    for (const Zoom& zoom : ZOOMS) {
        SCOPED_TRACE(zoom.text);
        const LvlRun run =
            Lvl("render " + level + " " + out + " --zoom " + zoom.text + " --area 10,20,50,45");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const QImage image = ReadPng(out);
        EXPECT_EQ(image.width(), 40 * zoom.cell);
        EXPECT_EQ(image.height(), 25 * zoom.cell);
    }
    // By default the whole map at 1:16.
    ASSERT_EQ(Lvl("render " + level + " " + out).exitCode, 0);
    EXPECT_EQ(ReadPng(out).size(), QSize(1024, 1024));
}

TEST_F(RenderCli, AFailedWriteLeavesNoFile) {
    const std::string level = MakeLevel();
    const std::string out = folder.Path("missing/out.png");
    const LvlRun run = Lvl("render " + level + " " + out);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "krav-lvl: " + out + ": cannot be written (No such file or directory)\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("missing")));
}

TEST_F(RenderCli, BadArgumentsAreUsageErrors) {
    const std::string level = MakeLevel();
    const std::string out = folder.Path("out.png");
    const std::string files = level + " " + out;
    const std::string cases[] = {
        "",
        level,
        files + " extra",
        files + " --zoom",
        files + " --zoom 1:3",
        files + " --zoom 4:1",
        files + " --area",
        files + " --area 0,0,10",
        files + " --area 0,0,10,10,10",
        files + " --area 10,0,10,5",
        files + " --area 0,6,5,5",
        files + " --area 0,0,1025,5",
        files + " --area -1,0,5,5",
        files + " --area 0,0,5,5x",
        files + " --area 0,,5,5",
        files + " --colour",
    };
    for (const std::string& arguments : cases) {
        const LvlRun run = Lvl("render " + arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_NE(run.err.find("usage: krav-lvl render"), std::string::npos) << arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(RenderCli, UnreadableLevelFailsInTheReadersWords) {
    Bytes bytes;
    AppendRecord(bytes, 0, 0, 0);
    const std::string level = folder.Write("bad.lvl", bytes);
    const LvlRun run = Lvl("render " + level + " " + folder.Path("out.png"));
    EXPECT_EQ(run.exitCode, 1);
    // The reader's words, then where the bad record is.
    EXPECT_EQ(run.err.rfind("krav-lvl: " + level +
                                ": The map tile data is corrupt:\nTile ID out of Range!\n\n" +
                                level + ": 1 record has",
                            0),
              0u)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.png")));
}

struct Case {
    Zoom zoom;
    Rect area;
    bool grid;
};

std::string Arguments(const Case& c) {
    const Rect& a = c.area;
    return std::string(" --zoom ") + c.zoom.text + " --area " + std::to_string(a.left) + "," +
           std::to_string(a.top) + "," + std::to_string(a.right) + "," + std::to_string(a.bottom) +
           (c.grid ? " --grid" : "");
}

// What the map view's renderer draws in one go for a client area the size of the area,
// scrolled to the area's corner, as krav-lvl render drew it before it drew bands.
std::vector<std::uint32_t> ViewPixels(const std::string& level, const Case& c) {
    CKRAVDoc doc;
    test::FakePrompt prompt;
    EXPECT_TRUE(doc.OnOpenDocument(level, prompt));
    RadarPicture radar;
    radar.Build(doc.GetCells());
    const bool grid = c.grid && c.zoom.factor > LOW_ZOOM_LIMIT;
    const ViewGeometry view =
        ViewGeometry::OfArea(c.area.Width() * c.zoom.cell, c.area.Height() * c.zoom.cell,
                             c.zoom.factor, c.zoom.cell, c.area, grid);
    const Rect client = view.ClientRect();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(client.Width()) * client.Height());
    MapRenderer renderer;
    renderer.Render({doc.GetCells(), doc.GetTileSet(), &radar, &BuiltinObjectPictures()}, view,
                    client, pixels.data(), client.Width());
    return pixels;
}

TEST_F(RenderCli, PixelsAreTheViewRenderersPixels) {
    const std::string level = MakeLevel();
    std::vector<Case> cases = {{ZOOMS[0], {0, 0, 1024, 1024}, false},
                               {ZOOMS[4], {1000, 1010, 1024, 1024}, true},
                               {ZOOMS[5], {11, 21, 43, 41}, false}};
    for (const Zoom& zoom : ZOOMS)
        for (const bool grid : {false, true})
            cases.push_back({zoom, {5, 15, 45, 50}, grid});
    const std::string out = folder.Path("out.png");
    for (const Case& c : cases) {
        SCOPED_TRACE(Arguments(c));
        const LvlRun run = Lvl("render " + level + " " + out + Arguments(c));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const QImage image = ReadPng(out);
        ASSERT_EQ(image.size(), QSize(c.area.Width() * c.zoom.cell, c.area.Height() * c.zoom.cell));

        const std::vector<std::uint32_t> expected = ViewPixels(level, c);
        int differing = 0;
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                differing += row[x] != expected[static_cast<std::size_t>(y) * image.width() + x];
        }
        EXPECT_EQ(differing, 0);
    }
}

// Large pictures of a dense level (every cell a tile, objects every few cells), drawn in many
// bands, including one wider than the 16384 pixels a side the whole-picture renderer allowed.
TEST_F(RenderCli, LargePicturesHaveTheViewRenderersChecksum) {
    Bytes bytes;
    for (int y = 0; y < MAP_SIZE; ++y)
        for (int x = 0; x < MAP_SIZE; ++x) {
            const bool object = x % 11 < 2 && y % 9 < 2 && x < 1023 && y < 1023;
            const int tile = (y * MAP_SIZE + x) * 7 % (TILE_COUNT - 1);
            if (!object)
                AppendRecord(bytes, tile + 1 == FLAG_TILE ? tile + 2 : tile + 1, x, y); // no flags
            else if (x % 11 == 0 && y % 9 == 0)
                AppendRecord(bytes, CODE_OBJECT_2X2, x, y);
        }
    const std::string level = folder.Write("dense.lvl", bytes);
    const Case cases[] = {{ZOOMS[2], {0, 0, 1024, 1024}, false},
                          {ZOOMS[3], {0, 0, 512, 512}, true},
                          {ZOOMS[5], {0, 500, 1024, 503}, true}};
    const std::string out = folder.Path("out.png");
    for (const Case& c : cases) {
        SCOPED_TRACE(Arguments(c));
        const LvlRun run = Lvl("render " + level + " " + out + Arguments(c));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const QImage image = ReadPng(out);
        ASSERT_EQ(image.size(), QSize(c.area.Width() * c.zoom.cell, c.area.Height() * c.zoom.cell));
        const std::vector<std::uint32_t> expected = ViewPixels(level, c);
        EXPECT_EQ(Checksum(image), Checksum(expected.data(), expected.size()));
    }
}

} // namespace
} // namespace krav
