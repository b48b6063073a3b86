// The four palette windows: what they show, what a click chooses, and where they go.
#include "editing/RadarPicture.h"
#include "palettes/CRadarWnd.h"
#include "palettes/CSpclObjWnd.h"
#include "palettes/TileInfoWnd.h"
#include "palettes/TilePreviewWnd.h"
#include "palettes/TileSetPaletteWnd.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace krav {
namespace {

const QRgb YELLOW = qRgb(255, 255, 0);
const QRgb RED = qRgb(255, 0, 0);
const QRgb WHITE = qRgb(255, 255, 255);
const QRgb BLACK = qRgb(0, 0, 0);

// Every pixel tells its tile and its place in the tile, and none is black, white, yellow or
// red, so frames and enlargements can be checked pixel by pixel.
QRgb TilePixel(int index, int x, int y) {
    return qRgb(index, 64 + x * 8, 64 + y * 8);
}

QImage TileSet(int width = 304, int height = 160) {
    QImage image(width, height, QImage::Format_RGB32);
    const int columns = width / 16;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, TilePixel(y / 16 * columns + x / 16, x % 16, y % 16));
    return image;
}

// The room a scroll bar takes from the tiles.
int BarExtent(const QWidget& widget) {
    return widget.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

QImage Grab(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A shown palette of the standard tile set, with foreground 0 and background 1.
struct TilePaletteFixture : ::testing::Test {
    const QImage tileSet = TileSet();
    const QRect view{100, 100, 640, 480};
    const int viewKey = 0;
    TileSetPaletteWnd palette{nullptr};

    void SetUp() override {
        palette.SetupForView(0, 1, tileSet, &viewKey, view);
        palette.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&palette));
    }
    void Click(Qt::MouseButton button, int tile) {
        QTest::mouseClick(&palette, button, {}, QPoint(tile % 19 * 16 + 8, tile / 19 * 16 + 8));
    }
};

TEST_F(TilePaletteFixture, ShowsTheTileSetAtItsNaturalSize) {
    EXPECT_EQ(palette.size(), QSize(304, 160));
    const QImage shown = Grab(palette);
    EXPECT_EQ(shown.pixel(100, 100), tileSet.pixel(100, 100));
    EXPECT_EQ(shown.pixel(303, 159), tileSet.pixel(303, 159));
}

TEST_F(TilePaletteFixture, ButtonsChooseForegroundAndBackground) {
    struct Case {
        std::string what;
        Qt::MouseButton button;
        int tile;
        bool emitted;
    };
    const std::vector<Case> cases = {
        {"left chooses the foreground", Qt::LeftButton, 43, true},
        {"the same foreground again, for the main frame to ignore", Qt::LeftButton, 43, true},
        {"right chooses the background", Qt::RightButton, 189, true},
        {"the same background again, for the main frame to ignore", Qt::RightButton, 189, true},
        {"the background tile as foreground", Qt::LeftButton, 189, true},
        {"the middle button chooses nothing", Qt::MiddleButton, 5, false},
    };
    int fore = 0, back = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QSignalSpy chosen(&palette, &TileSetPaletteWnd::tileChosen);
        Click(c.button, c.tile);
        ASSERT_EQ(chosen.count(), c.emitted ? 1 : 0);
        if (c.emitted) {
            const bool isFore = c.button == Qt::LeftButton;
            EXPECT_EQ(chosen[0][0].toInt(), c.tile);
            EXPECT_EQ(chosen[0][1].toBool(), isFore);
            (isFore ? fore : back) = c.tile;
        }
        EXPECT_EQ(palette.ForeTile(), fore);
        EXPECT_EQ(palette.BackTile(), back);
    }
}

