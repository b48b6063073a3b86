// The exported maps in Tiled itself, when it is installed: its renderer shows what krav-lvl
// render shows, and a map Tiled edited and saved comes back with Tiled's edits.
#include "LvlRunner.h"
#include "document/TileCodes.h"

#include <QImage>
#include <QImageReader>
#include <filesystem>
#include <gtest/gtest.h>

namespace krav {
namespace {

using test::Bytes;

// Tiles of several kinds, a flag, the four objects and, unless the level is to come back from
// Tiled, what only a level file holds: an object cut by the map's edge, and one whose footprint
// holds tiles.
Bytes SampleLevel(bool fileOnlyObjects = true) {
    std::vector<std::uint32_t> cells(MAP_CELLS, EMPTY_CELL);
    const auto put = [&cells](int col, int row, Cell v) { cells[row * MAP_SIZE + col] = v; };
    for (int col = 0; col < 40; ++col)
        put(col, 1, static_cast<Cell>(col * 5 % TILE_COUNT));
    put(2, 3, FLAG_CELL);
    put(4, 4, OBJECT_6X6);
    put(12, 4, OBJECT_5X5);
    put(20, 4, OBJECT_2X2);
    put(24, 4, OBJECT_1X1);
    put(30, 2, OBJECT_5X5);
    if (fileOnlyObjects) {
        put(31, 3, 11); // inside the object's footprint
        put(1020, 1021, OBJECT_6X6);
    }
    put(1023, 1023, 100);
    return test::LevelOf(cells);
}

QImage ReadBig(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    reader.setAllocationLimit(0); // Tiled renders the whole map: 16384 x 16384 pixels
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

TEST(TmxInTiled, TmxRasterizerShowsWhatRenderShows) {
    if (!test::ProgramInstalled("tmxrasterizer"))
        GTEST_SKIP() << "tmxrasterizer is not installed (Debian package tiled)";
    test::ScratchFolder folder;
    const std::string level = folder.Write("level.lvl", SampleLevel());
    const std::string tmx = folder.Path("map.tmx");
    ASSERT_EQ(test::Lvl("export-tmx " + level + " " + tmx, folder).exitCode, 0);
    const std::string tiled = folder.Path("tiled.png");
    const test::Run raster = test::RunCommand(
        "QT_QPA_PLATFORM=offscreen tmxrasterizer --no-smoothing " + tmx + " " + tiled, folder);
    ASSERT_EQ(raster.exitCode, 0) << raster.err;
    const QImage tiledPicture = ReadBig(tiled);
    ASSERT_EQ(tiledPicture.size(), QSize(16384, 16384));

    struct Area {
        int left, top, right, bottom; // in cells, right and bottom exclusive
    };
    for (const Area area : {Area{0, 0, 48, 12}, Area{1010, 1010, 1024, 1024}}) {
        SCOPED_TRACE(area.left);
        const std::string ours = folder.Path("ours.png");
        const test::Run render =
            test::Lvl("render " + level + " " + ours + " --zoom 1:1 --area " +
                          std::to_string(area.left) + "," + std::to_string(area.top) + "," +
                          std::to_string(area.right) + "," + std::to_string(area.bottom),
                      folder);
        ASSERT_EQ(render.exitCode, 0) << render.err;
        const QImage expected =
            QImage(QString::fromStdString(ours)).convertToFormat(QImage::Format_RGB32);
        const QImage got =
            tiledPicture.copy(area.left * 16, area.top * 16, (area.right - area.left) * 16,
                              (area.bottom - area.top) * 16);
        ASSERT_EQ(got.size(), expected.size());
        int differing = 0;
        for (int y = 0; y < got.height(); ++y)
            for (int x = 0; x < got.width(); ++x)
                differing += got.pixel(x, y) != expected.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}

// A Tiled extension with a map format whose reader loads a TMX with Tiled's own reader and
// edits it through Tiled's scripting API, as a designer would with the mouse; Tiled's
// --export-map then saves it with its own TMX writer.
const char* const EDIT_SCRIPT = R"(
tiled.registerMapFormat("kravedit", {
    name: "KRAV test edits",
    extension: "kedit",
    read: function(fileName) {
        var map = tiled.mapFormat("tmx").read(fileName);
        var tiles = map.layerAt(0).edit();
        tiles.setTile(3, 1, null);
        tiles.setTile(7, 9, map.tilesets[0].tile(169));
        tiles.setTile(8, 9, map.tilesets[0].tile(169));
        tiles.setTile(7, 10, map.tilesets[0].tile(169));
        tiles.setTile(8, 10, map.tilesets[0].tile(169));
        tiles.apply();
        var group = map.layerAt(1);
        group.objectAt(0).x += 32;
        group.removeObject(group.objectAt(1));
        var added = new MapObject();
        added.tile = map.tilesets[1].tile(2);
        added.x = 50 * 16;
        added.y = 60 * 16;
        group.addObject(added);
        return map;
    }
});
)";

class TmxInTiledEditor : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::ProgramInstalled("tiled"))
            GTEST_SKIP() << "Tiled is not installed (Debian package tiled)";
        std::filesystem::create_directories(folder.Path("home/.config/tiled/extensions"));
        test::WriteText(folder.Path("home/.config/tiled/extensions/edit.js"), EDIT_SCRIPT);
    }

