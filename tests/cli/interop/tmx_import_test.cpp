// import-tmx: the layer data forms Tiled writes, the maps it refuses, and the tile set it takes.
#include "LvlRunner.h"
#include "document/TileCodes.h"
#include "support/Deflate.h"

#include <QByteArray>
#include <QImage>
#include <filesystem>
#include <gtest/gtest.h>
#include <zlib.h>

namespace krav {
namespace {

using test::Bytes;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A map exported from a level with tile 7 at column 5, row 2 and a 6 x 6 object at 10, 10.
class TmxImport : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<std::uint32_t> cells(MAP_CELLS, EMPTY_CELL);
        cells[2 * MAP_SIZE + 5] = 6;
        cells[10 * MAP_SIZE + 10] = OBJECT_6X6;
        level = folder.Write("level.lvl", test::LevelOf(cells));
        ASSERT_EQ(test::Lvl("export-tmx " + level + " " + folder.Path("map.tmx"), folder).exitCode,
                  0);
        map = test::ReadText(folder.Path("map.tmx"));
    }

    // Imports text as a map beside the exported one (so its pictures are found).
    test::Run Import(const std::string& text) {
        tmx = folder.Path("edited.tmx");
        test::WriteText(tmx, text);
        std::filesystem::remove(out());
        return test::Lvl("import-tmx " + tmx + " " + out(), folder);
    }

    std::string out() const { return folder.Path("out.lvl"); }

    // The map with its tile layer's <data> element replaced.
    std::string WithData(const std::string& data) const {
        const auto start = map.find("<data");
        const auto end = map.find("</data>") + 7;
        return std::string(map).replace(start, end - start, data);
    }

    test::ScratchFolder folder;
    std::string level, map, tmx;
};

std::vector<std::uint32_t> Gids() {
    std::vector<std::uint32_t> gids(MAP_CELLS, 0);
    gids[2 * MAP_SIZE + 5] = 7;
    return gids;
}

QByteArray LittleEndianGids() {
    QByteArray bytes;
    for (const std::uint32_t gid : Gids())
        for (int i = 0; i < 4; ++i)
            bytes.append(static_cast<char>(gid >> (8 * i)));
    return bytes;
}

std::string Base64Data(const char* compression, const QByteArray& bytes) {
    return std::string("<data encoding=\"base64\"") +
           (*compression ? std::string(" compression=\"") + compression + "\"" : "") + ">\n   " +
           bytes.toBase64().toStdString() + "\n  </data>";
}

TEST_F(TmxImport, ReadsEveryLayerDataFormTiledWrites) {
    std::string xmlTiles = "<data>";
    for (const std::uint32_t gid : Gids())
        xmlTiles += gid ? "<tile gid=\"" + std::to_string(gid) + "\"/>" : "<tile/>";
    xmlTiles += "</data>";
    const std::vector<std::pair<const char*, std::string>> forms{
        {"csv", WithData("<data encoding=\"csv\">" +
                         [] {
                             std::string csv;
                             for (const std::uint32_t gid : Gids())
                                 csv += std::to_string(gid) + ",";
                             csv.pop_back();
                             return csv;
                         }() +
                         "</data>")},
        {"base64", WithData(Base64Data("", LittleEndianGids()))},
        {"base64 zlib", WithData(Base64Data("zlib", test::Deflated(LittleEndianGids(), 15)))},
        {"base64 gzip", WithData(Base64Data("gzip", test::Deflated(LittleEndianGids(), 15 + 16)))},
        {"xml tiles", WithData(xmlTiles)},
        {"a layer before \"tiles\"",
         Replaced(map, "<layer id=\"1\"",
                  "<layer id=\"3\" name=\"ground\" width=\"1024\" height=\"1024\">" +
                      Base64Data("zlib", test::Deflated(QByteArray(MAP_CELLS * 4, '\x09'), 15)) +
                      "</layer>\n <layer id=\"1\"")},
    };
    const Bytes expected = test::ScratchFolder::Read(level);
    for (const auto& [name, text] : forms) {
        SCOPED_TRACE(name);
        const test::Run run = Import(text);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(test::ScratchFolder::Read(out()) == expected);
    }
}

// An object without a picture, its kind as a property, its top-left corner at x, y.
std::string KindObject(int id, int x, int y, int kind) {
    return "<object id=\"" + std::to_string(id) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
           std::to_string(y) +
           "\">\n   <properties>\n    <property name=\"kind\" type=\"int\" value=\"" +
           std::to_string(kind) + "\"/>\n   </properties>\n  </object>\n ";
}