TEST_F(TilePaletteFixture, FramesAreYellowAndRedOrWhiteOnOneTile) {
    // Tile 0's frame covers x -1..15, tile 1's x 15..32; the background frame is drawn last.
    QImage shown = Grab(palette);
    EXPECT_EQ(shown.pixel(14, 8), YELLOW);
    EXPECT_EQ(shown.pixel(8, 0), YELLOW);
    EXPECT_EQ(shown.pixel(15, 8), RED);
    EXPECT_EQ(shown.pixel(31, 15), RED);
    EXPECT_EQ(shown.pixel(8, 8), TilePixel(0, 8, 8));
    EXPECT_EQ(shown.pixel(13, 13), TilePixel(0, 13, 13));
    EXPECT_EQ(shown.pixel(32, 8), TilePixel(2, 0, 8)); // a pixel of the next tile

    palette.SetTile(1, true); // the dropper picked the background tile
    shown = Grab(palette);
    EXPECT_EQ(shown.pixel(15, 8), WHITE);
    EXPECT_EQ(shown.pixel(31, 8), WHITE);
    EXPECT_EQ(shown.pixel(14, 8), TilePixel(0, 14, 8)); // tile 0 lost its frame

    Click(Qt::RightButton, 20); // row 1, column 1
    shown = Grab(palette);
    EXPECT_EQ(shown.pixel(31, 8), YELLOW);
    EXPECT_EQ(shown.pixel(16, 16), RED);
    EXPECT_EQ(shown.pixel(30, 30), RED);
}

TEST_F(TilePaletteFixture, SetTileMovesAFrameWithoutTellingAnyone) {
    QSignalSpy chosen(&palette, &TileSetPaletteWnd::tileChosen);
    palette.SetTile(189, true); // as the next/previous tile keys step around
    palette.SetTile(188, false);
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_EQ(palette.ForeTile(), 189);
    EXPECT_EQ(palette.BackTile(), 188);
    const QImage shown = Grab(palette);
    EXPECT_EQ(shown.pixel(18 * 16 + 14, 9 * 16 + 8), YELLOW);
    EXPECT_EQ(shown.pixel(17 * 16 + 14, 9 * 16 + 8), RED);
    EXPECT_EQ(shown.pixel(14, 8), TilePixel(0, 14, 8));
}

TEST_F(TilePaletteFixture, TheSameViewAgainOnlyRepaints) {
    palette.SetupForView(7, 8, TileSet(160, 160), &viewKey, view);
    EXPECT_EQ(palette.ForeTile(), 0);
    EXPECT_EQ(palette.BackTile(), 1);
    EXPECT_EQ(palette.TileCount(), 190);

    const int otherView = 0;
    palette.SetupForView(7, 8, tileSet, &otherView, QRect(0, 0, 50, 50));
    EXPECT_EQ(palette.ForeTile(), 7);
    EXPECT_EQ(palette.BackTile(), 8);
    EXPECT_EQ(palette.size(), QSize(304, 160)); // keeps its place and size
}

TEST(TileSetPalette, AClickBeyondTheTilesChoosesNothing) {
    // 18 x 9 whole tiles; the last column of pixels holds no tile of its own.
    const QImage tileSet = TileSet(300, 150);
    const int viewKey = 0;
    TileSetPaletteWnd palette(nullptr);
    palette.SetupForView(0, 1, tileSet, &viewKey, QRect(0, 0, 800, 600));
    palette.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&palette));
    ASSERT_EQ(palette.size(), QSize(300, 150));
    QSignalSpy chosen(&palette, &TileSetPaletteWnd::tileChosen);
    QTest::mouseClick(&palette, Qt::LeftButton, {}, QPoint(295, 8 * 16 + 3));
    // Right of the first row: not the second row's first tile.
    QTest::mouseClick(&palette, Qt::LeftButton, {}, QPoint(295, 3));
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_EQ(palette.ForeTile(), 0);
    EXPECT_EQ(palette.ToolTipAt(QPoint(287, 3)), "Tile 17 (code 18)");
    EXPECT_EQ(palette.ToolTipAt(QPoint(295, 3)), QString());
    EXPECT_EQ(palette.ToolTipAt(QPoint(295, 8 * 16 + 3)), QString());
}

