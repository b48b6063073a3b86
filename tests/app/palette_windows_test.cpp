// The palettes as windows: never the keyboard's, never minimised, their titles readable, the
// Tools menu's marks, and their places and visibility kept in the profile between runs.
#include "frame/CommandIds.h"
#include "palettes/CRadarWnd.h"
#include "palettes/CSpclObjWnd.h"
#include "palettes/PaletteWindowFlags.h"
#include "palettes/TileInfoWnd.h"
#include "palettes/TilePreviewWnd.h"
#include "palettes/TileSetPaletteWnd.h"
#include "shell/PaletteLayout.h"
#include "support/FrameFixture.h"
#include "view/CKRAVView.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QTest>

namespace krav {
namespace {

class PaletteWindows : public test::FrameFixture {
protected:
    std::vector<QWidget*> Palettes() const {
        return {frame->findChild<TileSetPaletteWnd*>(), frame->findChild<TileInfoWnd*>(),
                frame->findChild<CRadarWnd*>(), frame->findChild<CSpclObjWnd*>()};
    }
    // A level open with its palettes placed and shown.
    void OpenLevel() {
        ASSERT_TRUE(frame->NewLevel());
        // QTRY_VERIFY would only return from this function: gtest must see the failure.
        ASSERT_TRUE(QTest::qWaitFor([this] { return frame->TileSetPalette()->isVisible(); }));
    }
    int TopRow() { return frame->ActiveView()->Engine().Geometry().TopRow(); }
};

TEST_F(PaletteWindows, NoneTakesTheKeyboardOrOffersMinimiseOrMaximise) {
    for (QWidget* palette : Palettes()) {
        SCOPED_TRACE(palette->windowTitle().toStdString());
        const Qt::WindowFlags flags = palette->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::Tool));
        EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_TRUE(palette->testAttribute(Qt::WA_ShowWithoutActivating));
        EXPECT_EQ(palette->focusPolicy(), Qt::NoFocus);
        for (const QWidget* part : palette->findChildren<QWidget*>())
            EXPECT_EQ(part->focusPolicy(), Qt::NoFocus) << part->metaObject()->className();
    }
}

TEST_F(PaletteWindows, KeysThatReachAPaletteMoveTheViewAndNeverTheLevel) {
    ASSERT_NO_FATAL_FAILURE(OpenLevel());
    for (QWidget* palette : Palettes()) {
        SCOPED_TRACE(palette->windowTitle().toStdString());
        ASSERT_EQ(TopRow(), 0);
        QTest::keyClick(palette, Qt::Key_PageDown);
        EXPECT_GT(TopRow(), 0) << "Page Down went elsewhere";
        QTest::keyClick(palette, Qt::Key_PageUp);
        EXPECT_EQ(TopRow(), 0);
        // Keys that would draw with a tool in the view (a selection's Delete) change nothing here.
        QTest::keyClick(palette, Qt::Key_Delete);
        QTest::keyClick(palette, Qt::Key_Escape);
    }
    EXPECT_FALSE(frame->ActiveView()->Document().IsModified());

    // Without a level the keys go nowhere, and nothing breaks.
    frame->CloseLevel(frame->ChildFrames().front());
    QTest::keyClick(frame->findChild<TileSetPaletteWnd*>(), Qt::Key_PageDown);
    QTest::keyClick(frame->findChild<CRadarWnd*>(), Qt::Key_Down);
}

TEST_F(PaletteWindows, TileInfoIsWideEnoughForItsTitleWithThePreviewsCentred) {
    auto* info = frame->findChild<TileInfoWnd*>();
    EXPECT_GE(info->width(), TitleFitWidth(info));
    EXPECT_EQ(info->height(), 134);
    const int left = info->ForePreview()->x();
    EXPECT_EQ(info->BackPreview()->x(), left);
    EXPECT_LE(std::abs(left - (info->width() - left - TilePreviewWnd::SIZE)), 1);
}

TEST_F(PaletteWindows, TheToolsMenuMarksOneToolOfAGroup) {
    ASSERT_NO_FATAL_FAILURE(OpenLevel());
    QActionGroup* group = frame->Action(ID_TOOL_PENCIL)->actionGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->exclusionPolicy(), QActionGroup::ExclusionPolicy::Exclusive);
    for (int id = ID_TOOL_FIRST; id <= ID_TOOL_LAST; ++id) {
        if (QAction* tool = frame->Action(id)) {
            EXPECT_EQ(tool->actionGroup(), group) << id;
        }
    }
    // Nothing else is in the group: the toggles keep their check marks.
    EXPECT_EQ(group->actions().size(), 12);

    const auto checked = [&] {
        frame->UpdateCommandUi();
        std::vector<int> ids;
        for (QAction* tool : group->actions())
            if (tool->isChecked())
                ids.push_back(tool->data().toInt());
        return ids;
    };
    EXPECT_EQ(checked(), std::vector<int>{ID_TOOL_PENCIL});
    frame->Action(ID_TOOL_ERASER)->trigger();
    EXPECT_EQ(checked(), std::vector<int>{ID_TOOL_ERASER});
    // Choosing the current tool again keeps it (a group would otherwise uncheck nothing).
    frame->Action(ID_TOOL_ERASER)->trigger();
    EXPECT_EQ(checked(), std::vector<int>{ID_TOOL_ERASER});
    // A tile chosen in the palette switches to the Pencil: the mark follows the frame.
    emit frame->TileSetPalette()->tileChosen(5, true);
    EXPECT_EQ(checked(), std::vector<int>{ID_TOOL_PENCIL});
    frame->Action(ID_TOOL_STAMP)->trigger();
    EXPECT_EQ(checked(), std::vector<int>{ID_TOOL_STAMP});

    // Without a level no tool is marked, and none can be chosen.
    frame->CloseLevel(frame->ChildFrames().front());
    EXPECT_EQ(checked(), std::vector<int>{});
    for (QAction* tool : group->actions())
        EXPECT_FALSE(tool->isEnabled());
}

