// Tile sets in and out: the Import Tileset dialog's choice without the dialog, the import's
// effect on a level, and krav-lvl tileset / import-tileset.
#include "LvlRunner.h"
#include "TileSetPictureFile.h"
#include "document/ByteSource.h"
#include "document/CKRAVDoc.h"
#include "document/LoadTileSet.h"
#include "document/TileSetChooser.h"
#include "document/TileSetExport.h"
#include "support/FakePrompt.h"

#include <QImage>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace krav {
namespace {

using test::AppendRecord;
using test::Bytes;
using test::MakeBmp;

constexpr int FLAG_TILE = 170;

// A level without a tile set: some tiles and two flags.
Bytes BuiltInLevel() {
    Bytes bytes;
    AppendRecord(bytes, 5, 10, 10);
    AppendRecord(bytes, FLAG_TILE, 11, 10);
    AppendRecord(bytes, FLAG_TILE, 12, 10);
    return bytes;
}

Bytes EmbeddedLevel() {
    Bytes bytes = MakeBmp();
    const Bytes records = BuiltInLevel();
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}

// A 304 x 160 (or other size) picture with the given number of colours.
std::string WritePicture(const test::ScratchFolder& folder, const std::string& name, int colours,
                         int width = 304, int height = 160) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int colour = (y * width + x) % colours;
            image.setPixel(x, y, qRgb(colour & 0xFF, (colour >> 8) * 40, 7));
        }
    const std::string path = folder.Path(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path)));
    return path;
}

struct ChoiceCase {
    const char* name;
    std::function<std::string(const test::ScratchFolder&)> makeFile;
    int choice;
    std::string note;
};

TEST(TileSetChooser, ChoiceFollowsTheSelectedFile) {
    const std::vector<ChoiceCase> cases = {
        {"level with the built-in set",
         [](auto& f) { return f.Write("plain.lvl", BuiltInLevel()); }, TILESET_BUILTIN, ""},
        {"level with its own set", [](auto& f) { return f.Write("own.lvl", EmbeddedLevel()); },
         TILESET_IMPORTED, ""},
        {"tile set BMP", [](auto& f) { return f.Write("t.bmp", MakeBmp()); }, TILESET_IMPORTED, ""},
        {"BMP of the wrong size",
         [](auto& f) { return f.Write("wide.bmp", MakeBmp({.width = 320})); }, TILESET_NONE, ""},
        {"24-bit BMP", [](auto& f) { return f.Write("deep.bmp", MakeBmp({.bitsPerPixel = 24})); },
         TILESET_NONE, ""},
        {"4-bit BMP", [](auto& f) { return f.Write("four.bmp", MakeBmp({.bitsPerPixel = 4})); },
         TILESET_NONE, ""},
        {"BMP cut short",
         [](auto& f) {
             Bytes bmp = MakeBmp();
             bmp.resize(30);
             return f.Write("short.bmp", bmp);
         },
         TILESET_NONE, ""},
        {"file of 5 bytes", [](auto& f) { return f.Write("five.lvl", Bytes(5, 1)); }, TILESET_NONE,
         ""},
        {"empty level", [](auto& f) { return f.Write("empty.lvl", Bytes()); }, TILESET_BUILTIN, ""},
        {"level of one record",
         [](auto& f) {
             Bytes one;
             AppendRecord(one, 5, 1, 1);
             return f.Write("one.lvl", one);
         },
         TILESET_BUILTIN, ""},
        {"missing file", [](auto& f) { return f.Path("missing.bmp"); }, TILESET_NONE, ""},
        {"folder", [](auto& f) { return f.Path(""); }, TILESET_NONE, ""},
        {"PNG of 256 colours", [](auto& f) { return WritePicture(f, "ok.png", 256); },
         TILESET_IMPORTED, ""},
        {"PNG of 1204 colours", [](auto& f) { return WritePicture(f, "many.png", 1204); },
         TILESET_NONE, "has 1,204 colours; a tile set holds at most 256"},
        {"PNG of 320 x 160", [](auto& f) { return WritePicture(f, "wide.png", 16, 320); },
         TILESET_NONE, "is 320 x 160; a tile set is 304 x 160"},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScratchFolder folder;
        TileSetChooser chooser(ReadTileSetPicture);
        EXPECT_EQ(chooser.Choice(), TILESET_NOTHING_SELECTED);
        chooser.Select(c.makeFile(folder));
        EXPECT_EQ(chooser.Choice(), c.choice);
        EXPECT_EQ(chooser.Note(), c.note);
        EXPECT_EQ(chooser.Preview() != nullptr, c.choice != TILESET_NONE);
        if (c.choice == TILESET_NONE)
            EXPECT_FALSE(chooser.Reason().empty());
    }
}