TEST(TileSetPalette, FirstPlacementFitsWholeTilesOverTheViewsBottomLeft) {
    struct Case {
        int viewWidth;
        QSize client;
    };
    const std::vector<Case> cases = {{200, {192, 160}},
                                     {304, {304, 160}},
                                     {305, {304, 160}},
                                     {1000, {304, 160}},
                                     {95, {80, 160}}}; // 80: smallest
    for (const auto& c : cases) {
        SCOPED_TRACE(c.viewWidth);
        const int viewKey = 0;
        const QRect view(40, 60, c.viewWidth, 500);
        TileSetPaletteWnd palette(nullptr);
        palette.SetupForView(0, 1, TileSet(), &viewKey, view);
        EXPECT_EQ(palette.size(), c.client);
        EXPECT_EQ(palette.geometry().left(), view.left());
        EXPECT_EQ(palette.geometry().bottom(), view.bottom());
        EXPECT_TRUE(palette.isHidden()); // the main frame shows it
    }
}

TEST_F(TilePaletteFixture, TheWheelScrollsWhatDoesNotFitAndKeysNever) {
    // 6 x 6 tiles beside both scroll bars.
    const QSize size(96 + BarExtent(palette), 96 + BarExtent(palette));
    palette.resize(size);
    EXPECT_TRUE(QTest::qWaitFor([&] { return palette.size() == size; }));
    // The last row and column were in view and stay there.
    EXPECT_EQ(Grab(palette).pixel(3, 3), TilePixel(4 * 19 + 13, 3, 3));

    // The keys are the map view's: the palette never scrolls with them.
    QTest::keyClick(&palette, Qt::Key_PageUp);
    QTest::keyClick(&palette, Qt::Key_Left);
    EXPECT_EQ(Grab(palette).pixel(3, 3), TilePixel(4 * 19 + 13, 3, 3));

    const auto turn = [this](QPoint delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent wheel(QPointF(20, 20), palette.mapToGlobal(QPointF(20, 20)), {}, delta,
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&palette, &wheel);
    };
    turn({0, 480}, Qt::NoModifier);    // four notches up: the first row
    turn({0, 120}, Qt::ShiftModifier); // one notch sideways: a column back
    EXPECT_EQ(Grab(palette).pixel(3, 3), TilePixel(12, 3, 3));
    turn({0, -240}, Qt::NoModifier); // two notches down
    EXPECT_EQ(Grab(palette).pixel(3, 3), TilePixel(2 * 19 + 12, 3, 3));
}