TEST_F(PaletteWindows, PlacesAndVisibilityComeBackAtTheNextStart) {
    ASSERT_NO_FATAL_FAILURE(OpenLevel());
    auto* radar = frame->findChild<CRadarWnd*>();
    radar->move(200, 150);
    radar->resize(150, 140);
    frame->Action(ID_TOGGLE_TILE_INFO)->trigger();
    frame->Action(ID_TOOL_STAMP)->trigger(); // shows Special Objects
    auto* objects = frame->findChild<CSpclObjWnd*>();
    ASSERT_TRUE(objects->isVisible());
    objects->move(30, 40);
    QTest::qWait(300); // the palettes' edge snapping settles
    const QRect radarWas = radar->geometry();
    const QRect objectsWas = objects->geometry();
    // The last view closing hides the palettes; what the user left must be kept all the same.
    frame->CloseLevel(frame->ChildFrames().front());
    ASSERT_FALSE(radar->isVisible());
    frame->close();

    frame = std::make_unique<CMainFrame>();
    frame->SetPromptForTesting(prompt);
    frame->resize(1000, 700);
    frame->show();
    ASSERT_NO_FATAL_FAILURE(OpenLevel());
    ASSERT_TRUE(QTest::qWaitFor([this] { return frame->findChild<CSpclObjWnd*>()->isVisible(); }));
    EXPECT_EQ(frame->findChild<CRadarWnd*>()->geometry(), radarWas);
    EXPECT_EQ(frame->findChild<CSpclObjWnd*>()->geometry(), objectsWas);
    EXPECT_TRUE(frame->findChild<CRadarWnd*>()->isVisible());
    EXPECT_FALSE(frame->findChild<TileInfoWnd*>()->isVisible());
    frame->UpdateCommandUi();
    EXPECT_FALSE(frame->Action(ID_TOGGLE_TILE_INFO)->isChecked());
    EXPECT_TRUE(frame->Action(ID_TOGGLE_SPECIAL_OBJECTS)->isChecked());
}

TEST_F(PaletteWindows, ClosingTheLastLevelNeverKeepsThePalettesHidden) {
    ASSERT_NO_FATAL_FAILURE(OpenLevel());
    frame->CloseLevel(frame->ChildFrames().front());
    frame->close();
    frame = std::make_unique<CMainFrame>();
    frame->show();
    ASSERT_NO_FATAL_FAILURE(OpenLevel());
    EXPECT_TRUE(frame->findChild<CRadarWnd*>()->isVisible());
    EXPECT_TRUE(frame->findChild<TileInfoWnd*>()->isVisible());
    EXPECT_FALSE(frame->findChild<CSpclObjWnd*>()->isVisible());
}

TEST(KeptPalettes, WhatNoWindowCouldHaveIsNotKept) {
    test::ScratchFolder folder;
    const QString ini = QString::fromStdString(folder.Path("krav.ini"));
    QSettings profile(ini, QSettings::IniFormat);
    struct Case {
        const char* what;
        QVariant visible, at, size;
        bool keptVisible, keptPlace;
    };
    const QPoint at(10, 20);
    const QSize size(125, 125);
    const std::vector<Case> cases = {
        {"all sound", true, at, size, true, true},
        {"nothing", QVariant(), QVariant(), QVariant(), false, false},
        {"words", QStringLiteral("maybe"), QStringLiteral("here"), QStringLiteral("big"), false,
         false},
        {"a number for a flag", 1, at, size, false, true},
        {"no width", false, at, QSize(0, 125), true, false},
        {"negative height", false, at, QSize(125, -1), true, false},
        {"larger than any screen", false, at, QSize(125, 100000), true, false},
        {"far away", false, QPoint(-1000000, 0), size, true, false},
        {"a place without a size", false, at, QVariant(), true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        profile.clear();
        for (const auto& [key, value] :
             {std::pair{"Visible", c.visible}, {"FrameTopLeft", c.at}, {"Client", c.size}})
            if (value.isValid())
                profile.setValue(QStringLiteral("Palettes/Radar/") + key, value);
        profile.sync();
        QSettings reread(ini, QSettings::IniFormat);
        const KeptPalette kept = LoadKeptPalette(reread, QStringLiteral("Radar"));
        EXPECT_EQ(kept.visible.has_value(), c.keptVisible);
        EXPECT_EQ(kept.frameTopLeft.has_value(), c.keptPlace);
        EXPECT_EQ(kept.client.has_value(), c.keptPlace);
        if (c.keptPlace) {
            EXPECT_EQ(*kept.frameTopLeft, at);
            EXPECT_EQ(*kept.client, size);
        }
    }
}

} // namespace
} // namespace krav
