// File > Export Picture: the same bytes as krav-lvl render, the dialog's choices, and no file
// left behind by a cancelled or failed export.
#include "shell/ExportPictureDialog.h"
#include "support/CommandRun.h"
#include "support/FrameFixture.h"
#include "view/CKRAVView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QProgressDialog>
#include <QTimer>
#include <filesystem>

namespace krav {
namespace {

class ExportPicture : public test::FrameFixture {
protected:
    // A level with its own tile set, tiles, a flag and objects across the areas' edges.
    CChildFrame& OpenLevel() {
        test::Bytes bytes = test::MakeBmp();
        for (int i = 0; i < 400; ++i)
            test::AppendRecord(bytes, 1 + i % 150, i % 40, i / 40 + 3);
        test::AppendRecord(bytes, 170, 14, 23);
        test::AppendRecord(bytes, 219, 7, 18);
        test::AppendRecord(bytes, 220, 20, 30);
        test::AppendRecord(bytes, 217, 40, 25);
        test::AppendRecord(bytes, 100, 1023, 1023);
        level = folder.Write("level.lvl", bytes);
        EXPECT_TRUE(frame->OpenLevel(QString::fromStdString(level)));
        return *frame->ChildFrames().front();
    }

    std::string level;
};

TEST_F(ExportPicture, WritesTheBytesKravLvlRenderWrites) {
    CChildFrame& child = OpenLevel();
    struct Case {
        Rect area;
        int zoom;
        bool grid;
        const char* arguments;
    };
    const Case cases[] = {
        {{0, 0, 1024, 1024}, 0, false, ""},
        {{5, 15, 45, 50}, 2, false, "--zoom 1:4 --area 5,15,45,50"},
        {{5, 15, 45, 50}, 4, true, "--zoom 1:1 --area 5,15,45,50 --grid"},
        {{1000, 1010, 1024, 1024}, 5, true, "--zoom 2:1 --area 1000,1010,1024,1024 --grid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const std::string exported = folder.Path("exported.png");
        const std::string rendered = folder.Path("rendered.png");
        ASSERT_TRUE(frame->ExportPicture(&child,
                                         PictureRequest{c.area, PICTURE_ZOOMS[c.zoom], c.grid},
                                         QString::fromStdString(exported)));
        const test::Run run = test::RunCommand(std::string(KRAV_LVL) + " render " + level + " " +
                                                   rendered + " " + c.arguments,
                                               folder);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(test::ScratchFolder::Read(exported) == test::ScratchFolder::Read(rendered));
    }
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ExportPicture, CancellingLeavesTheOldFileAlone) {
    CChildFrame& child = OpenLevel();
    const std::string path = folder.Write("picture.png", {'o', 'l', 'd'});
    // Cancel is pressed while the first bands are written.
    QTimer::singleShot(0, frame.get(), [this] {
        if (auto* progress = frame->findChild<QProgressDialog*>())
            progress->cancel();
    });
    EXPECT_FALSE(frame->ExportPicture(&child,
                                      PictureRequest{{0, 0, 1024, 1024}, PICTURE_ZOOMS[5], true},
                                      QString::fromStdString(path)));
    EXPECT_EQ(test::ScratchFolder::Read(path), (test::Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(
                  std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()),
                  std::filesystem::directory_iterator()),
              2); // the level and the old picture
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ExportPicture, AFailureIsShownWithTheFilesName) {
    CChildFrame& child = OpenLevel();
    const std::string path = folder.Path("missing/picture.png");
    EXPECT_FALSE(frame->ExportPicture(&child, PictureRequest{}, QString::fromStdString(path)));
    EXPECT_EQ(prompt.messages, std::vector<std::string>{"The picture could not be written to " +
                                                        path + ". (No such file or directory)"});
}

TEST_F(ExportPicture, DialogOffersTheSelectionOnlyWhenThereIsOne) {
    const Rect visible{10, 20, 74, 68};
    const Rect selected{3, 4, 9, 7};
    ExportPictureDialog without(frame.get(), std::nullopt, visible, 0.5, true);
    without.SetArea(ExportPictureDialog::Selection);
    PictureRequest request = without.Request();
    EXPECT_EQ(request.area.Width(), MAP_SIZE); // the whole map stays chosen
    EXPECT_STREQ(request.zoom.text, "1:2");
    EXPECT_TRUE(request.grid);

    ExportPictureDialog with(frame.get(), selected, visible, 0.125, false);
    with.SetArea(ExportPictureDialog::Selection);
    request = with.Request();
    EXPECT_EQ(
        std::tie(request.area.left, request.area.top, request.area.right, request.area.bottom),
        std::tie(selected.left, selected.top, selected.right, selected.bottom));
    EXPECT_STREQ(request.zoom.text, "1:8");
    with.SetArea(ExportPictureDialog::VisibleArea);
    EXPECT_EQ(with.Request().area.left, visible.left);
    EXPECT_EQ(with.Request().area.bottom, visible.bottom);
    // The low zooms have no grid, whatever the box says.
    with.SetGrid(true);
    EXPECT_FALSE(with.Request().grid);
    with.SetZoom(4);
    EXPECT_TRUE(with.Request().grid);
}

// The Visible Area of a view whose window cuts a column and a row: the picture holds exactly
// the cells the view shows a pixel of (krav-lvl render's picture of them), and the level stays
// as it was.
TEST_F(ExportPicture, TheVisibleAreaIsEveryCellTheViewShowsAndNoOther) {
    CChildFrame& child = OpenLevel();
    CKRAVView& view = *child.View();
    child.showNormal();
    child.resize(517, 390);
    QApplication::processEvents();
    const ViewGeometry& geometry = view.Engine().Geometry();
    ASSERT_NE(geometry.ClientWidth() % geometry.CellWidth(), 0) << "no column is cut";
    ASSERT_NE(geometry.ClientHeight() % geometry.CellHeight(), 0) << "no row is cut";
    const Rect shown{0, 0, (geometry.ClientWidth() + 15) / 16, (geometry.ClientHeight() + 15) / 16};
    const std::vector<std::uint8_t> before = child.Document().Serialize();
    QTimer::singleShot(0, frame.get(), [] {
        auto* dialog = qobject_cast<ExportPictureDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->SetArea(ExportPictureDialog::VisibleArea);
        dialog->SetZoom(4); // 1:1
        dialog->accept();
    });
    const std::string exported = folder.Path("visible.png");
    ASSERT_TRUE(frame->ExportPicture(&child, std::nullopt, QString::fromStdString(exported)));
    const std::string rendered = folder.Path("rendered.png");
    const std::string area = std::to_string(shown.right) + "," + std::to_string(shown.bottom);
    const test::Run run = test::RunCommand(std::string(KRAV_LVL) + " render " + level + " " +
                                               rendered + " --zoom 1:1 --grid --area 0,0," + area,
                                           folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(test::ScratchFolder::Read(exported) == test::ScratchFolder::Read(rendered))
        << "the picture is not of cells 0,0 to " << area;
    EXPECT_EQ(child.Document().Serialize(), before);
    EXPECT_FALSE(child.Document().IsModified());
}

} // namespace
} // namespace krav
