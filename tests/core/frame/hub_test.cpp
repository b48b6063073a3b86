// The main frame's decisions: tool changes from palettes, enabling and check marks, palettes
// that follow the views, and commands routed to the active view.
#include "document/Messages.h"
#include "frame/CommandIds.h"
#include "frame/StatusPanes.h"
#include "support/HubFixture.h"

#include <gtest/gtest.h>

namespace krav {
namespace {

class Hub : public ::testing::Test, protected test::HubFixture {};

TEST_F(Hub, WithoutAViewViewCommandsAreDisabled) {
    for (const int id : {ID_TOOL_PENCIL, ID_TOOL_FILLED_ELLIPSE, ID_TOGGLE_GRID, ID_FILL_SELECTION,
                         ID_TOGGLE_TILESET, ID_TOGGLE_RADAR, ID_EDIT_UNDO, ID_EDIT_PASTE,
                         ID_EDIT_COPY, ID_DROP_SELECTION, ID_IMPORT_TILESET}) {
        EXPECT_FALSE(hub.State(id).enabled) << id;
        EXPECT_FALSE(hub.Execute(id)) << id;
    }
    EXPECT_FALSE(hub.State(ID_TOOL_PENCIL).checked) << "no radio mark without a view";
    for (const int id : {ID_ERASE_MAP, ID_NEXT_FORE_TILE, ID_VIEW_TOOLS_TOOLBAR})
        EXPECT_TRUE(hub.State(id).enabled) << id;
    EXPECT_EQ(StatusPaneTexts(nullptr)[2], " ");
}

TEST_F(Hub, ChoosingATileDecidesTheTool) {
    struct Case {
        int tool;
        int expected;
    };
    OpenView();
    for (const Case c : {Case{ID_TOOL_LINE, ID_TOOL_LINE},
                         {ID_TOOL_FILLED_ELLIPSE, ID_TOOL_FILLED_ELLIPSE},
                         {ID_TOOL_ERASER, ID_TOOL_PENCIL},
                         {ID_TOOL_DROPPER, ID_TOOL_PENCIL},
                         {ID_TOOL_STAMP, ID_TOOL_PENCIL}}) {
        hub.Execute(c.tool);
        hub.SetCurrentTile(42, true, true);
        EXPECT_EQ(hub.CurrentTool(), c.expected) << c.tool;
        EXPECT_EQ(hub.ActiveView()->ForeTile(), 42);
        EXPECT_EQ(frame.shownFore, 42);
    }
    // A tile picked with the dropper moves the palette's frame only.
    hub.Execute(ID_TOOL_DROPPER);
    hub.SetCurrentTile(7, false, false);
    EXPECT_EQ(hub.CurrentTool(), ID_TOOL_DROPPER);
    EXPECT_EQ(hub.PaletteTile(false), 7);
}

TEST_F(Hub, ChoosingTheTileAlreadyChosenChangesNothing) {
    struct Case {
        const char* name;
        int tile;
        bool isFore;
        bool chosen;
    };
    const std::vector<Case> cases{
        {"the foreground again", 0, true, false},
        {"the background again", 1, false, false},
        {"the background tile as foreground", 1, true, true},
        {"the foreground tile as background", 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapViewEngine& view = OpenView(); // foreground 0, background 1
        hub.Execute(ID_TOOL_ERASER);
        frame.shownFore = frame.shownBack = -1;
        EXPECT_EQ(hub.ChooseTile(c.tile, c.isFore), c.chosen);
        EXPECT_EQ(hub.CurrentTool(), c.chosen ? ID_TOOL_PENCIL : ID_TOOL_ERASER);
        EXPECT_EQ(c.isFore ? view.ForeTile() : view.BackTile(), c.tile);
        EXPECT_EQ(c.isFore ? frame.shownFore : frame.shownBack, c.chosen ? c.tile : -1);
    }
}

TEST_F(Hub, RadioMarkGridAndUndoFollowTheView) {
    MapViewEngine& view = OpenView();
    hub.Execute(ID_TOOL_ERASER);
    EXPECT_TRUE(hub.State(ID_TOOL_ERASER).checked);
    EXPECT_FALSE(hub.State(ID_TOOL_PENCIL).checked);
    EXPECT_TRUE(hub.State(ID_TOGGLE_GRID).checked);
    view.ZoomAt(0, 0, true);
    view.ZoomAt(0, 0, true);
    EXPECT_FALSE(hub.State(ID_TOGGLE_GRID).enabled) << "no grid at 1:4";
    EXPECT_FALSE(hub.State(ID_EDIT_UNDO).enabled);
    view.Stamp().SetObject(OBJECT_1X1);
    view.Stamp().PlaceStamp({0, 0});
    view.Stamp().StampObject();
    EXPECT_TRUE(hub.State(ID_EDIT_UNDO).enabled);
    EXPECT_TRUE(hub.Execute(ID_EDIT_UNDO));
    EXPECT_TRUE(hub.State(ID_EDIT_REDO).enabled);
    EXPECT_EQ(view.Document().GetCell(0, 0), EMPTY_CELL);
}

TEST_F(Hub, TheRubberStampShowsItsPaletteAndTakesItsObject) {
    MapViewEngine& view = OpenView();
    frame.object = OBJECT_2X2;
    EXPECT_FALSE(frame.IsPaletteVisible(PaletteWindow::SpecialObjects));
    hub.Execute(ID_TOOL_STAMP);
    EXPECT_TRUE(frame.IsPaletteVisible(PaletteWindow::SpecialObjects));
    EXPECT_EQ(view.Stamp().Object(), OBJECT_2X2);
    hub.SelectStampObject(OBJECT_5X5);
    EXPECT_EQ(view.Stamp().Object(), OBJECT_5X5);
    EXPECT_EQ(hub.CurrentTool(), ID_TOOL_STAMP);
}

TEST_F(Hub, TileKeysStepOnlyWhileTheTileSetPaletteIsShown) {
    OpenView();
    hub.Execute(ID_TOGGLE_TILESET); // shown with the first view; now hidden
    hub.Execute(ID_NEXT_FORE_TILE);
    EXPECT_EQ(hub.PaletteTile(true), 0);
    hub.Execute(ID_TOGGLE_TILESET);
    hub.Execute(ID_PREV_FORE_TILE);
    EXPECT_EQ(hub.PaletteTile(true), 189) << "wraps around";
    hub.Execute(ID_NEXT_FORE_TILE);
    EXPECT_EQ(hub.PaletteTile(true), 0);
    hub.Execute(ID_NEXT_BACK_TILE);
    EXPECT_EQ(hub.ActiveView()->BackTile(), 2);
}

TEST_F(Hub, PalettesComeWithTheFirstViewAndGoWithTheLast) {
    OpenView();
    OpenView();
    const std::set<PaletteWindow> three = {PaletteWindow::Radar, PaletteWindow::TileSet,
                                           PaletteWindow::TileInfo};
    EXPECT_EQ(frame.visible, three);
    frame.visible.insert(PaletteWindow::SpecialObjects);
    hub.ViewClosed();
    EXPECT_EQ(frame.visible.size(), 4u);
    hub.ViewClosed();
    EXPECT_EQ(frame.visible, std::set<PaletteWindow>{PaletteWindow::SpecialObjects});
}

TEST_F(Hub, EraseMapAsksFirst) {
    MapViewEngine& view = OpenView();
    view.Stamp().SetObject(OBJECT_1X1);
    view.Stamp().PlaceStamp({0, 0});
    view.Stamp().StampObject();
    prompt.answers = {false};
    hub.Execute(ID_ERASE_MAP);
    EXPECT_EQ(view.Document().GetCell(0, 0), OBJECT_1X1);
    prompt.answers = {true};
    hub.Execute(ID_ERASE_MAP);
    EXPECT_EQ(view.Document().GetCell(0, 0), EMPTY_CELL);
    EXPECT_TRUE(hub.State(ID_EDIT_UNDO).enabled) << "the history stays";
    EXPECT_EQ(prompt.messages.back(), messages::ERASE_MAP_QUESTION);
}

} // namespace
} // namespace krav