TEST_F(TilePaletteFixture, TheToolTipNamesTheTileUnderThePointerAlsoWhenScrolled) {
    struct Case {
        QSize size;
        QPoint at;
        QString text;
    };
    const std::vector<Case> cases = {
        {{304, 160}, {8, 8}, "Tile 0 (code 1)"},
        {{304, 160}, {18 * 16, 9 * 16 + 15}, "Tile 189 (code 190)"},
        {{304, 160}, {169 % 19 * 16 + 3, 169 / 19 * 16}, "Tile 169 (code 170): the flag"},
        // 6 x 6 tiles: the last rows and columns are in view, from tile 4 * 19 + 13.
        {{96, 96}, {3, 3}, "Tile 89 (code 90)"},
        {{96, 96}, {95, 95}, "Tile 189 (code 190)"},
        {{96, 96}, {97, 40}, ""}, // on the vertical scroll bar
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        // The scroll bars come on top of the tiles' room when not all tiles fit.
        const int bars = c.size == QSize(304, 160) ? 0 : BarExtent(palette);
        const QSize size = c.size + QSize(bars, bars);
        palette.resize(size);
        EXPECT_TRUE(QTest::qWaitFor([&] { return palette.size() == size; }));
        EXPECT_EQ(palette.ToolTipAt(c.at), c.text);
    }
    // The window shows it for the tile under the pointer.
    QHelpEvent help(QEvent::ToolTip, QPoint(3, 3), palette.mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(&palette, &help);
    EXPECT_EQ(QToolTip::text(), "Tile 89 (code 90)");
    QToolTip::hideText();
}

TEST_F(TilePaletteFixture, ScrollBarsShowWhatDoesNotFitAndScrollIt) {
    const auto bars = palette.findChildren<QScrollBar*>();
    ASSERT_EQ(bars.size(), 2);
    QScrollBar* vertical = bars[0]->orientation() == Qt::Vertical ? bars[0] : bars[1];
    QScrollBar* horizontal = vertical == bars[0] ? bars[1] : bars[0];
    EXPECT_FALSE(vertical->isVisible()); // everything fits
    EXPECT_FALSE(horizontal->isVisible());

    // One column less: the horizontal bar takes room from the rows, so both bars show.
    palette.resize(288, 160);
    EXPECT_TRUE(QTest::qWaitFor([&] { return horizontal->isVisible(); }));
    EXPECT_TRUE(vertical->isVisible());
    EXPECT_EQ(vertical->minimum(), 0);
    EXPECT_EQ(vertical->maximum(), 9);    // rows - 1
    EXPECT_EQ(horizontal->maximum(), 18); // columns - 1

    // The last row and column were in view and stay there; the bars say where the tiles are.
    const int extent = BarExtent(palette);
    const int rowsShown = (160 - extent) / 16, colsShown = (288 - extent) / 16;
    EXPECT_EQ(vertical->value(), 10 - rowsShown);
    EXPECT_EQ(horizontal->value(), 19 - colsShown);

    struct Case {
        std::string what;
        QScrollBar* bar;
        QAbstractSlider::SliderAction action;
        int position; // for a dragged thumb
        int firstRow, firstCol;
    };
    const std::vector<Case> cases = {
        {"page up", vertical, QAbstractSlider::SliderPageStepSub, 0, 0, 19 - colsShown},
        {"line down", vertical, QAbstractSlider::SliderSingleStepAdd, 0, 1, 19 - colsShown},
        {"line left", horizontal, QAbstractSlider::SliderSingleStepSub, 0, 1, 18 - colsShown},
        {"thumb dragged to column 0", horizontal, QAbstractSlider::SliderMove, 0, 1, 0},
        {"thumb dragged past the end", vertical, QAbstractSlider::SliderMove, 9, 10 - rowsShown, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.action == QAbstractSlider::SliderMove)
            c.bar->setSliderPosition(c.position);
        c.bar->triggerAction(c.action);
        EXPECT_EQ(vertical->value(), c.firstRow);
        EXPECT_EQ(horizontal->value(), c.firstCol);
        EXPECT_EQ(Grab(palette).pixel(3, 3), TilePixel(c.firstRow * 19 + c.firstCol, 3, 3));
    }

    // Keys never do: they are the map view's.
    QTest::keyClick(&palette, Qt::Key_Right);
    EXPECT_EQ(horizontal->value(), 0);

    palette.resize(304, 160);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !vertical->isVisible(); }));
    EXPECT_FALSE(horizontal->isVisible());
    EXPECT_EQ(Grab(palette).pixel(303, 159), tileSet.pixel(303, 159));
}

TEST_F(TilePaletteFixture, DraggedEdgesKeepWholeTiles) {
    const QRect before = palette.geometry();
    palette.setGeometry(before.adjusted(0, 0, -20, -15)); // right by -20, bottom by -15
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return palette.geometry() == before.adjusted(0, 0, -16, 0); }));
    palette.setGeometry(palette.geometry().adjusted(40, 0, 0, 0)); // the left edge too
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return palette.geometry() == before.adjusted(32, 0, -16, 0); }));
}

