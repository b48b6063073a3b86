// File > Export > Tiled Map and File > Import Tiled Map, without their file dialogs.
#include "support/Devices.h"
#include "support/FrameFixture.h"
#include "view/CKRAVView.h"

#include <QFile>
#include <algorithm>
#include <filesystem>

namespace krav {
namespace {

class TiledMapMenu : public test::FrameFixture {};

TEST_F(TiledMapMenu, AnExportedLevelComesBackAsANewUntitledLevel) {
    test::Bytes bytes;
    test::AppendRecord(bytes, 12, 3, 4);
    test::AppendRecord(bytes, 219, 8, 8);
    const std::string level = folder.Write("level.lvl", bytes);
    ASSERT_TRUE(frame->OpenLevel(QString::fromStdString(level)));
    CChildFrame* opened = frame->ChildFrames().front();
    const QString tmx = QString::fromStdString(folder.Path("level.tmx"));
    ASSERT_TRUE(frame->ExportTiledMap(opened, tmx));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder.Path("level-tiles.png"))));

    ASSERT_TRUE(frame->ImportTiledMap(tmx));
    ASSERT_EQ(frame->ChildFrames().size(), 2);
    const CKRAVDoc& imported = frame->ChildFrames().back()->Document();
    EXPECT_EQ(imported.GetPathName(), ""); // nothing is overwritten by a save
    EXPECT_EQ(imported.GetTitle().rfind("KRAV", 0), 0u);
    EXPECT_TRUE(imported.IsModified());
    EXPECT_TRUE(imported.Serialize() == opened->Document().Serialize());
    EXPECT_TRUE(prompt.messages.empty());
}

// A map edited into one the editor could not have made: refused naming the first such cell,
// no level opened.
TEST_F(TiledMapMenu, AMapNoEditorCouldHaveMadeIsRefusedNamingTheCell) {
    test::Bytes bytes;
    test::AppendRecord(bytes, 12, 3, 4);
    test::AppendRecord(bytes, 219, 8, 8);
    ASSERT_TRUE(frame->OpenLevel(QString::fromStdString(folder.Write("level.lvl", bytes))));
    const QString tmx = QString::fromStdString(folder.Path("level.tmx"));
    ASSERT_TRUE(frame->ExportTiledMap(frame->ChildFrames().front(), tmx));
    QFile file(tmx);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray map = file.readAll();
    file.close();
    const QByteArray object = "x=\"128\" y=\"128\"";
    ASSERT_TRUE(map.contains(object));
    const struct {
        QByteArray replacement;
        std::string message;
    } cases[] = {
        {"x=\"32\" y=\"32\"",
         "edited.tmx cannot be imported: the tile at column 3, row 4 lies under object 1 (6 x 6 "
         "at column 2, row 2); a special object's cells hold no tile"},
        {"x=\"16352\" y=\"128\"",
         "edited.tmx cannot be imported: object 1 at column 1022, row 8 reaches past the map's "
         "edge at column 1024, row 8; its 6 x 6 cells must lie inside"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const QString edited = QString::fromStdString(folder.Path("edited.tmx"));
        QFile out(edited);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(map).replace(object, c.replacement));
        out.close();
        prompt.messages.clear();
        EXPECT_FALSE(frame->ImportTiledMap(edited));
        EXPECT_EQ(frame->ChildFrames().size(), 1);
        EXPECT_EQ(prompt.messages, std::vector<std::string>{c.message});
    }
}

// The map and its two pictures appear together or not at all.
TEST_F(TiledMapMenu, AFailedExportLeavesNoFileBehindAndSaysWhy) {
    const std::string level = folder.Write("level.lvl", {});
    ASSERT_TRUE(frame->OpenLevel(QString::fromStdString(level)));
    CChildFrame* opened = frame->ChildFrames().front();
    std::filesystem::create_directory(folder.Path("dir.tmx"));
    const std::string full = test::FullDevice(folder);
    if (full.empty())
        GTEST_SKIP() << "cannot make a device of our own here";
    std::filesystem::create_symlink(full, folder.Path("full.tmx"));
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {{"dir.tmx", "Is a directory"}, {"full.tmx", "No space left on device"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompt.messages.clear();
        const std::string tmx = folder.Path(c.name);
        EXPECT_FALSE(frame->ExportTiledMap(opened, QString::fromStdString(tmx)));
        EXPECT_EQ(prompt.messages,
                  std::vector<std::string>{"The Tiled map could not be written:\n" + tmx +
                                           ": cannot be written (" + c.reason + ")"});
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path("")))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected{"dir.tmx", "full.tmx", "level.lvl"};
    if (full != "/dev/full")
        expected.insert(expected.begin() + 1, "full");
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("full.tmx")));
}

TEST_F(TiledMapMenu, AMapThatCannotBeALevelIsRefusedWithTheReason) {
    const std::string tmx = folder.Write("small.tmx", {});
    QFile file(QString::fromStdString(tmx));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<map orientation=\"orthogonal\" width=\"10\" height=\"10\" tilewidth=\"16\" "
               "tileheight=\"16\"/>");
    file.close();
    EXPECT_FALSE(frame->ImportTiledMap(QString::fromStdString(tmx)));
    EXPECT_TRUE(frame->ChildFrames().empty());
    EXPECT_EQ(prompt.messages,
              std::vector<std::string>{
                  "small.tmx cannot be imported: it is 10 x 10 cells; a level is 1024 x 1024"});
}

} // namespace
} // namespace krav
