// File > Import Tileset and File > Export Tileset: the dialog's preview, and a new tile set
// taken up by everything that shows tiles.
#include "document/Messages.h"
#include "document/TileSetChooser.h"
#include "document/TileSetExport.h"
#include "palettes/TileSetPaletteWnd.h"
#include "shell/ImportTileSetDialog.h"
#include "support/FrameFixture.h"
#include "view/CKRAVView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <filesystem>
#include <unistd.h>

namespace krav {
namespace {

class TileSetMenu : public test::FrameFixture {
protected:
    CChildFrame& OpenLevel() {
        test::Bytes bytes;
        test::AppendRecord(bytes, 12, 3, 4);
        test::AppendRecord(bytes, 170, 5, 4);
        EXPECT_TRUE(frame->OpenLevel(QString::fromStdString(folder.Write("level.lvl", bytes))));
        return *frame->ChildFrames().front();
    }
};

TEST_F(TileSetMenu, ImportedTileSetIsShownAtOnceAndMapStaysAsItWas) {
    CChildFrame& child = OpenLevel();
    const std::vector<std::uint8_t> before = child.Document().Serialize();
    const test::Bytes bmp = test::MakeBmp();
    TileSetChooser chooser;
    chooser.Select(folder.Write("t.bmp", bmp));
    ASSERT_TRUE(frame->ApplyTileSetChoice(chooser));

    EXPECT_TRUE(child.Document().IsModified());
    const std::vector<std::uint8_t> after = child.Document().Serialize();
    // The level is the BMP, then the same records.
    ASSERT_EQ(after.size(), bmp.size() + before.size());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin() + bmp.size()));
    const QImage& shown = child.View()->TileSetImage();
    const TileSetBitmap& tileSet = *child.Document().GetTileSet();
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFFu, tileSet.ColourRgb(tileSet.PixelAt(0, 0)));
    EXPECT_EQ(frame->TileSetPalette()->TileSetImage(), shown);
}

TEST_F(TileSetMenu, BuiltInChoiceOnABuiltInLevelChangesNothing) {
    CChildFrame& child = OpenLevel();
    TileSetChooser chooser;
    chooser.Select(folder.Path("level.lvl"));
    ASSERT_EQ(chooser.Choice(), TILESET_BUILTIN);
    EXPECT_FALSE(frame->ApplyTileSetChoice(chooser));
    EXPECT_FALSE(child.Document().IsModified());
}

TEST_F(TileSetMenu, ExportWritesTheBmpTheImportReadsBack) {
    CChildFrame& child = OpenLevel();
    const std::string path = folder.Path("out.bmp");
    ASSERT_TRUE(frame->ExportTileSet(&child, QString::fromStdString(path)));
    EXPECT_EQ(test::ScratchFolder::Read(path), TileSetBmpFile(*child.Document().GetTileSet()));
    TileSetChooser chooser;
    chooser.Select(path);
    EXPECT_EQ(chooser.Choice(), TILESET_IMPORTED);
}

