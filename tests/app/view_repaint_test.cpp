// What the map view shows on screen after scrolling by moving the pixels already there and
// after repainting only what changed: it must never differ from the view drawn anew whole.
// Stale pixels of a moved picture or a changed cell left unpainted would show as a
// difference between the window's picture and a fresh grab.
#include "ViewTestFrame.h"
#include "document/CKRAVDoc.h"
#include "editing/ToolIds.h"
#include "frame/CommandIds.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace krav {
namespace {

// A shown 700 x 500 view over a busy level (every cell a tile, an object every few cells),
// scrolled to column 500, row 400 at 1:1.
struct ViewRepaint : ::testing::Test {
    test::TestViewFrame frame;
    CKRAVDoc doc;
    std::unique_ptr<CKRAVView> view;

    void SetUp() override {
        doc.OnNewDocument(frame.prompt);
        Cell* cells = doc.GetCells();
        for (int i = 0; i < MAP_CELLS; ++i)
            cells[i] = static_cast<Cell>((i % MAP_SIZE * 7 + i / MAP_SIZE * 13) % 160);
        for (int y = 0; y + 1 < MAP_SIZE; y += 9)
            for (int x = 0; x + 1 < MAP_SIZE; x += 11)
                for (int d = 0; d < 4; ++d)
                    cells[(y + d / 2) * MAP_SIZE + x + d % 2] = OBJECT_2X2 + d;
        view = std::make_unique<CKRAVView>(doc, frame);
        frame.hub.ViewOpened();
        frame.hub.SetActiveView(&view->Engine());
        view->resize(700, 500);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->Engine().OnHScroll(SB_THUMBTRACK, 500);
        view->Engine().OnVScroll(SB_THUMBTRACK, 400);
        ExpectShownAsDrawn("start");
    }

