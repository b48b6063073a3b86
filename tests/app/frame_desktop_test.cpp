// How the main frame behaves as a desktop window: an idle editor does nothing, titles name the
// level once, the Window menu lists and arranges the levels, the status bar is kept with the
// layout, and files handed over by a second editor open in this one.
#include "document/CKRAVDoc.h"
#include "frame/CommandIds.h"
#include "shell/CChildFrame.h"
#include "shell/CKRAVApp.h"
#include "shell/CMainFrame.h"
#include "shell/SingleInstance.h"
#include "support/FrameFixture.h"
#include "support/LevelBytes.h"
#include "view/CKRAVView.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <future>
#include <gtest/gtest.h>

namespace krav {
namespace {

class FrameDesktop : public test::FrameFixture {
protected:
    QString LevelFile(const std::string& name) {
        test::Bytes level;
        test::AppendRecord(level, 1, 0, 0);
        return QString::fromStdString(folder.Write(name, level));
    }

    QMenu* WindowMenu() {
        for (QAction* action : frame->menuBar()->actions())
            if (action->text() == QStringLiteral("&Window"))
                return action->menu();
        return nullptr;
    }
};

// Counts what an idle editor does: title writes of any of its windows, and turns of the
// event loop.
class IdleWatch : public QObject {
public:
    IdleWatch() {
        QCoreApplication::instance()->installEventFilter(this);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, this,
                [this] { ++wakeUps; });
    }
    ~IdleWatch() override { QCoreApplication::instance()->removeEventFilter(this); }

    int titleWrites = 0;
    int wakeUps = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::ModifiedChange)
            ++titleWrites;
        return QObject::eventFilter(watched, event);
    }
};

TEST_F(FrameDesktop, AnIdleEditorSleeps) {
    ASSERT_TRUE(frame->NewLevel());
    ASSERT_TRUE(frame->NewLevel());
    frame->ActiveView()->Engine().SetForeBack(3, true); // a modified level too
    QTest::mouseClick(frame->ActiveView()->viewport(), Qt::LeftButton, {}, QPoint(8, 8));
    QTest::qWait(200); // settle: placements, first paints, the update after the click
    IdleWatch watch;
    QTest::qWait(1000);
    EXPECT_LE(watch.titleWrites, 2);
    // QTest::qWait itself wakes every 10 ms or so; a busy loop wakes thousands of times.
    EXPECT_LE(watch.wakeUps, 200);
}