TEST(TileSetChooser, PngIsConvertedLosslessly) {
    test::ScratchFolder folder;
    TileSetChooser chooser(ReadTileSetPicture);
    chooser.Select(WritePicture(folder, "few.png", 3));
    ASSERT_EQ(chooser.Choice(), TILESET_IMPORTED);
    const TileSetBitmap& tileSet = *chooser.Preview();
    // Colour table in first-seen order, the rest black; every pixel keeps its colour.
    EXPECT_EQ(tileSet.ColourRgb(0), 0x000007u);
    EXPECT_EQ(tileSet.ColourRgb(1), 0x010007u);
    EXPECT_EQ(tileSet.ColourRgb(2), 0x020007u);
    EXPECT_EQ(tileSet.ColourRgb(3), 0u);
    EXPECT_EQ(tileSet.ColourRgb(255), 0u);
    EXPECT_EQ(tileSet.PixelAt(4, 0), 1);
    EXPECT_EQ(tileSet.PixelAt(303, 159), (159 * 304 + 303) % 3);
}

TEST(TileSetChooser, SameFileTwiceInARowIsNotReadAgain) {
    test::ScratchFolder folder;
    const std::string path = folder.Write("t.bmp", MakeBmp());
    const std::string other = folder.Write("plain.lvl", BuiltInLevel());
    TileSetChooser chooser;
    chooser.Select(path);
    folder.Write("t.bmp", MakeBmp({.width = 320}));
    chooser.Select(path);
    EXPECT_EQ(chooser.Choice(), TILESET_IMPORTED);
    chooser.Select(other);
    chooser.Select(path);
    EXPECT_EQ(chooser.Choice(), TILESET_NONE);
}

class ImportIntoLevel : public ::testing::Test {
protected:
    void Open(const Bytes& level) {
        test::FakePrompt prompt;
        ASSERT_TRUE(doc.OnOpenDocument(folder.Write("level.lvl", level), prompt));
        std::memcpy(cellsBefore.data(), doc.GetCells(), sizeof(Cell) * MAP_CELLS);
        flagsBefore = doc.GetFlagCount();
    }
    bool Import(const std::string& path) {
        TileSetChooser chooser(ReadTileSetPicture);
        chooser.Select(path);
        return chooser.ApplyTo(doc);
    }
    void ExpectMapUntouched() {
        EXPECT_EQ(std::memcmp(cellsBefore.data(), doc.GetCells(), sizeof(Cell) * MAP_CELLS), 0);
        EXPECT_EQ(doc.GetFlagCount(), flagsBefore);
    }

    test::ScratchFolder folder;
    CKRAVDoc doc;
    std::vector<Cell> cellsBefore = std::vector<Cell>(MAP_CELLS);
    int flagsBefore = 0;
};

TEST_F(ImportIntoLevel, BmpIsEmbeddedAndMarksModifiedOnlyWhenItChanges) {
    Open(BuiltInLevel());
    const Bytes bmp = MakeBmp();
    const std::string path = folder.Write("t.bmp", bmp);
    EXPECT_TRUE(Import(path));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.IsDefaultTileSet());
    ExpectMapUntouched();
    const auto saved = doc.Serialize();
    EXPECT_TRUE(std::equal(bmp.begin(), bmp.end(), saved.begin()));

    doc.SetModifiedFlag(false);
    EXPECT_FALSE(Import(path));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ImportIntoLevel, SwitchBackToBuiltInDropsTheBmp) {
    Open(EmbeddedLevel());
    EXPECT_TRUE(Import(folder.Write("plain.lvl", BuiltInLevel())));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.IsDefaultTileSet());
    ExpectMapUntouched();
    EXPECT_EQ(doc.Serialize(), BuiltInLevel());

    doc.SetModifiedFlag(false);
    EXPECT_FALSE(Import(folder.Path("plain.lvl")));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ImportIntoLevel, RefusedOrNoSelectionChangesNothing) {
    Open(EmbeddedLevel());
    const Bytes before = doc.Serialize();
    EXPECT_FALSE(Import(folder.Write("wide.bmp", MakeBmp({.width = 305}))));
    TileSetChooser unused;
    EXPECT_FALSE(unused.ApplyTo(doc));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Serialize(), before);
}

