// The undo and redo history of a map view: bounded stacks, steps that move between them with
// their entries reused, the flag limit while writing back, and what the view is told.
#include "document/Messages.h"
#include "editing/UndoHistory.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace krav {
namespace {

// A map over a plain array that counts what the history reports.
class FakeMap final : public MapTarget {
public:
    std::vector<Cell> cells = std::vector<Cell>(MAP_CELLS, EMPTY_CELL);
    int flags = 0;
    int cellsChanged = 0;
    std::vector<Rect> blocks;
    std::vector<std::string> messages;
    int modified = 0;

    Cell* Cells() override { return cells.data(); }
    int& Flags() override { return flags; }
    void CellChanged(int, int) override { ++cellsChanged; }
    void BlockChanged(const Rect& cells) override { blocks.push_back(cells); }
    void SetModified() override { ++modified; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    Cell& At(int x, int y) { return cells[y * MAP_SIZE + x]; }

    // Writes a cell the way an editing tool does: old value recorded, flags counted. The
    // caller keeps below the flag limit.
    void Paint(ChangeList& list, int x, int y, Cell value) {
        Cell& cell = At(x, y);
        RecordChange(list, x, y, cell);
        flags += (value == FLAG_CELL) - (cell == FLAG_CELL);
        cell = value;
    }
    // A change that never reaches the history (as when its record was lost).
    void PaintUnrecorded(int x, int y, Cell value) {
        ChangeList lost;
        Paint(lost, x, y, value);
    }

    int CountFlags() const {
        return static_cast<int>(std::count(cells.begin(), cells.end(), FLAG_CELL));
    }
};

struct Painted {
    int x;
    int y;
    Cell value;
};

// Compares whole maps without printing four million cells.
::testing::AssertionResult SameMap(const std::vector<Cell>& actual,
                                   const std::vector<Cell>& expected) {
    const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin());
    if (a == actual.end())
        return ::testing::AssertionSuccess();
    const auto index = a - actual.begin();
    return ::testing::AssertionFailure() << "cell (" << index % MAP_SIZE << ", " << index / MAP_SIZE
                                         << ") holds " << *a << ", expected " << *e;
}

class History : public ::testing::Test {
protected:
    ChangeList Paint(std::initializer_list<Painted> cells) {
        ChangeList list;
        for (const Painted& p : cells)
            map.Paint(list, p.x, p.y, p.value);
        return list;
    }
    StrokeSegment Segment(std::initializer_list<Painted> cells) {
        StrokeSegment segment;
        segment.x0 = cells.begin()->x;
        segment.y0 = cells.begin()->y;
        segment.x1 = std::prev(cells.end())->x;
        segment.y1 = std::prev(cells.end())->y;
        segment.changes = Paint(cells);
        return segment;
    }
    void Step(std::initializer_list<Painted> cells) {
        history.PushUndo(UndoKind::Cells, Paint(cells));
    }
    void Undo() { history.UndoRedo(map, ApplyMode::Undo); }
    void Redo() { history.UndoRedo(map, ApplyMode::Redo); }
    UndoKind NewestUndoKind() const { return history.GetUndoStack().Newest()->kind; }
    UndoKind NewestRedoKind() const { return history.GetRedoStack().Newest()->kind; }

    // Fills row `row` from column 0 with flags until the map holds `count` of them.
    void PlaceFlags(int row, int count) {
        for (int x = 0; x < count; ++x)
            map.PaintUnrecorded(x, row, FLAG_CELL);
    }

