// The map view widget's wheel and keys: zooming at the pointer, scrolling sideways, and going
// to the map's edges and corners.
#include "ViewTestFrame.h"
#include "document/CKRAVDoc.h"
#include "frame/MainFrameHub.h"
#include "support/HubFixture.h"
#include "view/CKRAVView.h"
#include "view/ViewFrame.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace krav {
namespace {

using test::TestViewFrame;

Rect VisibleArea(const ViewGeometry& view) {
    return {view.LeftCol(), view.TopRow(), view.RightCol(), view.BottomRow()};
}

// A shown view of a new level, scrolled to column 500, row 400 at 1:1.
struct MapViewFixture : ::testing::Test {
    TestViewFrame frame;
    CKRAVDoc doc;
    std::unique_ptr<CKRAVView> view;

    void SetUp() override {
        doc.OnNewDocument(frame.prompt);
        view = std::make_unique<CKRAVView>(doc, frame);
        view->resize(800, 600);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        ScrollTo(500, 400);
    }
    const ViewGeometry& Geometry() { return view->Engine().Geometry(); }
    void ScrollTo(int column, int row) {
        view->Engine().OnHScroll(SB_THUMBTRACK, column);
        view->Engine().OnVScroll(SB_THUMBTRACK, row);
    }
    void Wheel(QPoint at, QPoint angle, Qt::KeyboardModifiers modifiers) {
        QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), {}, angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
    }
    // The scroll bars show where the view is.
    void ExpectBarsFollow() {
        EXPECT_EQ(view->horizontalScrollBar()->value(), Geometry().LeftCol());
        EXPECT_EQ(view->verticalScrollBar()->value(), Geometry().TopRow());
    }
};

TEST_F(MapViewFixture, HomeAndEndGoToTheMapsEdgesAndWithControlToItsCorners) {
    const int columns = Geometry().RightCol() - Geometry().LeftCol();
    const int rows = Geometry().BottomRow() - Geometry().TopRow();
    struct Case {
        std::string what;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Rect visible;
    };
    const std::vector<Case> cases = {
        {"Home keeps the row", Qt::Key_Home, Qt::NoModifier, {0, 400, columns, 400 + rows}},
        {"End keeps the row", Qt::Key_End, Qt::NoModifier, {1024 - columns, 400, 1024, 400 + rows}},
        {"Shift changes nothing",
         Qt::Key_End,
         Qt::ShiftModifier,
         {1024 - columns, 400, 1024, 400 + rows}},
        {"Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, {0, 0, columns, rows}},
        {"Ctrl+End", Qt::Key_End, Qt::ControlModifier, {1024 - columns, 1024 - rows, 1024, 1024}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScrollTo(500, 400);
        frame.radarScrolls = 0;
        QTest::keyClick(view.get(), c.key, c.modifiers);
        EXPECT_EQ(VisibleArea(Geometry()), c.visible);
        ExpectBarsFollow();
        EXPECT_GT(frame.radarScrolls, 0);
    }
    // Already at the corner: nothing moves, nothing is told.
    frame.radarScrolls = 0;
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(frame.radarScrolls, 0);
}

TEST_F(MapViewFixture, ControlWheelZoomsOneStepPerNotchKeepingTheCellUnderThePointer) {
    const QPoint pointer(200, 150);
    const Point cell = Geometry().CellAt({pointer.x(), pointer.y()});
    struct Step {
        std::vector<int> deltas; // eighths of a degree, up is positive
        double zoom;
    };
    const std::vector<Step> steps = {
        {{40, 40}, 1.0},        // a high-resolution wheel: not yet a notch
        {{40}, 2.0},            // the third part completes it
        {{-240}, 0.5},          // two notches in one turn
        {{-60, 60, 60}, 1.0},   // turning back starts a new notch
        {{120, 120, 120}, 2.0}, // 2:1 is the limit
    };
    for (const auto& step : steps) {
        for (const int delta : step.deltas)
            Wheel(pointer, {0, delta}, Qt::ControlModifier);
        SCOPED_TRACE(step.zoom);
        EXPECT_EQ(Geometry().Zoom(), step.zoom);
        EXPECT_EQ(Geometry().CellAt({pointer.x(), pointer.y()}), cell);
        ExpectBarsFollow();
    }
}

TEST_F(MapViewFixture, ShiftWheelAndSidewaysWheelScrollColumnsAsThePlainWheelScrollsRows) {
    const int lines = QApplication::wheelScrollLines(); // per notch
    struct Case {
        std::string what;
        QPoint angle;
        Qt::KeyboardModifiers modifiers;
        int columns, rows; // how far the origin moves
    };
    const std::vector<Case> cases = {
        {"plain wheel down", {0, -120}, Qt::NoModifier, 0, lines},
        {"Shift+wheel down", {0, -120}, Qt::ShiftModifier, lines, 0},
        {"Shift+wheel up", {0, 120}, Qt::ShiftModifier, -lines, 0},
        {"sideways wheel", {-120, 0}, Qt::NoModifier, lines, 0},
        {"Shift+sideways wheel", {120, 0}, Qt::ShiftModifier, -lines, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScrollTo(500, 400);
        Wheel({100, 100}, c.angle, c.modifiers);
        EXPECT_EQ(Geometry().LeftCol(), 500 + c.columns);
        EXPECT_EQ(Geometry().TopRow(), 400 + c.rows);
        ExpectBarsFollow();
    }
}

TEST_F(MapViewFixture, TheWindowShowsWhatTheViewDraws) {
    // The view writes straight into the window's picture where it can; a grab draws through a
    // picture of the view's own. Both must show the same map, also after a partial repaint.
    // Columns of tiles in four radar colours, and empty ones, over the first 50 x 37 cells.
    const Cell tiles[] = {0, 163, EMPTY_CELL, 170, 180};
    for (int column = 0; column < 50; ++column) {
        const Cell tile = tiles[column % 5];
        if (tile == EMPTY_CELL)
            continue;
        view->Engine().SetForeBack(static_cast<int>(tile), true);
        view->Engine().OnLButtonDown(MK_LBUTTON, {column * 16 + 8, 8});
        for (int row = 1; row < 37; ++row)
            view->Engine().OnMouseMove(MK_LBUTTON, {column * 16 + 8, row * 16 + 8});
        view->Engine().OnLButtonUp(0, {column * 16 + 8, 36 * 16 + 8});
    }
    for (const double zoom : {1.0, 0.25, 0.125}) {
        SCOPED_TRACE(zoom);
        while (Geometry().Zoom() > zoom)
            view->Engine().ZoomAt(0, 0, true);
        QWidget* client = view->viewport();
        client->repaint();
        // Over the tiles, cutting cells at every zoom.
        const int cell = Geometry().CellWidth();
        client->repaint(QRect((500 - Geometry().LeftCol()) * cell + 3,
                              (400 - Geometry().TopRow()) * cell + 5, 41, 31));
        const QImage drawn = client->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint origin = client->mapTo(view.get(), QPoint(0, 0));
        const QImage shown = view->screen()
                                 ->grabWindow(view->winId(), origin.x(), origin.y(),
                                              client->width(), client->height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), drawn.size());
        EXPECT_TRUE(shown == drawn);
    }
}

} // namespace
} // namespace krav