TEST_F(FrameDesktop, TitlesNameTheLevelOnce) {
    ASSERT_TRUE(frame->OpenLevel(LevelFile("a.lvl")));
    QTest::qWait(50);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Orbalon Map Editor - [a.lvl[*]]"));
    EXPECT_FALSE(frame->isWindowModified());
    QTest::mouseClick(frame->ActiveView()->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
    QTest::qWait(50);
    EXPECT_TRUE(frame->isWindowModified()); // shown as "[a.lvl*]"
    ASSERT_TRUE(frame->SaveLevel(frame->ChildFrames().front(), false));
    QTest::qWait(50);
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Orbalon Map Editor - [a.lvl[*]]"));
}

TEST_F(FrameDesktop, TheWindowMenuListsTheLevelsAndSwitchesBetweenThem) {
    ASSERT_TRUE(frame->OpenLevel(LevelFile("a.lvl")));
    ASSERT_TRUE(frame->NewLevel());
    QMenu* menu = WindowMenu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QStringList entries;
    QAction* first = nullptr;
    for (QAction* action : menu->actions()) {
        if (!action->text().startsWith(QLatin1Char('&')) || action->menu())
            continue;
        if (action->text().at(1).isDigit()) {
            entries.append(action->text() +
                           (action->isChecked() ? QStringLiteral(" (checked)") : QString()));
            if (!first)
                first = action;
        }
    }
    EXPECT_EQ(entries, (QStringList{"&1 a.lvl", "&2 KRAV1 (checked)"}));
    ASSERT_NE(first, nullptr);
    first->trigger();
    EXPECT_EQ(frame->ChildFrames().front(), frame->findChild<QMdiArea*>()->activeSubWindow());
    emit menu->aboutToShow(); // rebuilt, not appended
    int numbered = 0;
    for (QAction* action : menu->actions())
        numbered += action->isCheckable() && action->text().startsWith('&');
    EXPECT_EQ(numbered, 2);
}

TEST_F(FrameDesktop, TileHorizontallyStacksAndTileVerticallyPutsSideBySide) {
    ASSERT_TRUE(frame->NewLevel());
    ASSERT_TRUE(frame->NewLevel());
    const auto geometries = [&] {
        QList<QRect> rects;
        for (CChildFrame* child : frame->ChildFrames())
            rects.append(child->geometry());
        return rects;
    };
    frame->Action(ID_WINDOW_TILE_HORZ)->trigger();
    auto rects = geometries();
    EXPECT_EQ(rects[0].width(), rects[1].width());
    EXPECT_EQ(rects[0].bottom() + 1, rects[1].top());
    frame->Action(ID_WINDOW_TILE_VERT)->trigger();
    rects = geometries();
    EXPECT_EQ(rects[0].height(), rects[1].height());
    EXPECT_EQ(rects[0].right() + 1, rects[1].left());
}

TEST_F(FrameDesktop, CascadeMakesWindowsOfTwoThirdsTheAreaATitleBarApart) {
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(frame->NewLevel());
    auto* area = frame->findChild<QMdiArea*>();
    QMdiSubWindow* active = area->activeSubWindow();
    const QSize space = area->viewport()->size();
    frame->Action(ID_WINDOW_CASCADE)->trigger();
    const QList<QMdiSubWindow*> stacked = area->subWindowList(QMdiArea::StackingOrder);
    ASSERT_EQ(stacked.size(), 3);
    const int titleBar = stacked.front()->widget()->geometry().top();
    EXPECT_GT(titleBar, 10);
    for (int i = 0; i < 3; ++i) {
        const QRect r = stacked[i]->geometry();
        EXPECT_EQ(r.size(), QSize(space.width() * 2 / 3, space.height() * 2 / 3)) << i;
        EXPECT_EQ(r.topLeft(), QPoint(i * titleBar, i * titleBar)) << i;
        // The title of each shows above the next.
        EXPECT_EQ(stacked[i]->widget()->geometry().top(), titleBar) << i;
    }
    EXPECT_EQ(stacked.back(), active) << "the active window stays on top";
    EXPECT_EQ(area->activeSubWindow(), active);
    for (CChildFrame* child : frame->ChildFrames())
        EXPECT_FALSE(child->Document().IsModified()) << "arranging windows changed a level";
}

TEST_F(FrameDesktop, CascadeStartsAgainAtTheCornerWhenTheAreaIsFull) {
    // More windows than steps fit in the third of the area left beside a window.
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(frame->NewLevel());
    auto* area = frame->findChild<QMdiArea*>();
    frame->Action(ID_WINDOW_CASCADE)->trigger();
    const QRect space = area->viewport()->rect();
    int atOrigin = 0;
    for (QMdiSubWindow* window : area->subWindowList()) {
        EXPECT_TRUE(space.contains(window->geometry())) << window->windowTitle().toStdString();
        atOrigin += window->geometry().topLeft() == QPoint(0, 0);
    }
    EXPECT_GE(atOrigin, 2);
}

TEST_F(FrameDesktop, TheStatusBarIsKeptWithTheLayout) {
    frame->Action(ID_VIEW_STATUS_BAR)->trigger();
    EXPECT_FALSE(frame->statusBar()->isVisible());
    frame->close();
    frame = std::make_unique<CMainFrame>();
    frame->show();
    EXPECT_FALSE(frame->statusBar()->isVisible());
    frame->UpdateCommandUi();
    EXPECT_FALSE(frame->Action(ID_VIEW_STATUS_BAR)->isChecked());
}

TEST_F(FrameDesktop, ShownPalettesAreCheckedInTheMenu) {
    ASSERT_TRUE(frame->NewLevel());
    QTest::qWait(50);
    frame->UpdateCommandUi();
    EXPECT_TRUE(frame->Action(ID_TOGGLE_RADAR)->isChecked());
    EXPECT_FALSE(frame->Action(ID_TOGGLE_SPECIAL_OBJECTS)->isChecked());
    // A checked entry with a picture would show the picture pressed in, not a check mark.
    EXPECT_FALSE(frame->Action(ID_TOGGLE_RADAR)->isIconVisibleInMenu());
}

TEST_F(FrameDesktop, FilesHandedOverOpenInTheRunningEditor) {
    SingleInstance instance;
    ASSERT_TRUE(instance.Listen());
    QObject::connect(&instance, &SingleInstance::filesReceived, frame.get(),
                     &CMainFrame::OpenHandedOver);
    const QString a = LevelFile("a.lvl");
    const QString b = LevelFile("b.lvl");
    // The second editor blocks while it waits for the answer: it runs beside this event loop.
    auto handedOver = std::async(std::launch::async, [&] {
        return SingleInstance::HandOver({a, b}, 5000);
    });
    while (handedOver.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QTest::qWait(10);
    EXPECT_TRUE(handedOver.get());
    QStringList opened;
    for (CChildFrame* child : frame->ChildFrames())
        opened.append(QString::fromStdString(child->Document().GetTitle()));
    EXPECT_EQ(opened, (QStringList{"a.lvl", "b.lvl"}));
}

TEST_F(FrameDesktop, NobodyToHandOverToMeansStartingAlone) {
    EXPECT_FALSE(SingleInstance::HandOver({QStringLiteral("x.lvl")}, 200));
}

} // namespace
} // namespace krav