    FakeMap map;
    UndoHistory history;
};

TEST_F(History, EachStackKeepsItsTenNewestSteps) {
    for (int i = 0; i <= MAX_HISTORY; ++i)
        Step({{i, 0, static_cast<Cell>(i)}});
    EXPECT_EQ(history.GetUndoStack().Count(), MAX_HISTORY);

    for (int i = 0; i < MAX_HISTORY; ++i) {
        ASSERT_TRUE(history.CanUndo()) << "undo " << i;
        Undo();
    }
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(map.At(0, 0), 0u) << "the first step was dropped and stays";
    for (int i = 1; i <= MAX_HISTORY; ++i)
        EXPECT_EQ(map.At(i, 0), EMPTY_CELL) << i;
    EXPECT_EQ(history.GetRedoStack().Count(), MAX_HISTORY);

    // The redo stack is bounded too: the first step undone (the eleventh) makes room.
    Step({{20, 0, 20}});
    Undo();
    EXPECT_EQ(history.GetRedoStack().Count(), MAX_HISTORY);
    while (history.CanRedo())
        Redo();
    EXPECT_EQ(map.At(20, 0), 20u);
    for (int i = 1; i < MAX_HISTORY; ++i)
        EXPECT_EQ(map.At(i, 0), static_cast<Cell>(i)) << i;
    EXPECT_EQ(map.At(MAX_HISTORY, 0), EMPTY_CELL);
    EXPECT_EQ(history.GetUndoStack().Count(), MAX_HISTORY);
}

TEST_F(History, AStepThatChangedNothingPushesNothing) {
    Step({{1, 1, 5}});
    Step({{2, 2, 6}});
    Undo();

    ChangeList noChanges;
    history.PushUndo(UndoKind::Cells, ChangeList{});
    history.PushUndo(UndoKind::ConnectedLine, SegmentList{});
    history.ApplyChangeList(map, noChanges, ApplyMode::Undo);
    history.ApplyChangeList(map, noChanges, ApplyMode::Redo);

    EXPECT_EQ(history.GetUndoStack().Count(), 1);
    EXPECT_EQ(history.GetRedoStack().Count(), 1);
    EXPECT_EQ(map.blocks.size(), 1u) << "only the undo repainted";
    Redo();
    EXPECT_EQ(map.At(2, 2), 6u);
}

TEST_F(History, AStrokeThroughACellTwiceUndoesToBeforeAndRedoesToAfter) {
    map.At(3, 3) = 42;
    Step({{3, 3, 5}, {4, 3, 6}, {3, 3, 7}, {4, 3, EMPTY_CELL}});
    ASSERT_EQ(history.GetUndoStack().Count(), 1);

    Undo();
    EXPECT_EQ(map.At(3, 3), 42u);
    EXPECT_EQ(map.At(4, 3), EMPTY_CELL);
    Redo();
    EXPECT_EQ(map.At(3, 3), 7u);
    EXPECT_EQ(map.At(4, 3), EMPTY_CELL);
    Undo();
    EXPECT_EQ(map.At(3, 3), 42u);
    EXPECT_EQ(map.modified, 0) << "undo and redo leave the modified flag alone";
}

TEST_F(History, RedoAfterANewEditStillWritesTheUndoneStep) {
    Step({{8, 8, 3}});
    Undo();
    Step({{8, 8, 9}, {9, 8, 1}});
    ASSERT_TRUE(history.CanRedo()) << "a new edit keeps the redo stack";

    Redo();
    EXPECT_EQ(map.At(8, 8), 3u);
    EXPECT_EQ(map.At(9, 8), 1u);
    EXPECT_FALSE(history.CanRedo());
    Undo();
    EXPECT_EQ(map.At(8, 8), 9u) << "the value the redo overwrote comes back";
}

TEST_F(History, AConnectedLineIsOneStepBothWays) {
    map.At(2, 0) = 4; // the joints are written twice; this one held a tile before
    const std::vector<Cell> before = map.cells;
    SegmentList stroke;
    stroke.push_back(Segment({{0, 0, 7}, {1, 0, 7}, {2, 0, 7}}));
    stroke.push_back(Segment({{2, 0, 8}, {2, 1, 8}, {2, 2, 8}}));
    stroke.push_back(Segment({{2, 2, 9}, {1, 2, 9}, {0, 2, 9}}));
    const std::vector<Cell> after = map.cells;
    history.PushUndo(UndoKind::ConnectedLine, std::move(stroke));

    Undo();
    EXPECT_TRUE(SameMap(map.cells, before));
    EXPECT_FALSE(history.CanUndo());
    Redo();
    EXPECT_TRUE(SameMap(map.cells, after));
    ASSERT_EQ(history.GetUndoStack().Count(), 1);
    EXPECT_EQ(NewestUndoKind(), UndoKind::ConnectedLine);
    EXPECT_EQ(map.blocks.size(), 6u) << "each segment repaints its own cells";
    Undo();
    EXPECT_TRUE(SameMap(map.cells, before));
}

TEST_F(History, UndoKeepsTheKindAndRedoRecordsSegmentsOrCells) {
    struct Case {
        UndoKind kind;
        UndoKind afterRedo;
    };
    for (const Case c : {Case{UndoKind::ConnectedLine, UndoKind::ConnectedLine},
                         {UndoKind::Line, UndoKind::ConnectedLine},
                         {UndoKind::Stamp, UndoKind::Cells},
                         {UndoKind::Cells, UndoKind::Cells},
                         {UndoKind::Fill, UndoKind::Cells}}) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        UndoHistory fresh;
        if (IsSegmentKind(c.kind)) {
            SegmentList line;
            line.push_back(Segment({{5, 5, 1}}));
            fresh.PushUndo(c.kind, std::move(line));
        } else {
            fresh.PushUndo(c.kind, Paint({{5, 5, 1}}));
        }
        fresh.UndoRedo(map, ApplyMode::Undo);
        EXPECT_EQ(fresh.GetRedoStack().Newest()->kind, c.kind);
        fresh.UndoRedo(map, ApplyMode::Redo);
        EXPECT_EQ(fresh.GetUndoStack().Newest()->kind, c.afterRedo);
        fresh.UndoRedo(map, ApplyMode::Undo);
        EXPECT_EQ(fresh.GetRedoStack().Newest()->kind, c.afterRedo);
    }
}