struct ObjectsFixture : ::testing::Test {
    CSpclObjWnd objects{nullptr};

    void SetUp() override {
        objects.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&objects));
    }
};

TEST_F(ObjectsFixture, EveryReleaseChoosesTheObjectUnderIt) {
    EXPECT_EQ(objects.GetSelectedObject(), 500u);
    ASSERT_EQ(objects.size(), QSize(200, 50));
    struct Case {
        int x;
        unsigned object;
    };
    const std::vector<Case> cases = {{120, 700}, {149, 700}, {10, 500},
                                     {150, 800}, {199, 800}, {60, 600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        QSignalSpy chosen(&objects, &CSpclObjWnd::objectChosen);
        QTest::mouseClick(&objects, Qt::LeftButton, {}, QPoint(c.x, 25));
        ASSERT_EQ(chosen.count(), 1); // also when it was already chosen
        EXPECT_EQ(chosen[0][0].toUInt(), c.object);
        EXPECT_EQ(objects.GetSelectedObject(), c.object);
    }
}

TEST_F(ObjectsFixture, OnlyAReleaseOfTheLeftButtonInsideChooses) {
    QSignalSpy chosen(&objects, &CSpclObjWnd::objectChosen);
    QTest::mousePress(&objects, Qt::LeftButton, {}, QPoint(120, 25));
    QTest::mouseRelease(&objects, Qt::LeftButton, {}, QPoint(120, 80)); // dragged off
    QTest::mouseClick(&objects, Qt::RightButton, {}, QPoint(120, 25));
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_EQ(objects.GetSelectedObject(), 500u);
}

TEST_F(ObjectsFixture, TheToolTipGivesEachObjectsIdAndFootprint) {
    const std::vector<std::pair<int, QString>> cases = {
        {10, "Special object 500 (6 x 6)"},
        {60, "Special object 600 (5 x 5)"},
        {149, "Special object 700 (2 x 2)"},
        {199, "Special object 800 (1 x 1)"},
    };
    for (const auto& [x, text] : cases) {
        QHelpEvent help(QEvent::ToolTip, QPoint(x, 25), objects.mapToGlobal(QPoint(x, 25)));
        QApplication::sendEvent(&objects, &help);
        EXPECT_EQ(QToolTip::text(), text) << x;
    }
    QToolTip::hideText();
}

TEST_F(ObjectsFixture, TheChosenCellHasAWhiteFrame) {
    QTest::mouseClick(&objects, Qt::LeftButton, {}, QPoint(120, 25));
    const QImage shown = Grab(objects);
    for (QPoint p : {QPoint(100, 0), QPoint(149, 0), QPoint(100, 49), QPoint(149, 49),
                     QPoint(100, 25), QPoint(149, 25), QPoint(125, 0), QPoint(125, 49)})
        EXPECT_EQ(shown.pixel(p), WHITE) << p.x() << ", " << p.y();
}

TEST_F(ObjectsFixture, ItsWidthKeepsWholeObjectsAndItsHeightIsFixed) {
    const QRect before = objects.geometry();
    objects.setGeometry(before.adjusted(0, 0, -49, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return objects.geometry() == before; }));
    objects.setGeometry(before.adjusted(0, 0, -120, 0));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return objects.geometry() == before.adjusted(0, 0, -100, 0); }));
    objects.resize(objects.width(), 80);
    EXPECT_EQ(objects.height(), 50);
}

