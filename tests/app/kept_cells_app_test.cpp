// The editor on a level with records of codes no tile or object has: Open offers to keep them;
// kept, they are drawn marked, named under the pointer, saved back as read, and a Tiled map
// that cannot hold them is refused. The editor must NEVER open such a level unasked, nor
// write part of an export it refuses.
#include "document/Messages.h"
#include "palettes/TileInfoWnd.h"
#include "support/FrameFixture.h"
#include "view/CKRAVView.h"

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <filesystem>

namespace krav {
namespace {

class KeptCellsEditor : public test::FrameFixture {
protected:
    // Opens the level, answering the offer to keep its unknown cells.
    bool Open(bool keep) {
        prompt.answers.push_back(keep);
        return frame->OpenLevel(QString::fromStdString(level));
    }
    // The middle of map cell (x, y) in the view's client area, at 1:1 from the origin.
    static QPoint CellMiddle(int x, int y) { return {x * 16 + 8, y * 16 + 8}; }

    const std::string level = folder.Write("real.lvl", test::LevelWithUnknownCodes());
};

TEST_F(KeptCellsEditor, OpenOffersToKeepThemAndOpensOnlyOnYes) {
    EXPECT_FALSE(Open(false));
    EXPECT_TRUE(frame->ChildFrames().isEmpty());
    ASSERT_FALSE(prompt.messages.empty());
    EXPECT_EQ(prompt.messages.back().rfind(messages::TILE_ID_OUT_OF_RANGE, 0), 0u);
    EXPECT_NE(prompt.messages.back().find("6 records"), std::string::npos);
    EXPECT_NE(prompt.messages.back().find(messages::OPEN_KEEPING_UNKNOWN), std::string::npos);

    ASSERT_TRUE(Open(true));
    ASSERT_EQ(frame->ChildFrames().size(), 1);
    CKRAVDoc& doc = frame->ActiveView()->Document();
    EXPECT_EQ(doc.GetCell(2, 5), KeptCell(241));
    EXPECT_FALSE(doc.IsModified());
    const std::string saved = folder.Path("saved.lvl");
    ASSERT_TRUE(doc.OnSaveDocument(saved, prompt));
    EXPECT_EQ(test::ScratchFolder::Read(saved), test::LevelWithUnknownCodes());
}

TEST_F(KeptCellsEditor, TheyAreDrawnMarkedAndNamedUnderThePointer) {
    ASSERT_TRUE(Open(true));
    CKRAVView& view = *frame->ActiveView();
    QTest::qWait(50);
    const QImage shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Left of the cell's white cross, inside its frame: magenta.
    EXPECT_EQ(shown.pixel(5 * 16 + 3, 2 * 16 + 8), qRgb(255, 0, 255));
    EXPECT_NE(shown.pixel(7 * 16 + 3, 2 * 16 + 8), qRgb(255, 0, 255)) << "a tile";

    QTest::mouseMove(view.viewport(), CellMiddle(5, 2));
    EXPECT_EQ(frame->TileInfo()->KeptCodeText(), QStringLiteral("code 241"));
    QTest::mouseMove(view.viewport(), CellMiddle(6, 2));
    EXPECT_EQ(frame->TileInfo()->KeptCodeText(), QStringLiteral("code 242"));
    QTest::mouseMove(view.viewport(), CellMiddle(7, 2));
    EXPECT_EQ(frame->TileInfo()->KeptCodeText(), QString());
    QTest::mouseMove(view.viewport(), CellMiddle(5, 2));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view.viewport(), &leave);
    EXPECT_EQ(frame->TileInfo()->KeptCodeText(), QString()) << "the pointer left the map";

    QHelpEvent help(QEvent::ToolTip, CellMiddle(20, 3),
                    view.viewport()->mapToGlobal(CellMiddle(20, 3)));
    QApplication::sendEvent(view.viewport(), &help);
    EXPECT_EQ(QToolTip::text(),
              QStringLiteral("Cell: code 241, no tile and no object (kept as read)"));
}

TEST_F(KeptCellsEditor, ExportingATiledMapIsRefusedWithTheReason) {
    ASSERT_TRUE(Open(true));
    const QString tmx = QString::fromStdString(folder.Path("map.tmx"));
    EXPECT_FALSE(frame->ExportTiledMap(frame->ChildFrames().front(), tmx));
    EXPECT_EQ(prompt.messages.back(),
              "The Tiled map could not be written:\nthe level holds 6 kept cells (codes 241, "
              "242, no tile and no object): a Tiled map cannot hold them, so nothing was "
              "written");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("map.tmx")));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("map-tiles.png")));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("map-objects.png")));
}

} // namespace
} // namespace krav