    // Tiled reads `in` (by its extension's format) and saves it as TMX to `out`.
    test::Run TiledSaves(const std::string& in, const std::string& out) {
        return test::RunCommand(
            "HOME=" + folder.Path("home") + " XDG_CONFIG_HOME=" + folder.Path("home/.config") +
                " QT_QPA_PLATFORM=offscreen tiled --export-map tmx " + in + " " + out,
            folder);
    }

    test::ScratchFolder folder;
};

TEST_F(TmxInTiledEditor, AMapTiledSavedComesBackWithTiledsEdits) {
    const std::string level = folder.Write("level.lvl", SampleLevel(false));
    ASSERT_EQ(test::Lvl("export-tmx " + level + " " + folder.Path("map.tmx"), folder).exitCode, 0);
    std::filesystem::copy_file(folder.Path("map.tmx"), folder.Path("map.kedit"));
    const test::Run saved = TiledSaves(folder.Path("map.kedit"), folder.Path("edited.tmx"));
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    ASSERT_NE(test::ReadText(folder.Path("edited.tmx")).find("tiledversion="), std::string::npos);

    const std::string back = folder.Path("back.lvl");
    const test::Run imported =
        test::Lvl("import-tmx " + folder.Path("edited.tmx") + " " + back, folder);
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    const test::Run diff = test::Lvl("diff " + level + " " + back, folder);
    EXPECT_EQ(diff.exitCode, 1);
    // The first object (by anchor, row by row) moved two cells right, the second removed.
    EXPECT_EQ(diff.out, "3,1: 16 -> empty\n"
                        "30,2: 600 -> empty\n"
                        "32,2: empty -> 600\n"
                        "4,4: 500 -> empty\n"
                        "7,9..8,10: empty -> 170\n"
                        "50,60: empty -> 700\n");
}

TEST_F(TmxInTiledEditor, AMapTiledSavedUnchangedGivesTheSameLevel) {
    Bytes withOwnTileSet = test::MakeBmp({.extraBytes = 12});
    test::AppendRecord(withOwnTileSet, 9, 2, 2);
    test::AppendRecord(withOwnTileSet, 219, 3, 3);
    const std::string given = folder.Write("given.lvl", withOwnTileSet);
    const std::string level = folder.Path("level.lvl");
    ASSERT_EQ(test::Lvl("resave " + given + " " + level, folder).exitCode, 0);
    ASSERT_EQ(test::Lvl("export-tmx " + level + " " + folder.Path("map.tmx"), folder).exitCode, 0);
    const test::Run saved = TiledSaves(folder.Path("map.tmx"), folder.Path("saved.tmx"));
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const std::string back = folder.Path("back.lvl");
    ASSERT_EQ(test::Lvl("import-tmx " + folder.Path("saved.tmx") + " " + back, folder).exitCode, 0);
    EXPECT_TRUE(test::ScratchFolder::Read(back) == test::ScratchFolder::Read(level));
}

} // namespace
} // namespace krav
