// Work a stream of input asks for faster than a screen shows it: the status panes, the
// radar's changed cells and the main frame's update pass. None of them may ever drop the last
// change of a stream, cut a pane's text, or hold back input other than the pointer's moves.
#include "document/TileCodes.h"
#include "editing/RadarPicture.h"
#include "palettes/CRadarWnd.h"
#include "palettes/FramePacer.h"
#include "shell/StatusPane.h"
#include "shell/UiUpdateTrigger.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

// A pane beside a plain label in a shown status bar: the pane must be as wide as the label
// the bar would lay out (never narrower than its text, nor than its widest expected text),
// as high as the bar's row, and show the text.
TEST(StatusPanes, AreSizedAsAFreeLabelWouldBeForEveryText) {
    QMainWindow window;
    const QString widest = QStringLiteral("1024, 1024  :: AA99");
    auto* pane = new StatusPane(widest, window.statusBar());
    auto* plain = new QLabel(QStringLiteral(" "), window.statusBar());
    plain->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    window.statusBar()->addPermanentWidget(pane);
    window.statusBar()->addPermanentWidget(plain);
    window.resize(1500, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const int minimum = pane->fontMetrics().horizontalAdvance(widest) + 8;
    const std::vector<QString> texts = {
        QStringLiteral("   5,    7 :: A1"),
        widest,
        QStringLiteral("999, 999 --> 1024, 1024 :: A20 --> A20 and then some more text"),
        QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWW"), // as many characters, wider ones
        QStringLiteral("iiii"),
        QString::fromUtf8("\xEF\xBC\xB7\xEF\xBC\xB7\xEF\xBC\xB7 full width"),
        QStringLiteral("Flags: 1048576"),
        QStringLiteral(" "),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        pane->Show(text);
        QLabel free(text);
        free.setFrameStyle(QFrame::Panel | QFrame::Sunken);
        QApplication::processEvents();
        EXPECT_EQ(pane->text(), text);
        EXPECT_EQ(pane->width(), std::max(free.sizeHint().width(), minimum));
        EXPECT_EQ(pane->height(), plain->height());
    }
}

TEST(FramePacing, TheFirstChangeShowsAtOnceTheRestOnceAtTheFramesEndAndNoneIsLost) {
    int shown = 0;
    FramePacer pacer([&shown] { ++shown; });
    pacer.Changed();
    EXPECT_EQ(shown, 1);
    for (int i = 0; i < 5; ++i)
        pacer.Changed();
    EXPECT_EQ(shown, 1);
    QTest::qWait(3 * FramePacer::FRAME_MS);
    EXPECT_EQ(shown, 2); // the five together
    QTest::qWait(3 * FramePacer::FRAME_MS);
    EXPECT_EQ(shown, 2); // nothing changed: nothing more
    pacer.Changed();     // after a quiet frame: at once again
    EXPECT_EQ(shown, 3);
}

// A stroke's cells reach the radar's window, the last included, whatever their pace.
TEST(FramePacing, EveryCellOfAStrokeReachesTheRadarsWindow) {
    std::vector<Cell> cells(MAP_CELLS, EMPTY_CELL);
    RadarPicture picture;
    picture.Build(cells.data());
    const int key = 0;
    CRadarWnd radar(nullptr);
    radar.resize(200, 200);
    radar.ShowDocument(&key, &picture, {0, 0, 40, 30});
    radar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&radar));
    for (int x = 10; x < 60; ++x) { // below the view's outline
        cells[50 * MAP_SIZE + x] = FLAG_CELL;
        picture.UpdateCell(cells.data(), x, 50);
        radar.UpdateCell(x, 50);
        QApplication::processEvents();
    }
    QTest::qWait(3 * FramePacer::FRAME_MS);
    const QImage shown = radar.screen()->grabWindow(radar.winId()).toImage();
    const QRgb flag = shown.pixel(10, 50);
    EXPECT_NE(flag, shown.pixel(10, 51));
    for (int x = 10; x < 60; ++x)
        EXPECT_EQ(shown.pixel(x, 50), flag) << "cell " << x << ",50";
}

// Moves get one pass a frame, and the last move's pass always runs; a key or a click is
// answered in the next turn of the event loop even right after a move's pass.
TEST(FramePacing, TheUpdatePassFollowsMovesOnceAFrameAndOtherInputAtOnce) {
    int passes = 0;
    QWidget target;
    UiUpdateTrigger trigger([&passes] { ++passes; }, nullptr);
    QApplication::processEvents();
    passes = 0;
    const auto move = [&target](int x) {
        QMouseEvent event(QEvent::MouseMove, QPointF(x, 5), QPointF(x, 5), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &event);
        QApplication::processEvents();
    };
    QElapsedTimer clock;
    clock.start();
    for (int x = 0; x < 20; ++x)
        move(x);
    const int frames = static_cast<int>(clock.elapsed() / UiUpdateTrigger::FRAME_MS);
    EXPECT_GE(passes, 1);
    EXPECT_LE(passes, frames + 2); // not one per move
    QTest::qWait(3 * UiUpdateTrigger::FRAME_MS);
    const int afterMoves = passes;
    EXPECT_GE(afterMoves, 2); // the last moves' pass ran at the frame's end
    move(30);                 // a pass, and its frame begins
    move(31);                 // within that frame: waits
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(&target, &key);
    const int beforeKey = passes;
    QApplication::processEvents();
    EXPECT_EQ(passes, beforeKey + 1); // the key's pass did not wait for the frame
    QTest::qWait(3 * UiUpdateTrigger::FRAME_MS);
    EXPECT_EQ(passes, beforeKey + 1); // and it took move 31's with it
}

} // namespace
} // namespace krav
