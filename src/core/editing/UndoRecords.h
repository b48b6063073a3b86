#pragma once

#include "document/TileCodes.h"
#include "editing/Geometry.h"

#include <cstdint>
#include <variant>
#include <vector>

namespace krav {

// One changed cell: the value to write back when the step is taken back (or done again).
struct CellChange {
    // Left unset, so that a list grown to take a whole row or map is not written twice: it is
    // sized first and every entry is written right after.
    CellChange() {} // NOLINT(modernize-use-equals-default): "= default" would zero it
    CellChange(std::int16_t x, std::int16_t y, std::int16_t value) : x(x), y(y), value(value) {}

    std::int16_t x;
    std::int16_t y;
    // -1 stands for EMPTY_CELL; written back sign-extended.
    std::int16_t value;
};
// Six bytes a cell keeps a whole-map step at 6 MB.
static_assert(sizeof(CellChange) == 6);

// The changes of one step in the order they were recorded. Applying walks it from the back,
// so a cell changed twice ends with the value it had before the first change.
using ChangeList = std::vector<CellChange>;

inline constexpr std::int16_t ToStoredValue(Cell v) {
    return static_cast<std::int16_t>(static_cast<std::int32_t>(v));
}
inline constexpr Cell FromStoredValue(std::int16_t v) {
    return static_cast<Cell>(static_cast<std::int32_t>(v));
}

// Records the value cell (x, y) holds before it is overwritten.
inline void RecordChange(ChangeList& list, int x, int y, Cell oldValue) {
    list.push_back(
        {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), ToStoredValue(oldValue)});
}

// One straight segment of a line stroke. The end cells are the line tools' own (relative to
// the visible area when drawn); the history uses only the changes.
struct StrokeSegment {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    ChangeList changes;
};

// The segments of a stroke, oldest first; applied from the back like a change list.
using SegmentList = std::vector<StrokeSegment>;

// Kinds of undo records. Line kinds hold segments, the others a change list.
enum class UndoKind { ConnectedLine = 2000, Line, Stamp, Cells, Fill };

inline constexpr bool IsSegmentKind(UndoKind kind) {
    return kind == UndoKind::ConnectedLine || kind == UndoKind::Line;
}

// How a change list is applied: put back and forgotten, or turned into its inverse for the
// other stack.
enum class ApplyMode { Discard = 3000, Undo, Redo };

using UndoPayload = std::variant<ChangeList, SegmentList>;

// One user step.
struct UndoRecord {
    UndoKind kind = UndoKind::Cells;
    UndoPayload payload;
    // A change list is kept newest first after it was written back once: its entries turn
    // into their inverse in place, which then walks the other way, and reversing a whole-map
    // list would cost another pass over it.
    bool newestFirst = false;
    // The block holding every cell the changes touch (empty: not worked out yet). Kept, so
    // that taking a whole-map step back and forth needs no bounds worked out change by change.
    Rect cells;
};

} // namespace krav
