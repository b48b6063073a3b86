// What only the editor's windows do: menus, enabling without a level, the save prompt, the
// recent files, the layout kept across runs, and input reaching the map and the radar.
#include "document/CKRAVDoc.h"
#include "document/Messages.h"
#include "frame/CommandIds.h"
#include "palettes/CRadarWnd.h"
#include "render/BuiltinObjectPictures.h"
#include "render/MapRenderer.h"
#include "shell/CChildFrame.h"
#include "shell/CKRAVApp.h"
#include "shell/CMainFrame.h"
#include "support/FakePrompt.h"
#include "support/FrameFixture.h"
#include "support/LevelBytes.h"
#include "view/CKRAVView.h"

#include <QAction>
#include <QMenuBar>
#include <QSettings>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace krav {
namespace {

QStringList MenuTitles(CMainFrame& frame) {
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions())
        titles.append(action->text());
    return titles;
}

class Shell : public test::FrameFixture {
protected:
    CKRAVView& View() { return *frame->ActiveView(); }
    // Client point of the middle of a map cell at the view's zoom.
    QPoint At(int column, int row) {
        const ViewGeometry& view = View().Engine().Geometry();
        return {(column - view.LeftCol()) * view.CellWidth() + view.CellWidth() / 2,
                (row - view.TopRow()) * view.CellHeight() + view.CellHeight() / 2};
    }
};

TEST_F(Shell, MenusFollowWhetherALevelIsOpen) {
    EXPECT_EQ(MenuTitles(*frame), (QStringList{"&File", "&View", "&Help"}));
    for (const int id : {ID_TOOL_PENCIL, ID_EDIT_UNDO, ID_TOGGLE_GRID, ID_TOGGLE_RADAR,
                         ID_TOGGLE_TILESET, ID_FILE_SAVE, ID_EDIT_PASTE}) {
        frame->UpdateCommandUi();
        EXPECT_FALSE(frame->Action(id)->isEnabled()) << id;
    }
    ASSERT_TRUE(frame->NewLevel());
    frame->UpdateCommandUi();
    EXPECT_EQ(MenuTitles(*frame),
              (QStringList{"&File", "&Edit", "&View", "Tools", "&Window", "&Help"}));
    EXPECT_TRUE(frame->Action(ID_TOOL_PENCIL)->isEnabled());
    EXPECT_TRUE(frame->Action(ID_TOOL_PENCIL)->isChecked());
    EXPECT_EQ(frame->ChildFrames().front()->windowTitle(), "KRAV1[*]");
}

TEST_F(Shell, ClosingAModifiedLevelAsksToSave) {
    ASSERT_TRUE(frame->NewLevel());
    CChildFrame* child = frame->ChildFrames().front();
    child->Document().SetCell(0, 0, 5);
    prompt.threeWayAnswers = {Prompt::Answer::Cancel};
    EXPECT_FALSE(frame->CloseLevel(child));
    EXPECT_EQ(prompt.messages.back(), "Save changes to KRAV1?");
    EXPECT_EQ(frame->ChildFrames().size(), 1);
    prompt.threeWayAnswers = {Prompt::Answer::No};
    EXPECT_TRUE(frame->CloseLevel(child));
    EXPECT_TRUE(frame->ChildFrames().isEmpty());
    EXPECT_EQ(MenuTitles(*frame).size(), 3);
}

TEST_F(Shell, OpenedLevelsGoToTheRecentListAndOpenOnlyOnce) {
    const std::string first = folder.Write("first.lvl", {});
    const std::string second = folder.Write("second.lvl", {});
    ASSERT_TRUE(frame->OpenLevel(QString::fromStdString(first)));
    ASSERT_TRUE(frame->OpenLevel(QString::fromStdString(second)));
    ASSERT_TRUE(frame->OpenLevel(QString::fromStdString(first)));
    EXPECT_EQ(frame->ChildFrames().size(), 2) << "an open level is activated, not opened again";
    auto profile = CKRAVApp::Profile();
    EXPECT_EQ(profile->value("Recent File List/File1").toString().toStdString(), second);
    EXPECT_EQ(profile->value("Recent File List/File2").toString().toStdString(), first);

    // A level that fails to read leaves no window.
    test::Bytes bad;
    test::AppendRecord(bad, 0, 0, 0);
    prompt.answers.push_back(false);
    EXPECT_FALSE(frame->OpenLevel(QString::fromStdString(folder.Write("bad.lvl", bad))));
    EXPECT_EQ(frame->ChildFrames().size(), 2);
    // The reader's words, where the record is, and the offer to open it keeping it (declined).
    EXPECT_EQ(prompt.messages.back().rfind(messages::TILE_ID_OUT_OF_RANGE, 0), 0u);
    EXPECT_NE(prompt.messages.back().find(messages::OPEN_KEEPING_UNKNOWN), std::string::npos);
}