TEST(TileInfo, ShowsBothTilesEnlargedInTheirFrames) {
    TileInfoWnd info(nullptr);
    info.PlaceBesideView(QRect(300, 50, 400, 300));
    // At least 72 wide (its title may need more), the previews across the middle.
    EXPECT_GE(info.width(), 72);
    EXPECT_EQ(info.height(), 134);
    const int dx = info.ForePreview()->x() - 10;
    EXPECT_EQ(info.geometry().right(), 699);
    EXPECT_EQ(info.geometry().top(), 50);
    info.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&info));

    QImage shown = Grab(info);
    EXPECT_EQ(shown.pixel(dx + 36, 36), YELLOW); // nothing set up yet: only the colours
    EXPECT_EQ(shown.pixel(dx + 36, 96), RED);
    EXPECT_EQ(shown.pixel(5, 5), BLACK);

    info.SetupInfo(0, 1, TileSet());
    shown = Grab(info);
    for (int y = 0; y < 16; y += 5) {
        for (int x = 0; x < 16; x += 3) {
            for (int k = 0; k < 3; ++k) {
                EXPECT_EQ(shown.pixel(dx + 12 + 3 * x + k, 12 + 3 * y + k), TilePixel(0, x, y));
                EXPECT_EQ(shown.pixel(dx + 12 + 3 * x + k, 72 + 3 * y + 2 - k), TilePixel(1, x, y));
            }
        }
    }
    for (QPoint p : {QPoint(10, 10), QPoint(11, 40), QPoint(61, 61), QPoint(60, 12)})
        EXPECT_EQ(shown.pixel(p + QPoint(dx, 0)), YELLOW);
    for (QPoint p : {QPoint(10, 70), QPoint(61, 121), QPoint(40, 120)})
        EXPECT_EQ(shown.pixel(p + QPoint(dx, 0)), RED);

    info.UpdateTile(189, false);
    shown = Grab(info);
    EXPECT_EQ(shown.pixel(dx + 12, 72), TilePixel(189, 0, 0));
    EXPECT_EQ(shown.pixel(dx + 12, 12), TilePixel(0, 0, 0));
}

struct RadarFixture : ::testing::Test {
    std::vector<Cell> cells = std::vector<Cell>(MAP_CELLS, EMPTY_CELL);
    RadarPicture picture;
    const int docKey = 0;
    CRadarWnd radar{nullptr};

    void SetUp() override {
        cells[5 * MAP_SIZE + 5] = 169; // the flag
        picture.Build(cells.data());
        radar.PlaceBesideView(QRect(0, 0, 800, 600));
        radar.ShowDocument(&docKey, &picture, {0, 0, 40, 30});
        radar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&radar));
    }
};

TEST_F(RadarFixture, ShowsThePictureAndTheViewInRed) {
    EXPECT_EQ(radar.size(), QSize(125, 125));
    // The frame, decoration included, ends at the view's corner.
    EXPECT_EQ(radar.frameGeometry().bottomRight(), QPoint(799, 599));
    const QImage shown = Grab(radar);
    EXPECT_EQ(shown.pixel(5, 5), YELLOW);
    EXPECT_EQ(shown.pixel(6, 5), BLACK);
    EXPECT_EQ(shown.pixel(40, 10), RED); // one pixel right of the view's last column
    EXPECT_EQ(shown.pixel(20, 30), RED);
    EXPECT_EQ(shown.pixel(0, 0), RED);
    EXPECT_EQ(shown.pixel(41, 10), BLACK);
}

TEST_F(RadarFixture, AClickAsksForTheViewThere) {
    QSignalSpy requested(&radar, &CRadarWnd::visibleAreaRequested);
    QTest::mouseClick(&radar, Qt::LeftButton, {}, QPoint(62, 62));
    ASSERT_EQ(requested.count(), 1);
    const QList<QVariant> area = requested[0];
    EXPECT_EQ(area[0].toInt(), 42);
    EXPECT_EQ(area[1].toInt(), 47);
    EXPECT_EQ(area[2].toInt(), 82);
    EXPECT_EQ(area[3].toInt(), 77);
    // The outline moved with it.
    const QImage shown = Grab(radar);
    EXPECT_EQ(shown.pixel(82, 60), RED);
    EXPECT_EQ(shown.pixel(40, 10), BLACK);
}