std::string SecondObject(int x, int y, int kind) {
    return KindObject(2, x, y, kind);
}

// CSV layer data with a flag in each of the first cells of the map.
std::string CsvWithFlags(int flags) {
    std::string csv = "<data encoding=\"csv\">";
    for (int i = 0; i < MAP_CELLS; ++i)
        csv += i < flags ? "170," : "0,";
    csv.back() = '<';
    return csv + "/data>";
}

TEST_F(TmxImport, RefusesWhatALevelCannotHoldNamingTheFirstFault) {
    const std::string tileAt5x2 = ",7,";
    const std::string object = "<object id=\"1\" gid=\"191\" x=\"160\" y=\"160\"";
    const std::string kind500 = "value=\"500\"/>\n   </properties>\n  </object>";
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "is not a readable Tiled map: Premature end of document. (line 1)"},
        {"<tileset/>", "is not a Tiled map: it starts with <tileset>"},
        {map.substr(0, map.size() / 2), "is not a readable Tiled map: Premature end of document."},
        {Replaced(map, "width=\"1024\"", "width=\"512\""),
         "is 512 x 1024 cells; a level is 1024 x 1024"},
        {Replaced(map, "tilewidth=\"16\" tileheight=\"16\"", "tilewidth=\"32\" tileheight=\"32\""),
         "has tiles of 32 x 32 pixels; a level's are 16 x 16"},
        {Replaced(map, "orthogonal", "isometric"), "is an isometric map; a level is orthogonal"},
        {Replaced(map, "infinite=\"0\"", "infinite=\"1\""),
         "is an infinite map; a level is 1024 x 1024 cells"},
        {Replaced(map, tileAt5x2, ",191,"),
         "the tile at column 5, row 2 has gid 191, past the 190 tiles of a level"},
        {Replaced(map, tileAt5x2, ",2147483655,"),
         "the tile at column 5, row 2 is flipped or rotated; a level's tiles cannot be"},
        {Replaced(map, tileAt5x2, ",x,"), "tile layer \"tiles\": its CSV data holds 'x'"},
        {Replaced(map, tileAt5x2, ",7,7,"),
         "tile layer \"tiles\": its data holds 1048577 cells; a level has 1048576"},
        {WithData("<data encoding=\"base64\" compression=\"zstd\">AAAA</data>"),
         "tile layer \"tiles\": its data is zstd-compressed; save the map with CSV, Base64, zlib "
         "or gzip layer data"},
        {WithData("<data encoding=\"base64\" compression=\"zlib\">AAAA</data>"),
         "tile layer \"tiles\": its zlib data is damaged or too long"},
        {WithData("<data encoding=\"base64\">AA*A</data>"),
         "tile layer \"tiles\": its Base64 data is not valid Base64"},
        {WithData(""), "tile layer \"tiles\" has no data"},
        {Replaced(map, "<tileset firstgid=\"1\"",
                  "<tileset firstgid=\"300\" name=\"more\" source=\"more.tsx\"/>\n <tileset "
                  "firstgid=\"1\""),
         "its tile set \"more\" is in more.tsx; embed it in the map"},
        {Replaced(map, kind500, "value=\"650\"/>\n   </properties>\n  </object>"),
         "object 1 has kind 650; a special object is 500, 600, 700 or 800"},
        {Replaced(map, kind500, "value=\"600\"/>\n   </properties>\n  </object>"),
         "object 1 has kind 600 but shows the picture of 500"},
        {Replaced(map,
                  object + " width=\"96\" height=\"96\">\n   <properties>\n    " +
                      "<property name=\"kind\" type=\"int\" " + kind500,
                  "<object id=\"1\" x=\"160\" y=\"160\" width=\"96\" height=\"96\"/>"),
         "object 1 is no special object: it has no kind and no special object's picture"},
        {Replaced(map, object, "<object id=\"1\" gid=\"191\" x=\"-160\" y=\"160\""),
         "object 1 lies outside the map, at column -10, row 10"},
        {Replaced(map, object, "<object id=\"1\" gid=\"191\" x=\"160\" y=\"160\" rotation=\"90\""),
         "object 1 is rotated; special objects cannot be"},
        {Replaced(map, object, "<object id=\"1\" gid=\"2147483839\" x=\"160\" y=\"160\""),
         "object 1 is flipped; special objects cannot be"},
        {Replaced(Replaced(map, object, "<object id=\"1\" x=\"160\" y=\"160\""), kind500,
                  "value=\"1\"/>\n   </properties>\n  </object>"),
         "object 1 has kind 1; a special object is 500, 600, 700 or 800"},
        // What only a level file can hold: the editor never makes it.
        {Replaced(map, object, "<object id=\"1\" gid=\"191\" x=\"48\" y=\"0\""),
         "the tile at column 5, row 2 lies under object 1 (6 x 6 at column 3, row 0); a special "
         "object's cells hold no tile"},
        {Replaced(map, object, "<object id=\"1\" gid=\"191\" x=\"80\" y=\"32\""),
         "the tile at column 5, row 2 lies under object 1 (6 x 6 at column 5, row 2); a special "
         "object's cells hold no tile"},
        {Replaced(map, "</objectgroup>", SecondObject(176, 176, 700) + "</objectgroup>"),
         "object 2 (2 x 2 at column 11, row 11) overlaps object 1 (6 x 6 at column 10, row 10) at "
         "column 11, row 11; special objects cannot overlap"},
        {Replaced(map, "</objectgroup>", SecondObject(160, 160, 800) + "</objectgroup>"),
         "object 2 (1 x 1 at column 10, row 10) overlaps object 1 (6 x 6 at column 10, row 10) at "
         "column 10, row 10; special objects cannot overlap"},
        {Replaced(map, object, "<object id=\"1\" gid=\"191\" x=\"16320\" y=\"160\""),
         "object 1 at column 1020, row 10 reaches past the map's edge at column 1024, row 10; its "
         "6 x 6 cells must lie inside"},
        {Replaced(map, object, "<object id=\"1\" gid=\"191\" x=\"160\" y=\"16304\""),
         "object 1 at column 10, row 1019 reaches past the map's edge at column 10, row 1024; its "
         "6 x 6 cells must lie inside"},
        {WithData(CsvWithFlags(301)),
         "the flag at column 256, row 0 is flag 257 of 301; a level holds at most 256"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(message);
        const test::Run run = Import(text);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.rfind("krav-lvl: " + tmx + ": " + message, 0), 0u) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out()));
    }
    // A level already at OUT stays as it was; the map is only read.
    const std::string faulty =
        Replaced(map, object, "<object id=\"1\" gid=\"191\" x=\"48\" y=\"0\"");
    test::WriteText(folder.Path("faulty.tmx"), faulty);
    const Bytes before = test::ScratchFolder::Read(level);
    EXPECT_EQ(test::Lvl("import-tmx " + folder.Path("faulty.tmx") + " " + level, folder).exitCode,
              1);
    EXPECT_TRUE(test::ScratchFolder::Read(level) == before);
    EXPECT_EQ(test::ReadText(folder.Path("faulty.tmx")), faulty);
    const test::Run missing =
        test::Lvl("import-tmx " + folder.Path("none.tmx") + " " + out(), folder);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "krav-lvl: " + folder.Path("none.tmx") +
                               ": cannot be opened: No such file or directory\n");
}