// A tile set that cannot be written says where and why, leaves what was there, and never
// passes for written.
TEST_F(TileSetMenu, AFailedExportSaysTheSystemsReason) {
    CChildFrame& child = OpenLevel();
    std::filesystem::create_directory(folder.Path("dir.bmp"));
    const std::string kept = folder.Write("kept.bmp", {'o', 'l', 'd'});
    std::filesystem::permissions(kept, std::filesystem::perms::owner_read);
    const bool rootIgnoresModes = ::access(kept.c_str(), W_OK) == 0;
    struct Case {
        std::string path;
        std::string reason;
    };
    std::vector<Case> cases = {{folder.Path("dir.bmp"), "Is a directory"},
                               {folder.Path("missing/t.bmp"), "No such file or directory"},
                               {"/proc/x.bmp", ""}};
    if (!rootIgnoresModes)
        cases.push_back({kept, "Permission denied"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        prompt.messages.clear();
        EXPECT_FALSE(frame->ExportTileSet(&child, QString::fromStdString(c.path)));
        ASSERT_EQ(prompt.messages.size(), 1u);
        const std::string& message = prompt.messages.front();
        const std::string start = "The tile set could not be written to " + c.path + ". (";
        EXPECT_EQ(message.substr(0, start.size()), start) << message;
        EXPECT_EQ(message.back(), ')') << message;
        if (!c.reason.empty()) {
            EXPECT_EQ(message, start + c.reason + ")");
        }
    }
    EXPECT_EQ(test::ScratchFolder::Read(kept), (test::Bytes{'o', 'l', 'd'}));
    EXPECT_FALSE(child.Document().IsModified());
}

TEST_F(TileSetMenu, DialogPreviewsBesideTheFilesAndFallsBackToThePlaceholder) {
    ImportTileSetDialog dialog(frame.get(), QString::fromStdString(folder.Path("")));
    EXPECT_EQ(dialog.windowTitle(), "Import Tile Set");
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    ASSERT_NE(grid, nullptr);
    const int last = grid->columnCount() - 1;
    ASSERT_NE(grid->itemAtPosition(0, last), nullptr);
    EXPECT_NE(qobject_cast<QGroupBox*>(grid->itemAtPosition(0, last)->widget()), nullptr);
    EXPECT_TRUE(dialog.ShowsPlaceholder());
    EXPECT_EQ(dialog.Chooser().Choice(), TILESET_NOTHING_SELECTED);

    emit dialog.currentChanged(QString::fromStdString(folder.Write("t.bmp", test::MakeBmp())));
    EXPECT_FALSE(dialog.ShowsPlaceholder());
    EXPECT_EQ(dialog.Chooser().Choice(), TILESET_IMPORTED);

    QImage wide(320, 160, QImage::Format_RGB32);
    wide.fill(Qt::red);
    const std::string png = folder.Path("wide.png");
    ASSERT_TRUE(wide.save(QString::fromStdString(png)));
    emit dialog.currentChanged(QString::fromStdString(png));
    EXPECT_TRUE(dialog.ShowsPlaceholder());
    EXPECT_EQ(dialog.NoteText(), "wide.png is 320 x 160; a tile set is 304 x 160");

    emit dialog.currentChanged(QString::fromStdString(folder.Write("t.bmp", test::MakeBmp())));
    EXPECT_EQ(dialog.NoteText(), "");
}

// A BMP that gives no tile set says why, as a picture does; OK on it keeps the dialog open and
// changes nothing.
TEST_F(TileSetMenu, ARefusedFileShowsWhyAndOkKeepsTheDialog) {
    test::Bytes cut = test::MakeBmp();
    cut.resize(40);
    const struct {
        const char* file;
        test::Bytes bytes;
        std::string note;
    } cases[] = {
        {"four.bmp", test::MakeBmp({.bitsPerPixel = 4}),
         std::string("four.bmp: ") + messages::NOT_256_COLOURS},
        {"deep.bmp", test::MakeBmp({.bitsPerPixel = 24}),
         std::string("deep.bmp: ") + messages::NOT_256_COLOURS},
        {"cut.bmp", cut, std::string("cut.bmp: ") + messages::BMP_TRUNCATED},
        {"zeros.bin", test::Bytes(3000, 0), "zeros.bin is not a BMP, a picture or a level"},
    };
    CChildFrame& child = OpenLevel();
    const std::vector<std::uint8_t> before = child.Document().Serialize();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ImportTileSetDialog dialog(frame.get(), QString::fromStdString(folder.Path("")));
        const QString path = QString::fromStdString(folder.Write(c.file, c.bytes));
        emit dialog.currentChanged(path);
        EXPECT_TRUE(dialog.ShowsPlaceholder());
        EXPECT_EQ(dialog.NoteText().toStdString(), c.note);

        dialog.selectFile(path);
        QMetaObject::invokeMethod(&dialog, "accept"); // as the Open button does
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(frame->ApplyTileSetChoice(dialog.Chooser()));
        EXPECT_FALSE(child.Document().IsModified());
        EXPECT_EQ(child.Document().Serialize(), before);
    }
    ImportTileSetDialog dialog(frame.get(), QString::fromStdString(folder.Path("")));
    dialog.selectFile(QString::fromStdString(folder.Write("t.bmp", test::MakeBmp())));
    QMetaObject::invokeMethod(&dialog, "accept"); // as the Open button does
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
} // namespace krav
