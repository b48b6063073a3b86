// At a device pixel ratio of 2 every pixel of the map, the palettes' tiles, the toolbar icons
// and the cursors is a 2 x 2 block of the colour it has at ratio 1: nothing smoothed.
#include "editing/RadarPicture.h"
#include "editing/ToolIds.h"
#include "frame/CommandIds.h"
#include "palettes/CRadarWnd.h"
#include "palettes/CSpclObjWnd.h"
#include "palettes/TileInfoWnd.h"
#include "palettes/TileSetPaletteWnd.h"
#include "support/FrameFixture.h"
#include "view/CKRAVView.h"
#include "view/CursorHotSpots.h"

#include <QAction>
#include <QIcon>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krav {
namespace {

// The first pixel of `logical` (in logical pixels) whose 2 x 2 block in `twice` differs from
// its colour in `once`, or an empty string when there is none.
std::string FirstUnsharpPixel(const QImage& once, const QImage& twice, const QRect& logical) {
    const QImage a = once.convertToFormat(QImage::Format_ARGB32);
    const QImage b = twice.convertToFormat(QImage::Format_ARGB32);
    for (int y = logical.top(); y <= logical.bottom(); ++y) {
        for (int x = logical.left(); x <= logical.right(); ++x) {
            const QRgb colour = a.pixel(x, y);
            for (int k = 0; k < 4; ++k) {
                const QRgb device = b.pixel(2 * x + k % 2, 2 * y + k / 2);
                if (device != colour)
                    return QStringLiteral(
                               "pixel %1,%2 is %3 at ratio 1 but %4 in its block at ratio 2")
                        .arg(x)
                        .arg(y)
                        .arg(colour, 8, 16)
                        .arg(device, 8, 16)
                        .toStdString();
            }
        }
    }
    return {};
}

// What `widget` shows at ratio 1 and at the screen's ratio, compared over `logical`.
std::string FirstUnsharpPixel(QWidget& widget, const QRect& logical) {
    QImage once(widget.size(), QImage::Format_RGB32);
    once.fill(Qt::magenta);
    widget.render(&once);
    const QImage twice = widget.grab().toImage();
    EXPECT_EQ(twice.devicePixelRatio(), 2.0);
    EXPECT_EQ(twice.size(), widget.size() * 2);
    return FirstUnsharpPixel(once, twice, logical);
}

// Every pixel tells its tile and its place in the tile, so any blending shows.
QImage TileSet() {
    QImage image(304, 160, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(y / 16 * 19 + x / 16, 64 + x % 16 * 8, 64 + y % 16 * 8));
    return image;
}

void Show(QWidget& widget) {
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
}

using HiDpiFrame = test::FrameFixture;

TEST_F(HiDpiFrame, TheMapIsDrawnInWholeBlocksAtEveryZoom) {
    ASSERT_EQ(frame->devicePixelRatio(), 2.0);
    // Tiles of many colours side by side, and an object.
    test::Bytes level;
    for (int i = 0; i < 120; ++i)
        test::AppendRecord(level, 1 + i, i % 12, i / 12);
    test::AppendRecord(level, CODE_OBJECT_6X6, 14, 1);
    ASSERT_TRUE(frame->OpenLevel(QString::fromStdString(folder.Write("a.lvl", level))));
    CKRAVView* view = frame->ActiveView();
    ASSERT_NE(view, nullptr);
    QWidget& client = *view->viewport();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));

    for (const int zoomOuts : {0, 1, 2}) {
        SCOPED_TRACE(zoomOuts);
        for (int i = 0; i < zoomOuts; ++i)
            view->Engine().ZoomAt(0, 0, true);
        const int cell = view->Engine().Geometry().CellWidth();
        const QRect shown = QRect(0, 0, 22 * cell, 12 * cell) & client.rect();
        EXPECT_EQ(FirstUnsharpPixel(client, shown), "");
    }
}