TEST_F(History, RestoringFlagsPastTheLimitCancelsTheRestOfTheStep) {
    PlaceFlags(100, MAX_FLAGS);
    // Recorded first to last; undo writes back the tile first, then meets the flags.
    Step({{0, 100, EMPTY_CELL}, {1, 100, EMPTY_CELL}, {5, 5, 4}});
    ASSERT_EQ(map.flags, MAX_FLAGS - 2);
    map.PaintUnrecorded(0, 200, FLAG_CELL);
    map.PaintUnrecorded(1, 200, FLAG_CELL);

    Undo();
    EXPECT_EQ(map.At(5, 5), EMPTY_CELL);
    EXPECT_EQ(map.At(1, 100), EMPTY_CELL);
    EXPECT_EQ(map.At(0, 100), EMPTY_CELL) << "the cancelled change takes the older ones along";
    EXPECT_EQ(map.flags, MAX_FLAGS);
    EXPECT_EQ(map.CountFlags(), MAX_FLAGS);
    EXPECT_EQ(map.messages, std::vector<std::string>{messages::HISTORY_FLAG_LIMIT});
    ASSERT_FALSE(map.blocks.empty());
    EXPECT_EQ(map.blocks.back(), (Rect{5, 5, 6, 6}));

    // What was written back is the whole of the redo step.
    EXPECT_FALSE(history.CanUndo());
    Redo();
    EXPECT_EQ(map.At(5, 5), 4u);
    EXPECT_EQ(map.At(1, 100), EMPTY_CELL);
    EXPECT_EQ(map.flags, MAX_FLAGS);
}

TEST_F(History, AFlagGoesBackOverAFlagAtTheLimit) {
    PlaceFlags(100, MAX_FLAGS);
    Step({{0, 100, 3}});
    map.PaintUnrecorded(0, 100, FLAG_CELL);

    Undo();
    EXPECT_TRUE(map.messages.empty());
    EXPECT_EQ(map.At(0, 100), FLAG_CELL);
    EXPECT_EQ(map.flags, MAX_FLAGS);
    EXPECT_TRUE(history.CanRedo());
}

TEST_F(History, ApplyingReportsTheBoundingBoxOfTheCellsWrittenOnce) {
    Step({{5, 7, 1}, {300, 2, 1}, {10, 1023, 1}, {5, 7, 2}});
    Undo();
    EXPECT_EQ(map.cellsChanged, 0) << "no report per cell: a whole-map step has a million";
    EXPECT_EQ(map.blocks, std::vector<Rect>{(Rect{5, 2, 301, 1024})});

    // Putting cells back after a failed operation leaves the history as it is.
    ChangeList failed = Paint({{1023, 0, 9}, {0, 1023, 9}});
    map.blocks.clear();
    history.ApplyChangeList(map, failed, ApplyMode::Discard);
    EXPECT_EQ(map.At(1023, 0), EMPTY_CELL);
    EXPECT_EQ(map.At(0, 1023), EMPTY_CELL);
    EXPECT_TRUE(failed.empty());
    EXPECT_EQ(map.blocks, std::vector<Rect>{(Rect{0, 0, 1024, 1024})});
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.GetRedoStack().Count(), 1);
}

TEST_F(History, TakingBackASegmentLeavesTheStacksAlone) {
    map.At(6, 6) = 11;
    StrokeSegment segment = Segment({{6, 6, FLAG_CELL}, {7, 6, FLAG_CELL}});
    ASSERT_EQ(map.flags, 2);

    StrokeSegment inverse;
    history.ApplySegment(map, segment, &inverse);
    EXPECT_EQ(map.At(6, 6), 11u);
    EXPECT_EQ(map.At(7, 6), EMPTY_CELL);
    EXPECT_EQ(map.flags, 0);
    EXPECT_TRUE(segment.changes.empty());

    history.ApplySegment(map, inverse, nullptr);
    EXPECT_EQ(map.At(6, 6), FLAG_CELL);
    EXPECT_EQ(map.At(7, 6), FLAG_CELL);
    EXPECT_EQ(map.flags, 2);
    EXPECT_TRUE(inverse.changes.empty());
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
}

TEST_F(History, MemoryIsTakenFromTheRedoStackFirst) {
    Step({{1, 0, 1}});
    Step({{2, 0, 2}});
    Undo();
    ASSERT_TRUE(history.ReleaseOldest());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_TRUE(history.CanUndo());
    ASSERT_TRUE(history.ReleaseOldest());
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.ReleaseOldest());
}

