// Random input over every tool and command, checking after each step what must always hold:
// the live flag count matches the map, every cell holds a value a map can hold, and neither
// history stack holds more than ten steps.
#include "frame/CommandIds.h"
#include "support/HubFixture.h"

#include <gtest/gtest.h>
#include <random>

namespace krav {
namespace {

bool IsMapValue(Cell v) {
    return v == EMPTY_CELL || IsTileCell(v) || ObjectBaseOf(v).has_value();
}

class RandomInput : public ::testing::TestWithParam<unsigned> {
protected:
    int Pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); }
    Point AnyPoint() { return {Pick(-40, 700), Pick(-40, 520)}; }
    int Mods() { return (Pick(0, 3) == 0 ? MK_SHIFT : 0) | (Pick(0, 3) == 0 ? MK_CONTROL : 0); }

    void Step(MapViewEngine& view, HubViewHost& host) {
        static const int commands[] = {ID_TOGGLE_GRID,     ID_FILL_SELECTION, ID_FLIP_HORIZONTAL,
                                       ID_FLIP_VERTICAL,   ID_ERASE_MAP,      ID_DROP_SELECTION,
                                       ID_FLOAT_SELECTION, ID_EDIT_COPY,      ID_EDIT_CUT,
                                       ID_EDIT_PASTE,      ID_EDIT_UNDO,      ID_EDIT_REDO,
                                       ID_NEXT_FORE_TILE,  ID_PREV_BACK_TILE, ID_TOGGLE_TILESET};
        const Point p = AnyPoint();
        const int buttons = (leftHeld ? MK_LBUTTON : 0) | (rightHeld ? MK_RBUTTON : 0);
        switch (Pick(0, 15)) {
        case 0:
            hub().Execute(Pick(ID_TOOL_FIRST, ID_TOOL_LAST));
            break;
        case 1: {
            const int command = commands[Pick(0, std::size(commands) - 1)];
            if (command == ID_ERASE_MAP)
                fixture.prompt.answers.push_back(Pick(0, 9) == 0);
            hub().Execute(command);
            fixture.prompt.answers.clear();
            break;
        }
        case 2:
            hub().SetCurrentTile(Pick(0, 2) == 0 ? FLAG_CELL : Pick(0, TILE_COUNT - 1),
                                 Pick(0, 1) == 1, true);
            break;
        case 3:
            hub().SelectStampObject(std::array{500u, 600u, 700u, 800u}[Pick(0, 3)]);
            break;
        case 4:
        case 5:
            leftHeld = true;
            view.OnLButtonDown(buttons | MK_LBUTTON | Mods(), p);
            break;
        case 6:
            rightHeld = true;
            view.OnRButtonDown(buttons | MK_RBUTTON | Mods(), p);
            break;
        case 7:
        case 8:
        case 9:
            view.OnMouseMove(buttons | Mods(), p);
            break;
        case 10:
            leftHeld = false;
            view.OnLButtonUp((buttons & ~MK_LBUTTON) | Mods(), p);
            break;
        case 11:
            rightHeld = false;
            view.OnRButtonUp((buttons & ~MK_RBUTTON) | Mods(), p);
            break;
        case 12:
            view.OnLButtonDblClk(buttons | MK_LBUTTON, p);
            break;
        case 13:
            view.OnKeyDown(static_cast<ViewKey>(Pick(0, 7)), Pick(0, 1) == 1);
            break;
        case 14:
            for (const ViewTimer timer :
                 {ViewTimer::FloatScroll, ViewTimer::SelectScroll, ViewTimer::PaintScroll})
                if (host.IsTimerRunning(timer))
                    view.OnTimer(timer, p);
            break;
        case 15:
            if (Pick(0, 3) == 0)
                view.ZoomAt(p.x, p.y, Pick(0, 1) == 1);
            break;
        }
    }

    MainFrameHub& hub() { return fixture.hub; }

    std::mt19937 random{GetParam()};
    test::HubFixture fixture;
    bool leftHeld = false;
    bool rightHeld = false;
};

TEST_P(RandomInput, KeepsTheMapAndItsCountsConsistent) {
    constexpr int STEPS = 4000;
    MapViewEngine& view = fixture.OpenView(320, 240);
    // Start near the flag limit, so that it is met often.
    for (int i = 0; i < 250; ++i)
        view.Document().GetCells()[500 * MAP_SIZE + i] = FLAG_CELL;
    view.Flags() = 250;
    HubViewHost& host = *fixture.views.front().host;
    for (int step = 0; step < STEPS; ++step) {
        Step(view, host);
        const Cell* cells = view.Document().GetCells();
        ASSERT_EQ(view.FlagCount(), std::count(cells, cells + MAP_CELLS, FLAG_CELL))
            << "step " << step;
        // Values are checked less often: a stray value stays in the map until it is overwritten.
        if (step % 20 == 0 || step == STEPS - 1) {
            const Cell* bad = std::find_if_not(cells, cells + MAP_CELLS, IsMapValue);
            ASSERT_EQ(bad, cells + MAP_CELLS)
                << "step " << step << ": cell " << (bad - cells) % MAP_SIZE << ","
                << (bad - cells) / MAP_SIZE << " holds " << *bad;
        }
        ASSERT_LE(view.History().GetUndoStack().Count(), 10);
        ASSERT_LE(view.History().GetRedoStack().Count(), 10);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomInput, ::testing::Values(1u, 2u, 3u, 4u));

} // namespace
} // namespace krav