// Objects are placed in the file's order: the first to claim a cell another holds is named, at
// the first such cell of its footprint row by row, with the one that holds it.
TEST_F(TmxImport, NamesTheFirstObjectToOverlapAnother) {
    struct Placed {
        int col, row, kind;
    };
    // The map's own object 1 is 6 x 6 at column 10, row 10; these come after it.
    const auto after = [this](const std::vector<Placed>& objects) {
        std::string group;
        int id = 2;
        for (const Placed& object : objects)
            group += KindObject(id++, object.col * 16, object.row * 16, object.kind);
        return Replaced(map, "</objectgroup>", group + "</objectgroup>");
    };
    // Objects tiling the map, 6 x 6 from the top-left corner, then 1 x 1 in the cells left
    // (every cell of the map is then an object's), then `extra`: their footprints hold more
    // cells than the map when extra has any.
    const auto fillingTheMap = [this](const std::vector<Placed>& extra) {
        std::string group;
        int id = 1;
        for (int row = 0; row + 6 <= MAP_SIZE; row += 6)
            for (int col = 0; col + 6 <= MAP_SIZE; col += 6)
                group += KindObject(id++, col * 16, row * 16, OBJECT_6X6);
        for (int row = 0; row < MAP_SIZE; ++row)
            for (int col = MAP_SIZE / 6 * 6; col < MAP_SIZE; ++col)
                group += KindObject(id++, col * 16, row * 16, OBJECT_1X1);
        for (int row = MAP_SIZE / 6 * 6; row < MAP_SIZE; ++row)
            for (int col = 0; col < MAP_SIZE / 6 * 6; ++col)
                group += KindObject(id++, col * 16, row * 16, OBJECT_1X1);
        for (const Placed& object : extra)
            group += KindObject(id++, object.col * 16, object.row * 16, object.kind);
        const auto start = map.find("<object ");
        const auto end = map.find("</objectgroup>");
        return std::string(map).replace(start, end - start, group);
    };
    const std::string overlap = "; special objects cannot overlap";
    const std::vector<std::pair<std::string, std::string>> cases{
        {after({{14, 6, OBJECT_5X5}}),
         "object 2 (5 x 5 at column 14, row 6) overlaps object 1 (6 x 6 at column 10, row 10) at "
         "column 14, row 10" +
             overlap},
        {after({{15, 15, OBJECT_2X2}, {10, 10, OBJECT_1X1}}),
         "object 2 (2 x 2 at column 15, row 15) overlaps object 1 (6 x 6 at column 10, row 10) at "
         "column 15, row 15" +
             overlap},
        {after({{40, 40, OBJECT_1X1}, {50, 50, OBJECT_2X2}, {51, 51, OBJECT_1X1}}),
         "object 4 (1 x 1 at column 51, row 51) overlaps object 3 (2 x 2 at column 50, row 50) at "
         "column 51, row 51" +
             overlap},
        {fillingTheMap({}),
         "the tile at column 5, row 2 lies under object 1 (6 x 6 at column 0, row 0); a special "
         "object's cells hold no tile"},
        {fillingTheMap({{0, 0, OBJECT_1X1}, {1023, 1023, OBJECT_1X1}}),
         "object 37077 (1 x 1 at column 0, row 0) overlaps object 1 (6 x 6 at column 0, row 0) "
         "at column 0, row 0" +
             overlap},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(message);
        const test::Run run = Import(text);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "krav-lvl: " + tmx + ": " + message + "\n");
        EXPECT_FALSE(std::filesystem::exists(out()));
    }
}

