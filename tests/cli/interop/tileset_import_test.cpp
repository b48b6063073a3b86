// Tile sets in and out: the Import Tileset dialog's choice without the dialog, the import's
// effect on a level, and krav-lvl tileset / import-tileset.
#include "LvlRunner.h"
#include "TileSetPictureFile.h"
#include "document/ByteSource.h"
#include "document/CKRAVDoc.h"
#include "document/LoadTileSet.h"
#include "document/Messages.h"
#include "document/TileSetChooser.h"
#include "document/TileSetExport.h"
#include "support/FakePrompt.h"

#include <QImage>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

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

// 3,000 bytes that are no picture and no level (the same ones every run).
Bytes RandomBytes() {
    std::mt19937 random(21);
    Bytes bytes(3000);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// A level whose first record, at column 336, row 3, starts with "P1", as a PBM picture does.
Bytes LevelLikeAPicture() {
    Bytes bytes = {'P', '1', 0, 5};
    AppendRecord(bytes, 5, 10, 10);
    return bytes;
}

// A PNG file cut in the middle of its pixels.
Bytes CutPng(const test::ScratchFolder& folder) {
    Bytes png = test::ScratchFolder::Read(WritePicture(folder, "whole.png", 200));
    png.resize(png.size() / 2);
    return png;
}

struct ChoiceCase {
    const char* name;
    std::function<std::string(const test::ScratchFolder&)> makeFile;
    int choice;
    std::string note; // what the preview says
};

TEST(TileSetChooser, ChoiceFollowsTheSelectedFile) {
    const std::string cutBmp = std::string("short.bmp: ") + messages::BMP_TRUNCATED;
    const std::string notLevel =
        std::string(" cannot be read as a level: ") + messages::TILE_ID_OUT_OF_RANGE;
    const std::vector<ChoiceCase> cases = {
        {"level with the built-in set",
         [](auto& f) { return f.Write("plain.lvl", BuiltInLevel()); }, TILESET_BUILTIN, ""},
        {"level with its own set", [](auto& f) { return f.Write("own.lvl", EmbeddedLevel()); },
         TILESET_IMPORTED, ""},
        {"tile set BMP", [](auto& f) { return f.Write("t.bmp", MakeBmp()); }, TILESET_IMPORTED, ""},
        {"BMP of the wrong size",
         [](auto& f) { return f.Write("wide.bmp", MakeBmp({.width = 320})); }, TILESET_NONE,
         std::string("wide.bmp: ") + messages::WIDTH_NOT_304 + messages::CONTACT_ADDRESS},
        {"24-bit BMP", [](auto& f) { return f.Write("deep.bmp", MakeBmp({.bitsPerPixel = 24})); },
         TILESET_NONE, std::string("deep.bmp: ") + messages::NOT_256_COLOURS},
        {"4-bit BMP", [](auto& f) { return f.Write("four.bmp", MakeBmp({.bitsPerPixel = 4})); },
         TILESET_NONE, std::string("four.bmp: ") + messages::NOT_256_COLOURS},
        {"BMP cut short",
         [](auto& f) {
             Bytes bmp = MakeBmp();
             bmp.resize(30);
             return f.Write("short.bmp", bmp);
         },
         TILESET_NONE, cutBmp},
        {"BMP cut inside its pixels",
         [](auto& f) {
             Bytes bmp = MakeBmp();
             bmp.resize(bmp.size() - 1);
             return f.Write("cut.bmp", bmp);
         },
         TILESET_NONE, std::string("cut.bmp: ") + messages::BMP_PIXELS_CUT},
        {"file of 5 bytes", [](auto& f) { return f.Write("five.lvl", Bytes(5, 1)); }, TILESET_NONE,
         "five.lvl is too short for a tile set or a level"},
        {"empty level", [](auto& f) { return f.Write("empty.lvl", Bytes()); }, TILESET_BUILTIN, ""},
        {"level of one record",
         [](auto& f) {
             Bytes one;
             AppendRecord(one, 5, 1, 1);
             return f.Write("one.lvl", one);
         },
         TILESET_BUILTIN, ""},
        {"level starting like a PBM picture",
         [](auto& f) { return f.Write("pbm-like.lvl", LevelLikeAPicture()); }, TILESET_BUILTIN, ""},
        {"the same, not named as a level",
         [](auto& f) { return f.Write("pbm-like.dat", LevelLikeAPicture()); }, TILESET_BUILTIN, ""},
        {"random bytes", [](auto& f) { return f.Write("random.bin", RandomBytes()); }, TILESET_NONE,
         "random.bin is not a BMP, a picture or a level"},
        {"random bytes named as a level",
         [](auto& f) { return f.Write("random.lvl", RandomBytes()); }, TILESET_NONE,
         "random.lvl" + notLevel},
        {"level with a code that is no tile",
         [](auto& f) {
             Bytes bytes = BuiltInLevel();
             AppendRecord(bytes, 200, 1, 1);
             return f.Write("bad.lvl", bytes);
         },
         TILESET_NONE, "bad.lvl" + notLevel},
        {"missing file", [](auto& f) { return f.Path("missing.bmp"); }, TILESET_NONE,
         "missing.bmp: Couldn't open file. (No such file or directory)"},
        {"folder",
         [](auto& f) {
             std::filesystem::create_directory(f.Path("sub"));
             return f.Path("sub");
         },
         TILESET_NONE, "sub: Couldn't open file. (Is a directory)"},
        {"PNG of 256 colours", [](auto& f) { return WritePicture(f, "ok.png", 256); },
         TILESET_IMPORTED, ""},
        {"PNG of 1204 colours", [](auto& f) { return WritePicture(f, "many.png", 1204); },
         TILESET_NONE, "many.png has 1,204 colours; a tile set holds at most 256"},
        {"PNG of 320 x 160", [](auto& f) { return WritePicture(f, "wide.png", 16, 320); },
         TILESET_NONE, "wide.png is 320 x 160; a tile set is 304 x 160"},
        {"PNG cut short", [](auto& f) { return f.Write("cut.png", CutPng(f)); }, TILESET_NONE,
         "cut.png cannot be read as a picture"},
        {"PNG named as a level",
         [](auto& f) {
             return f.Write("png.lvl", test::ScratchFolder::Read(WritePicture(f, "p.png", 9)));
         },
         TILESET_IMPORTED, ""},
        {"PNG of 10 x 10 named as a level",
         [](auto& f) {
             return f.Write("small.lvl",
                            test::ScratchFolder::Read(WritePicture(f, "s.png", 9, 10, 10)));
         },
         TILESET_NONE, "small.lvl is 10 x 10; a tile set is 304 x 160"},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScratchFolder folder;
        TileSetChooser chooser(ReadTileSetPicture);
        EXPECT_EQ(chooser.Choice(), TILESET_NOTHING_SELECTED);
        const std::string path = c.makeFile(folder);
        const Bytes before =
            std::filesystem::is_regular_file(path) ? test::ScratchFolder::Read(path) : Bytes();
        chooser.Select(path);
        EXPECT_EQ(chooser.Choice(), c.choice);
        EXPECT_EQ(chooser.Note(), c.note);
        EXPECT_EQ(chooser.Preview() != nullptr, c.choice != TILESET_NONE);
        if (c.choice == TILESET_NONE) {
            EXPECT_FALSE(chooser.Reason().empty());
        }
        // Never written to, and the same choice from the bytes in memory.
        if (std::filesystem::is_regular_file(path)) {
            EXPECT_EQ(test::ScratchFolder::Read(path), before);
            TileSetChooser fromMemory(ReadTileSetPicture);
            fromMemory.SelectBytes(MemorySource(before), path);
            EXPECT_EQ(fromMemory.Choice(), c.choice);
            EXPECT_EQ(fromMemory.Note(), c.note);
        }
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
        if (std::string(level.name) == "embedded") {
            EXPECT_EQ(test::ScratchFolder::Read(bmp), ownBmp);
        }
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
    const Bytes levelBytes = EmbeddedLevel();
    const std::string pngBytesNamedLevel =
        folder.Write("png.lvl", test::ScratchFolder::Read(WritePicture(folder, "p.png", 9)));
    const std::string smallPngNamedLevel = folder.Write(
        "small.lvl", test::ScratchFolder::Read(WritePicture(folder, "s.png", 9, 10, 10)));
    const std::string notLevel =
        std::string(": cannot be read as a level: ") + messages::TILE_ID_OUT_OF_RANGE + "\n";
    const struct {
        const char* name;
        std::string image;
        int exitCode;
        std::string err;
        std::string tileset;
    } cases[] = {
        {"PNG within 256 colours", WritePicture(folder, "ok.png", 200), 0, "", "embedded"},
        {"level without a tile set", folder.Write("plain.lvl", BuiltInLevel()), 0, "", "built-in"},
        {"empty level", folder.Write("empty.lvl", Bytes()), 0, "", "built-in"},
        {"PNG named as a level", pngBytesNamedLevel, 0, "", "embedded"},
        {"PNG over 256 colours", WritePicture(folder, "many.png", 1204), 1,
         "many.png: has 1,204 colours; a tile set holds at most 256\n", ""},
        {"BMP of 16 colours", folder.Write("four.bmp", MakeBmp({.bitsPerPixel = 4})), 1,
         "four.bmp: Tile set bitmap has incorrect color format:\nThis is not a 256 color "
         "bitmap!\n",
         ""},
        {"random bytes", folder.Write("random.bin", RandomBytes()), 1,
         "random.bin: is not a BMP, a picture or a level\n", ""},
        {"random bytes named as a level", folder.Write("random.lvl", RandomBytes()), 1,
         "random.lvl" + notLevel, ""},
        {"PNG of 10 x 10 named as a level", smallPngNamedLevel, 1,
         "small.lvl: is 10 x 10; a tile set is 304 x 160\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes imageBytes = test::ScratchFolder::Read(c.image);
        // A refusal creates no OUT and leaves one that is there as it was.
        for (const bool outExists : {false, true}) {
            const std::string out = folder.Path("out.lvl");
            std::filesystem::remove(out);
            if (outExists)
                folder.Write("out.lvl", BuiltInLevel());
            const test::Run run =
                test::Lvl("import-tileset " + level + " " + c.image + " " + out, folder);
            EXPECT_EQ(run.exitCode, c.exitCode);
            EXPECT_TRUE(run.err.ends_with(c.err)) << run.err;
            EXPECT_EQ(test::ScratchFolder::Read(level), levelBytes);
            EXPECT_EQ(test::ScratchFolder::Read(c.image), imageBytes);
            if (c.exitCode != 0) {
                if (outExists)
                    EXPECT_EQ(test::ScratchFolder::Read(out), BuiltInLevel());
                else
                    EXPECT_FALSE(std::filesystem::exists(out));
                continue;
            }
            EXPECT_TRUE(
                test::Lvl("info " + out, folder).out.starts_with("tileset: " + c.tileset + "\n"));
        }
    }
}

} // namespace
} // namespace krav