TEST(TileSetExport, BuiltInSetIsABottomUpBmpOfTheSamePicture) {
    const auto builtIn = LoadBuiltInTileSet();
    const Bytes bmp = TileSetBmpFile(*builtIn);
    ASSERT_EQ(bmp.size(), 49718u);
    const auto readBack = LoadTileSet(MemorySource(bmp));
    for (int y = 0; y < TILESET_HEIGHT; ++y)
        for (int x = 0; x < TILESET_WIDTH; ++x)
            ASSERT_EQ(readBack->PixelAt(x, y), builtIn->PixelAt(x, y)) << x << "," << y;
    EXPECT_EQ(readBack->colourTable, builtIn->colourTable);
    EXPECT_EQ(TileSetBmpFile(*readBack), bmp);
}

// krav-lvl, as a pipeline runs it.
class TileSetCommands : public ::testing::Test {
protected:
    test::ScratchFolder folder;
};

TEST_F(TileSetCommands, ExportThenImportGivesTheSameBytes) {
    const Bytes ownBmp = MakeBmp({.extraBytes = 6});
    Bytes own = ownBmp;
    const Bytes records = BuiltInLevel();
    own.insert(own.end(), records.begin(), records.end());
    const struct {
        const char* name;
        Bytes level;
    } levels[] = {{"embedded", own}, {"built-in", BuiltInLevel()}};
    for (const auto& level : levels) {
        SCOPED_TRACE(level.name);
        const std::string in = folder.Write("in.lvl", level.level);
        const std::string bmp = folder.Path("out.bmp");
        ASSERT_EQ(test::Lvl("tileset " + in + " " + bmp, folder).exitCode, 0);
        if (std::string(level.name) == "embedded")
            EXPECT_EQ(test::ScratchFolder::Read(bmp), ownBmp);
        const std::string out = folder.Path("out.lvl");
        ASSERT_EQ(test::Lvl("import-tileset " + folder.Write("other.lvl", BuiltInLevel()) + " " +
                                bmp + " " + out,
                            folder)
                      .exitCode,
                  0);
        const Bytes outBytes = test::ScratchFolder::Read(out);
        const Bytes exported = test::ScratchFolder::Read(bmp);
        ASSERT_GE(outBytes.size(), exported.size());
        EXPECT_TRUE(std::equal(exported.begin(), exported.end(), outBytes.begin()));
        const std::string again = folder.Path("again.bmp");
        ASSERT_EQ(test::Lvl("tileset " + out + " " + again, folder).exitCode, 0);
        EXPECT_EQ(test::ScratchFolder::Read(again), exported);
    }
}

TEST_F(TileSetCommands, ImportTilesetOutcomes) {
    const std::string level = folder.Write("own.lvl", EmbeddedLevel());
    const struct {
        const char* name;
        std::string image;
        int exitCode;
        std::string err;
        std::string tileset;
    } cases[] = {
        {"PNG within 256 colours", WritePicture(folder, "ok.png", 200), 0, "", "embedded"},
        {"level without a tile set", folder.Write("plain.lvl", BuiltInLevel()), 0, "", "built-in"},
        {"PNG over 256 colours", WritePicture(folder, "many.png", 1204), 1,
         "many.png: has 1,204 colours; a tile set holds at most 256\n", ""},
        {"BMP of 16 colours", folder.Write("four.bmp", MakeBmp({.bitsPerPixel = 4})), 1,
         "four.bmp: Tile set bitmap has incorrect color format:\nThis is not a 256 color "
         "bitmap!\n",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = folder.Path("out.lvl");
        std::filesystem::remove(out);
        const test::Run run =
            test::Lvl("import-tileset " + level + " " + c.image + " " + out, folder);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.err.ends_with(c.err)) << run.err;
        if (c.exitCode != 0) {
            EXPECT_FALSE(std::filesystem::exists(out));
            continue;
        }
        EXPECT_TRUE(
            test::Lvl("info " + out, folder).out.starts_with("tileset: " + c.tileset + "\n"));
    }
}

} // namespace
} // namespace krav