TEST_F(RadarFixture, ADoubleClickOnlySwitchesTheModeAndNeverMovesTheViewAgain) {
    const auto send = [this](QEvent::Type type, QPoint at, Qt::MouseButton button,
                             Qt::MouseButtons held) {
        QMouseEvent event(type, at, radar.mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&radar, &event);
    };
    // As Qt delivers a double-click, then a drag with its button still held.
    for (const bool wholeMapBefore : {false, true}) {
        SCOPED_TRACE(wholeMapBefore);
        ASSERT_EQ(radar.IsWholeMap(), wholeMapBefore);
        const QPoint at(62, 62);
        send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        QSignalSpy requested(&radar, &CRadarWnd::visibleAreaRequested);
        send(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
        EXPECT_EQ(radar.IsWholeMap(), !wholeMapBefore);
        send(QEvent::MouseMove, QPoint(90, 90), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, QPoint(90, 90), Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(requested.count(), 0);
    }
    // Once released, a drag in the whole map moves the view again.
    send(QEvent::MouseButtonDblClick, QPoint(62, 62), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPoint(62, 62), Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(radar.IsWholeMap());
    send(QEvent::MouseButtonPress, QPoint(30, 30), Qt::LeftButton, Qt::LeftButton);
    QSignalSpy requested(&radar, &CRadarWnd::visibleAreaRequested);
    send(QEvent::MouseMove, QPoint(100, 100), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPoint(100, 100), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(requested.count(), 1);
}

TEST_F(RadarFixture, ChangedCellsShowAtOnceAndScrollingFollowsTheView) {
    cells[7 * MAP_SIZE + 9] = 600; // a cell of the 5 x 5 object
    picture.UpdateCell(cells.data(), 9, 7);
    radar.UpdateCell(9, 7);
    EXPECT_EQ(Grab(radar).pixel(9, 7), qRgb(255, 0, 255));

    radar.ScrollViewRows(20, 50); // the view's middle stays above the shown part's middle
    EXPECT_EQ(radar.Viewport().Shown().top, 0);
    QImage shown = Grab(radar);
    EXPECT_EQ(shown.pixel(20, 20), RED);
    EXPECT_EQ(shown.pixel(20, 50), RED);
    EXPECT_EQ(shown.pixel(20, 0), BLACK);

    radar.ScrollViewRows(80, 110); // past it: the shown part moves along
    EXPECT_EQ(radar.Viewport().Shown().top, 60);
    shown = Grab(radar);
    EXPECT_EQ(shown.pixel(20, 20), RED);
    EXPECT_EQ(shown.pixel(20, 50), RED);
    EXPECT_EQ(shown.pixel(5, 5), BLACK); // the flag scrolled out
}

TEST_F(RadarFixture, ItsClientStaysBetween100And1023) {
    radar.resize(2000, 2000);
    EXPECT_EQ(radar.size(), QSize(1023, 1023));
    radar.resize(10, 10);
    EXPECT_EQ(radar.size(), QSize(100, 100));
}

TEST(Palettes, TheirCloseBoxesOnlyHide) {
    auto check = [](QWidget& palette, const char* title) {
        SCOPED_TRACE(title);
        EXPECT_EQ(palette.windowTitle(), QString::fromUtf8(title));
        EXPECT_TRUE(palette.windowFlags().testFlag(Qt::Tool));
        EXPECT_TRUE(palette.isHidden());
        palette.show();
        EXPECT_FALSE(palette.close());
        EXPECT_TRUE(palette.isHidden());
    };
    TileSetPaletteWnd tiles(nullptr);
    CSpclObjWnd objects(nullptr);
    TileInfoWnd info(nullptr);
    CRadarWnd radar(nullptr);
    check(tiles, "Tileset");
    check(objects, "Special Objects");
    check(info, "Tile Info");
    check(radar, "Radar");
}

} // namespace
} // namespace krav