// The colour of picture pixel (x, y) of the tile set a level file embeds.
QRgb EmbeddedPixel(const Bytes& level, int x, int y) {
    const std::size_t index = level[1078 + static_cast<std::size_t>(159 - y) * 304 + x];
    const std::uint8_t* entry = &level[54 + index * 4];
    return static_cast<QRgb>(entry[2] << 16 | entry[1] << 8 | entry[0]);
}

TEST_F(TmxImport, TakesTheTileSetPictureWhenALevelCanHoldIt) {
    const std::string picture = folder.Path("map-tiles.png");
    const QImage exported(QString::fromStdString(picture));
    QImage wide(320, 160, QImage::Format_RGB32);
    wide.fill(Qt::red);
    QImage colourful(304, 160, QImage::Format_RGB32);
    colourful.fill(Qt::black); // a new QImage holds whatever memory it was given
    for (int i = 0; i < 300; ++i)
        colourful.setPixel(i, 0, qRgb(i % 256, i / 256, 9));
    QImage edited = exported.convertToFormat(QImage::Format_RGB32);
    edited.setPixel(3, 4, qRgb(1, 2, 3));
    const std::string builtIn = "; the level gets the built-in tile set\n";
    struct Case {
        const char* name;
        QImage image; // null: no picture at all
        std::string note;
        bool sameLevel;
    };
    const std::vector<Case> cases{
        {"unchanged, stored again as 32-bit", exported.convertToFormat(QImage::Format_RGB32), "",
         true},
        {"too wide", wide, "map-tiles.png is 320 x 160; a tile set is 304 x 160" + builtIn, true},
        {"too many colours", colourful,
         "map-tiles.png has 301 colours; a tile set holds at most 256" + builtIn, true},
        {"missing", QImage(), "map-tiles.png cannot be read as a picture" + builtIn, true},
        {"edited", edited, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(picture);
        if (!c.image.isNull()) {
            ASSERT_TRUE(c.image.save(QString::fromStdString(picture)));
        }
        const test::Run run = Import(map);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, c.note.empty() ? "" : "krav-lvl: " + tmx + ": " + c.note);
        const Bytes imported = test::ScratchFolder::Read(out());
        EXPECT_EQ(imported == test::ScratchFolder::Read(level), c.sameLevel);
        if (c.sameLevel)
            continue;
        // The level embeds exactly the picture.
        ASSERT_GT(imported.size(), 1078u + 48640u);
        EXPECT_EQ(imported[0], 'B');
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 304; ++x)
                ASSERT_EQ(EmbeddedPixel(imported, x, y), c.image.pixel(x, y) & 0xFFFFFFu)
                    << x << "," << y;
    }
}

} // namespace
} // namespace krav