TEST_F(Shell, TheToolbarLayoutSurvivesARestart) {
    frame->findChild<QToolBar*>("Tools")->hide();
    frame->close();
    frame = std::make_unique<CMainFrame>();
    frame->show();
    EXPECT_FALSE(frame->findChild<QToolBar*>("Tools")->isVisible());
    EXPECT_TRUE(frame->findChild<QToolBar*>("Main")->isVisible());
}

TEST_F(Shell, APencilStrokeReachesTheMapAndTheRadar) {
    ASSERT_TRUE(frame->NewLevel());
    QTest::qWait(10);
    CKRAVView& view = View();
    view.Engine().SetForeBack(169, true); // a flag: yellow on the radar
    QWidget* client = view.viewport();
    QTest::mousePress(client, Qt::LeftButton, {}, At(2, 3));
    QMouseEvent move(QEvent::MouseMove, At(4, 3), client->mapToGlobal(At(4, 3)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(client, &move);
    QTest::mouseRelease(client, Qt::LeftButton, {}, At(4, 3));
    // The move jumped cell (3, 3): the stroke fills it in.
    for (const int column : {2, 3, 4})
        EXPECT_EQ(view.Document().GetCell(3, column), FLAG_CELL) << column;
    EXPECT_EQ(view.Engine().FlagCount(), 3);
    EXPECT_EQ(view.Engine().Radar().IndexAt(3, 3), 5) << "yellow";
    EXPECT_EQ(view.Engine().Radar().IndexAt(4, 3), 5) << "yellow";
    EXPECT_TRUE(view.Engine().CanUndo());
    EXPECT_TRUE(view.Document().IsModified());
    EXPECT_TRUE(frame->ChildFrames().front()->isWindowModified() ||
                (frame->UpdateCommandUi(), true));
}

TEST_F(Shell, TheViewShowsTheMapAtEveryZoom) {
    ASSERT_TRUE(frame->NewLevel());
    QTest::qWait(10);
    CKRAVView& view = View();
    view.Engine().SetForeBack(FLAG_CELL, true);
    view.Engine().OnLButtonDown(MK_LBUTTON, {1, 1});
    view.Engine().OnLButtonUp(0, {1, 1});
    struct Step {
        double zoom;
        QPoint pixel;
        QRgb colour;
    };
    // At 1:1 the grid line lies on each cell's last pixel column; at low zoom the map is the
    // radar's colours: the flag yellow, empty cells black.
    const Step steps[] = {{2.0, {31, 40}, 0xFF5F5F5F}, {1.0, {15, 20}, 0xFF5F5F5F},
                          {0.5, {10, 7}, 0xFF5F5F5F},  {0.25, {1, 1}, 0xFFFFFF00},
                          {0.125, {0, 0}, 0xFFFFFF00}, {0.0625, {5, 5}, 0xFF000000}};
    view.Engine().ZoomAt(0, 0, false);
    for (const Step& step : steps) {
        while (view.Engine().Geometry().Zoom() > step.zoom)
            view.Engine().ZoomAt(0, 0, true);
        const QImage shown =
            view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown.pixel(step.pixel), step.colour) << step.zoom;
    }
}

// The view and krav-lvl render draw with the same renderer: what the view shows of an area is
// what the renderer gives for that area at that zoom.
TEST_F(Shell, TheViewShowsWhatTheRendererDraws) {
    ASSERT_TRUE(frame->NewLevel());
    QTest::qWait(10);
    CKRAVView& view = View();
    MapViewEngine& engine = view.Engine();
    engine.Stamp().SetObject(OBJECT_6X6);
    engine.Stamp().PlaceStamp({40, 40});
    engine.Stamp().StampObject();
    engine.SetForeBack(37, true);
    engine.OnLButtonDown(MK_LBUTTON, {100, 20});
    engine.OnLButtonUp(0, {100, 20});
    const QImage shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const ViewGeometry& geometry = engine.Geometry();
    const Rect client = geometry.ClientRect();
    QImage drawn(client.Width(), client.Height(), QImage::Format_RGB32);
    MapRenderer renderer;
    renderer.Render({view.Document().GetCells(), view.Document().GetTileSet(), &engine.Radar(),
                     &BuiltinObjectPictures()},
                    geometry, client, reinterpret_cast<std::uint32_t*>(drawn.bits()),
                    drawn.bytesPerLine() / 4);
    EXPECT_EQ(shown, drawn);
}

} // namespace
} // namespace krav