TEST_F(HiDpiFrame, ToolbarIconsAndCursorsHaveTheirOwnDoubledPictures) {
    for (const int id : {ID_TOOL_PENCIL, ID_TOOL_ERASER, ID_FILE_SAVE, ID_TOOL_STAMP}) {
        SCOPED_TRACE(id);
        const QIcon icon = frame->Action(id)->icon();
        const QPixmap once = icon.pixmap(QSize(16, 16), 1.0);
        const QPixmap twice = icon.pixmap(QSize(16, 16), 2.0);
        ASSERT_EQ(once.size(), QSize(16, 16));
        ASSERT_EQ(twice.size(), QSize(32, 32));
        EXPECT_EQ(FirstUnsharpPixel(once.toImage(), twice.toImage(), QRect(0, 0, 16, 16)), "");
    }
    struct Cursor {
        QCursor cursor;
        Point hotSpot;
    };
    for (const Cursor& c : {Cursor{frame->ToolCursor(ID_TOOL_PENCIL), PENCIL_HOT_SPOT},
                            {frame->ToolCursor(ID_TOOL_ERASER), ERASER_HOT_SPOT},
                            {frame->ToolCursor(ID_TOOL_DROPPER), DROPPER_HOT_SPOT},
                            {frame->ToolCursor(ID_TOOL_STAMP), STAMP_HOT_SPOT},
                            {frame->ToolCursor(ID_TOOL_MAGNIFY), MAGNIFY_HOT_SPOT},
                            {frame->MoveCursor(), MOVE_HOT_SPOT}}) {
        SCOPED_TRACE(testing::Message() << c.hotSpot.x << "," << c.hotSpot.y);
        const QPixmap twice = c.cursor.pixmap();
        EXPECT_EQ(twice.devicePixelRatio(), 2.0);
        ASSERT_EQ(twice.size(), QSize(64, 64));
        // Off X11 the hot spot counts the pixels of the 32 x 32 picture, as at ratio 1.
        EXPECT_EQ(c.cursor.hotSpot(), QPoint(c.hotSpot.x, c.hotSpot.y));
        const QImage once = twice.toImage().scaled(32, 32);
        EXPECT_EQ(FirstUnsharpPixel(once, twice.toImage(), QRect(0, 0, 32, 32)), "");
    }
}

TEST(HiDpiPalettes, TilesAreDrawnInWholeBlocks) {
    const QImage tileSet = TileSet();
    const int viewKey = 0;

    TileSetPaletteWnd palette(nullptr);
    palette.SetupForView(0, 1, tileSet, &viewKey, QRect(100, 100, 640, 480));
    Show(palette);
    // Tile 40 and its neighbours, away from the choice frames.
    EXPECT_EQ(FirstUnsharpPixel(palette, QRect(32, 32, 64, 32)), "") << "tile set palette";

    TileInfoWnd info(nullptr);
    info.PlaceBesideView(QRect(300, 50, 400, 300));
    info.SetupInfo(20, 21, tileSet);
    Show(info);
    // The two enlarged tiles inside their frames.
    EXPECT_EQ(FirstUnsharpPixel(info, QRect(12, 12, 48, 48)), "") << "tile info, foreground";
    EXPECT_EQ(FirstUnsharpPixel(info, QRect(12, 72, 48, 48)), "") << "tile info, background";

    CSpclObjWnd objects(nullptr);
    Show(objects);
    EXPECT_EQ(FirstUnsharpPixel(objects, objects.rect()), "") << "special objects";

    std::vector<Cell> cells(MAP_CELLS, EMPTY_CELL);
    for (int i = 0; i < 190; ++i)
        cells[(i / 20) * MAP_SIZE + i % 20] = static_cast<Cell>(i);
    cells[15 * MAP_SIZE + 15] = FLAG_CELL;
    RadarPicture picture;
    picture.Build(cells.data());
    CRadarWnd radar(nullptr);
    radar.PlaceBesideView(QRect(0, 0, 800, 600));
    radar.ShowDocument(&viewKey, &picture, {30, 30, 70, 60}); // the view's outline away
    Show(radar);
    EXPECT_EQ(FirstUnsharpPixel(radar, QRect(0, 0, 25, 25)), "") << "radar";
}

} // namespace
} // namespace krav
