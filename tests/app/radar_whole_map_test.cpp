// The radar window's "Whole Map": the map shrunk to the window, the view outlined on it, a
// click or drag centring the view, edits shown at once.
#include "editing/RadarPicture.h"
#include "palettes/CRadarWnd.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace krav {
namespace {

const QRgb YELLOW = qRgb(255, 255, 0);
const QRgb RED = qRgb(255, 0, 0);
const QRgb BLUE = qRgb(0, 0, 255);
const QRgb BLACK = qRgb(0, 0, 0);

// A 125 x 125 radar over a map with one flag at cell (1000, 1000), which falls in pixel
// (122, 122): pixel i covers cells i x 1024 / 125 up to the next pixel's first.
struct WholeMapRadar : ::testing::Test {
    std::vector<Cell> cells = std::vector<Cell>(MAP_CELLS, EMPTY_CELL);
    RadarPicture picture;
    const int docKey = 0;
    CRadarWnd radar{nullptr};

    void SetUp() override {
        cells[1000 * MAP_SIZE + 1000] = FLAG_TILE - 1;
        picture.Build(cells.data());
        radar.PlaceBesideView(QRect(0, 0, 800, 600));
        radar.ShowDocument(&docKey, &picture, {400, 300, 440, 330});
        radar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&radar));
    }
    QImage Shown() { return radar.grab().toImage(); }
    void Change(int x, int y, Cell v) {
        cells[static_cast<std::size_t>(y) * MAP_SIZE + x] = v;
        picture.UpdateCell(cells.data(), x, y);
        radar.UpdateCell(x, y);
    }
};

TEST_F(WholeMapRadar, DoubleClickSwitchesToTheWholeMapAndBack) {
    QSignalSpy chosen(&radar, &CRadarWnd::wholeMapChosen);
    ASSERT_FALSE(radar.IsWholeMap());
    EXPECT_EQ(Shown().pixel(122, 122), BLACK); // one pixel per cell: the flag is far away

    QTest::mouseDClick(&radar, Qt::LeftButton, {}, QPoint(100, 100));
    ASSERT_TRUE(radar.IsWholeMap());
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_TRUE(chosen[0][0].toBool());
    QImage shown = Shown();
    EXPECT_EQ(shown.pixel(122, 122), YELLOW);
    EXPECT_EQ(shown.pixel(121, 122), BLACK);

    QTest::mouseDClick(&radar, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_FALSE(radar.IsWholeMap());
    EXPECT_EQ(chosen.count(), 2);
}

TEST_F(WholeMapRadar, TheViewIsOutlinedWhereItsCellsAre) {
    radar.SetWholeMap(true);
    // Cells 400..439 and 300..329: pixels 48..53 and 36..40.
    const QImage shown = Shown();
    EXPECT_EQ(shown.pixel(48, 38), RED);
    EXPECT_EQ(shown.pixel(53, 38), RED);
    EXPECT_EQ(shown.pixel(50, 36), RED);
    EXPECT_EQ(shown.pixel(50, 40), RED);
    EXPECT_EQ(shown.pixel(50, 38), BLACK);
    EXPECT_EQ(shown.pixel(47, 38), BLACK);

    // A scrolled view moves the outline, not the picture.
    radar.ScrollViewCols(600, 640); // pixels 73..78
    const QImage scrolled = Shown();
    EXPECT_EQ(scrolled.pixel(48, 38), BLACK);
    EXPECT_EQ(scrolled.pixel(73, 38), RED);
    EXPECT_EQ(scrolled.pixel(122, 122), YELLOW);
}

TEST_F(WholeMapRadar, ClickAndDragCentreTheViewThere) {
    radar.SetWholeMap(true);
    QSignalSpy requested(&radar, &CRadarWnd::visibleAreaRequested);
    // Pixel 62 covers cells 507..515: the view's 40 x 30 cells centred on cell 511.
    QTest::mousePress(&radar, Qt::LeftButton, {}, QPoint(62, 62));
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested[0][0].toInt(), 491);
    EXPECT_EQ(requested[0][1].toInt(), 496);
    EXPECT_EQ(requested[0][2].toInt(), 531);
    EXPECT_EQ(requested[0][3].toInt(), 526);

    // Dragged to the far corner: the view stops at the map's edge.
    QMouseEvent drag(QEvent::MouseMove, QPointF(124, 124), radar.mapToGlobal(QPointF(124, 124)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&radar, &drag);
    ASSERT_EQ(requested.count(), 2);
    EXPECT_EQ(requested[1][0].toInt(), 1024 - 40);
    EXPECT_EQ(requested[1][1].toInt(), 1024 - 30);
    QTest::mouseRelease(&radar, Qt::LeftButton, {}, QPoint(124, 124));
}

TEST_F(WholeMapRadar, EditsShowAtOnceAndUndoneEditsGoAgain) {
    radar.SetWholeMap(true);
    Change(1001, 1001, 162 - 1); // a wall beside the flag: the flag still wins
    EXPECT_EQ(Shown().pixel(122, 122), YELLOW);
    Change(1000, 1000, EMPTY_CELL);
    EXPECT_EQ(Shown().pixel(122, 122), BLUE);
    Change(1001, 1001, EMPTY_CELL);
    EXPECT_EQ(Shown().pixel(122, 122), BLACK);

    // Changes while hidden are there when it shows again.
    radar.hide();
    Change(10, 10, FLAG_TILE - 1);
    radar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&radar));
    EXPECT_EQ(Shown().pixel(1, 1), YELLOW);
}

} // namespace
} // namespace krav