    QWidget* Client() { return view->viewport(); }
    // The window's picture of a child widget: what the screen shows of it.
    QImage Shown(QWidget* widget) {
        const QPoint origin = widget->mapTo(view.get(), QPoint(0, 0));
        return view->screen()
            ->grabWindow(view->winId(), origin.x(), origin.y(), widget->width(), widget->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The client area and both scroll bars on screen, after the repaints asked for, against
    // each drawn anew whole.
    void ExpectShownAsDrawn(const std::string& what) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
        for (QWidget* widget : {Client(), static_cast<QWidget*>(view->verticalScrollBar()),
                                static_cast<QWidget*>(view->horizontalScrollBar())}) {
            const QImage drawn = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QImage shown = Shown(widget);
            ASSERT_EQ(shown.size(), drawn.size()) << what;
            if (shown == drawn)
                continue;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    if (shown.pixel(x, y) != drawn.pixel(x, y))
                        return ADD_FAILURE() << what << ": " << widget->metaObject()->className()
                                             << " differs first at " << x << "," << y;
        }
    }

    void Send(QEvent& event) { QApplication::sendEvent(Client(), &event); }
    void Wheel(QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               QPoint at = {300, 200}) {
        QWheelEvent wheel(at, Client()->mapToGlobal(at), {}, angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        Send(wheel);
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held,
               Qt::MouseButton button = Qt::NoButton) {
        QMouseEvent event(type, at, Client()->mapToGlobal(at), button, held, Qt::NoModifier);
        Send(event);
    }
    void Bar(bool vertical, QAbstractSlider::SliderAction action) {
        (vertical ? view->verticalScrollBar() : view->horizontalScrollBar())->triggerAction(action);
    }
    void DragThumb(bool vertical, int position) {
        QScrollBar* bar = vertical ? view->verticalScrollBar() : view->horizontalScrollBar();
        bar->setSliderPosition(position);
    }
};

TEST_F(ViewRepaint, ScrollingNeverLeavesStalePixels) {
    struct Step {
        std::string what;
        std::function<void(ViewRepaint&)> act;
    };
    using K = Qt::Key;
    const auto key = [](K k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [k, m](ViewRepaint& t) { QTest::keyClick(t.view.get(), k, m); };
    };
    const auto wheel = [](QPoint angle, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [angle, m](ViewRepaint& t) { t.Wheel(angle, m); };
    };
    const std::vector<Step> steps = {
        {"a notch down", wheel({0, -120})},
        {"three notches up at once", wheel({0, 360})},
        {"a part of a notch", wheel({0, -40})},
        {"the rest of it", wheel({0, -80})},
        {"Shift+wheel: columns", wheel({0, -120}, Qt::ShiftModifier)},
        {"sideways wheel", wheel({240, 0})},
        {"bar: a line down",
         [](ViewRepaint& t) { t.Bar(true, QAbstractSlider::SliderSingleStepAdd); }},
        {"bar: a page up", [](ViewRepaint& t) { t.Bar(true, QAbstractSlider::SliderPageStepSub); }},
        {"bar: a page right",
         [](ViewRepaint& t) { t.Bar(false, QAbstractSlider::SliderPageStepAdd); }},
        {"bar: thumb dragged a little", [](ViewRepaint& t) { t.DragThumb(true, 395); }},
        {"bar: thumb dragged far", [](ViewRepaint& t) { t.DragThumb(false, 100); }},
        {"key Down", key(K::Key_Down)},
        {"key Right", key(K::Key_Right)},
        {"key PageDown", key(K::Key_PageDown)},
        {"key PageUp", key(K::Key_PageUp)},
        {"key Home", key(K::Key_Home)},
        {"Ctrl+End: the map's corner", key(K::Key_End, Qt::ControlModifier)},
        {"a notch past the last row", wheel({0, -120})},
        {"a notch back", wheel({0, 120})},
        {"zoomed out at the pointer", wheel({0, -120}, Qt::ControlModifier)},
        {"a notch down at 1:2", wheel({0, -120})},
        {"zoomed in twice", wheel({0, 240}, Qt::ControlModifier)},
        {"a notch up at 2:1", wheel({0, 120})},
        {"radar click",
         [](ViewRepaint& t) { t.view->Engine().SetVisibleArea(300, 200, 350, 240); }},
        {"a notch down after it", wheel({0, -120})},
        {"zoomed out to 1:4", wheel({0, -360}, Qt::ControlModifier)},
        {"a notch down at 1:4", wheel({0, -120})},
        {"Ctrl+Home", key(K::Key_Home, Qt::ControlModifier)},
    };
    for (const Step& step : steps) {
        step.act(*this);
        ExpectShownAsDrawn(step.what);
    }
}

// Every painting tool's stroke, with the view scrolled under it, Undo during and after it and
// Redo: each changed cell is painted, on screen as in a fresh picture.
TEST_F(ViewRepaint, PartialRepaintsNeverMissAChangedCell) {
    const int tools[] = {
        ID_TOOL_PENCIL,           ID_TOOL_ERASER,  ID_TOOL_LINE,           ID_TOOL_RECTANGLE,
        ID_TOOL_FILLED_RECTANGLE, ID_TOOL_ELLIPSE, ID_TOOL_FILLED_ELLIPSE, ID_TOOL_STAMP};
    int tile = 0;
    for (const int tool : tools) {
        const std::string name = "tool " + std::to_string(tool);
        frame.hub.Execute(tool);
        view->Engine().SetForeBack(tile = (tile + 37) % 160, true);
        Mouse(QEvent::MouseMove, {100, 100}, Qt::NoButton);
        ExpectShownAsDrawn(name + ": pointer over the map");
        Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
        ExpectShownAsDrawn(name + ": pressed");
        for (int step = 1; step <= 12; ++step) {
            Mouse(QEvent::MouseMove, {100 + step * 23, 100 + step * 17}, Qt::LeftButton);
            if (step == 4)
                Wheel({0, -120}); // the stroke goes on over the uncovered strip
            if (step == 8)
                frame.hub.Execute(ID_EDIT_UNDO); // the last steps' cells come back
            ExpectShownAsDrawn(name + ": move " + std::to_string(step));
        }
        Mouse(QEvent::MouseButtonRelease, {376, 304}, Qt::NoButton, Qt::LeftButton);
        ExpectShownAsDrawn(name + ": released");
        frame.hub.Execute(ID_EDIT_UNDO);
        ExpectShownAsDrawn(name + ": undone");
        frame.hub.Execute(ID_EDIT_REDO);
        ExpectShownAsDrawn(name + ": redone");
        Wheel({0, 120});
        ExpectShownAsDrawn(name + ": scrolled back");
    }
}

// A floating block dragged across the strip a scroll uncovers, the selection outline with it.
TEST_F(ViewRepaint, AFloatingBlockMovedOverTheUncoveredStripIsPaintedWhole) {
    frame.hub.Execute(ID_TOOL_SELECT);
    Mouse(QEvent::MouseButtonPress, {40, 40}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {200, 150}, Qt::LeftButton);
    ExpectShownAsDrawn("selecting");
    Mouse(QEvent::MouseButtonRelease, {200, 150}, Qt::NoButton, Qt::LeftButton);
    ExpectShownAsDrawn("selected");
    Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= 10; ++step) {
        Mouse(QEvent::MouseMove, {100 + step * 9, 100 + step * 31}, Qt::LeftButton);
        if (step % 3 == 0)
            Wheel({0, -120});
        ExpectShownAsDrawn("floating, move " + std::to_string(step));
    }
    Mouse(QEvent::MouseButtonRelease, {190, 410}, Qt::NoButton, Qt::LeftButton);
    ExpectShownAsDrawn("dropped");
    Wheel({0, 360});
    ExpectShownAsDrawn("scrolled back over it");
    frame.hub.Execute(ID_EDIT_UNDO);
    ExpectShownAsDrawn("undone");
}

} // namespace
} // namespace krav