TEST_F(History, AStepOverTheWholeMapIsUndoneAndRedone) {
    ChangeList list;
    list.reserve(MAP_CELLS);
    for (int y = 0; y < MAP_SIZE; ++y) {
        for (int x = 0; x < MAP_SIZE; ++x)
            map.Paint(list, x, y, static_cast<Cell>((x + y) % 169));
    }
    const std::vector<Cell> painted = map.cells;
    history.PushUndo(UndoKind::Fill, std::move(list));

    Undo();
    EXPECT_EQ(std::count(map.cells.begin(), map.cells.end(), EMPTY_CELL), MAP_CELLS);
    Redo();
    EXPECT_TRUE(SameMap(map.cells, painted));
    EXPECT_EQ(map.blocks.back(), (Rect{0, 0, MAP_SIZE, MAP_SIZE}));
}

// Random steps of both payload kinds inside a 48 x 48 area, so that cells are hit many times.
// Flags are rationed: every flag the map holds at any moment, even halfway through an undo,
// was on it at the start or written by a step, so staying far below the limit means no step
// is ever cancelled.
class RandomSteps {
public:
    explicit RandomSteps(unsigned seed) : m_random(seed) {
        m_left = Between(0, MAP_SIZE - AREA);
        m_top = Between(0, MAP_SIZE - AREA);
    }

    int Between(int low, int high) { return std::uniform_int_distribution(low, high)(m_random); }
    void SetFlagBudget(int flags) { m_flagBudget = flags; }

    void Cells(FakeMap& map, ChangeList& list, int count) {
        for (int i = 0; i < count; ++i) {
            map.Paint(list, m_left + Between(0, AREA - 1), m_top + Between(0, AREA - 1), Value());
        }
    }

    void Step(FakeMap& map, UndoHistory& history) {
        if (Between(0, 1) == 0) {
            constexpr UndoKind kinds[] = {UndoKind::Stamp, UndoKind::Cells, UndoKind::Fill};
            ChangeList list;
            Cells(map, list, Between(1, 150));
            history.PushUndo(kinds[Between(0, 2)], std::move(list));
        } else {
            SegmentList stroke(Between(1, 3));
            for (StrokeSegment& segment : stroke)
                Cells(map, segment.changes, Between(1, 40));
            const UndoKind kind = stroke.size() == 1 ? UndoKind::Line : UndoKind::ConnectedLine;
            history.PushUndo(kind, std::move(stroke));
        }
    }

private:
    static constexpr int AREA = 48;

    Cell Value() {
        const int pick = Between(0, 99);
        if (pick < 15)
            return EMPTY_CELL;
        if (pick < 25 && m_flagBudget > 0) {
            --m_flagBudget;
            return FLAG_CELL;
        }
        if (pick < 40) {
            constexpr Cell bases[] = {OBJECT_6X6, OBJECT_5X5, OBJECT_2X2, OBJECT_1X1};
            const Cell base = bases[Between(0, 3)];
            return base + static_cast<Cell>(Between(0, ObjectSide(base) * ObjectSide(base) - 1));
        }
        const Cell tile = static_cast<Cell>(Between(0, TILE_COUNT - 2));
        return tile >= FLAG_CELL ? tile + 1 : tile;
    }

    std::mt19937 m_random;
    int m_left = 0;
    int m_top = 0;
    int m_flagBudget = 0;
};

TEST(HistoryProperty, UndoingEverythingRestoresTheStartAndRedoingItTheEnd) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomSteps random(seed);
        FakeMap map;
        UndoHistory history;
        ChangeList setUp;
        random.SetFlagBudget(20);
        random.Cells(map, setUp, 300);
        const std::vector<Cell> start = map.cells;
        const int startFlags = map.flags;

        random.SetFlagBudget(200);
        const int steps = random.Between(1, MAX_HISTORY);
        for (int i = 0; i < steps; ++i)
            random.Step(map, history);
        const std::vector<Cell> end = map.cells;
        const int endFlags = map.flags;

        int undone = 0;
        for (; history.CanUndo(); ++undone)
            history.UndoRedo(map, ApplyMode::Undo);
        EXPECT_EQ(undone, steps);
        EXPECT_TRUE(SameMap(map.cells, start));
        EXPECT_EQ(map.flags, startFlags);
        EXPECT_EQ(map.flags, map.CountFlags());

        while (history.CanRedo())
            history.UndoRedo(map, ApplyMode::Redo);
        EXPECT_TRUE(SameMap(map.cells, end));
        EXPECT_EQ(map.flags, endFlags);
        EXPECT_EQ(map.flags, map.CountFlags());
        EXPECT_EQ(history.GetUndoStack().Count(), steps);

        EXPECT_TRUE(map.messages.empty());
        EXPECT_EQ(map.modified, 0);
    }
}

} // namespace
} // namespace krav
