#include "editing/UndoHistory.h"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <new>
#include <utility>

namespace krav {

namespace {

// Writes the changes back newest first. Each entry is reused in place for its inverse (the
// value it overwrote); afterwards `changes` holds the inverse in recording order, or is
// freed when the inverse is not wanted. A flag that would pass the limit cancels that change
// and all older ones: they are dropped, what was written stays. The target hears of the
// bounding box of the cells written once, at the end: a whole-map step touches a million.
void WriteBack(MapTarget& target, ChangeList& changes, bool keepInverse) {
    Cell* cells = target.Cells();
    // Counted in a local: the target's count could alias the cells, which would keep it in
    // memory through the whole loop.
    int flags = target.Flags();
    CellBounds bounds;
    auto written = changes.rbegin();
    bool cancelled = false;
    for (; written != changes.rend(); ++written) {
        CellChange& change = *written;
        Cell& cell = cells[change.y * MAP_SIZE + change.x];
        const Cell old = cell;
        const Cell value = FromStoredValue(change.value);
        // The overwritten flag is counted off first, so a flag over a flag always goes in.
        if (value == FLAG_CELL) [[unlikely]] {
            if (old != FLAG_CELL && flags >= MAX_FLAGS) {
                cancelled = true;
                break;
            }
            flags += old != FLAG_CELL;
        } else {
            flags -= old == FLAG_CELL;
        }
        cell = value;
        bounds.Add(change.x, change.y);
        change.value = ToStoredValue(old);
    }
    target.Flags() = flags;
    if (cancelled)
        target.ShowMessage(messages::HISTORY_FLAG_LIMIT);
    if (!bounds.IsEmpty())
        target.BlockChanged(bounds.ToRect());

    if (!keepInverse) {
        ChangeList().swap(changes);
        return;
    }
    // The written entries are the tail; the way back walks them in the opposite order.
    const auto firstWritten = written.base();
    std::reverse(firstWritten, changes.end());
    changes.erase(changes.begin(), firstWritten);
}

bool IsEmptyPayload(const UndoPayload& payload) {
    return std::visit([](const auto& list) { return list.empty(); }, payload);
}

} // namespace

void UndoStack::Push(UndoRecord&& record) {
    if (Count() >= MAX_HISTORY)
        DropOldest();
    m_records.push_back(std::move(record)); // within the reserved slots
}

UndoRecord UndoStack::PopNewest() {
    assert(!m_records.empty());
    UndoRecord record = std::move(m_records.back());
    m_records.pop_back();
    return record;
}

void UndoStack::DropOldest() {
    if (!m_records.empty())
        m_records.erase(m_records.begin());
}

void UndoHistory::PushUndo(UndoKind kind, UndoPayload payload) {
    assert(IsSegmentKind(kind) == std::holds_alternative<SegmentList>(payload));
    if (!IsEmptyPayload(payload))
        m_undo.Push({kind, std::move(payload)});
}

void UndoHistory::PushRedo(UndoKind kind, UndoPayload payload) {
    assert(IsSegmentKind(kind) == std::holds_alternative<SegmentList>(payload));
    if (!IsEmptyPayload(payload))
        m_redo.Push({kind, std::move(payload)});
}

void UndoHistory::ApplyChangeList(MapTarget& target, ChangeList& list, ApplyMode mode) {
    WriteBack(target, list, mode != ApplyMode::Discard);
    if (mode == ApplyMode::Undo) {
        PushRedo(UndoKind::Cells, std::move(list));
    } else if (mode == ApplyMode::Redo) {
        PushUndo(UndoKind::Cells, std::move(list));
    }
    list.clear();
}

void UndoHistory::ApplySegment(MapTarget& target, StrokeSegment& segment,
                               StrokeSegment* targetSegment) {
    WriteBack(target, segment.changes, targetSegment != nullptr);
    if (targetSegment == nullptr || targetSegment == &segment)
        return;
    ChangeList& inverse = targetSegment->changes;
    if (inverse.empty()) {
        inverse.swap(segment.changes);
    } else {
        inverse.insert(inverse.end(), segment.changes.begin(), segment.changes.end());
        ChangeList().swap(segment.changes);
    }
}

void UndoHistory::UndoRedo(MapTarget& target, ApplyMode mode) {
    if (mode == ApplyMode::Discard)
        return;
    UndoStack& from = mode == ApplyMode::Undo ? m_undo : m_redo;
    UndoStack& to = mode == ApplyMode::Undo ? m_redo : m_undo;
    if (from.IsEmpty())
        return;

    UndoRecord record = from.PopNewest();
    if (auto* segments = std::get_if<SegmentList>(&record.payload)) {
        // Newest segment first, each turned into its own inverse; the stroke is then walked
        // the other way round on the way back.
        for (auto segment = segments->rbegin(); segment != segments->rend(); ++segment) {
            WriteBack(target, segment->changes, true);
        }
        std::reverse(segments->begin(), segments->end());
        if (mode == ApplyMode::Redo)
            record.kind = UndoKind::ConnectedLine;
    } else {
        WriteBack(target, std::get<ChangeList>(record.payload), true);
        if (mode == ApplyMode::Redo)
            record.kind = UndoKind::Cells;
    }
    if (!IsEmptyPayload(record.payload))
        to.Push(std::move(record));
}

bool UndoHistory::ReleaseOldest() {
    if (!m_redo.IsEmpty()) {
        m_redo.DropOldest();
        return true;
    }
    if (!m_undo.IsEmpty()) {
        m_undo.DropOldest();
        return true;
    }
    return false;
}

void UndoHistory::RecordChange(ChangeList& list, int x, int y, Cell oldValue) {
    for (;;) {
        try {
            krav::RecordChange(list, x, y, oldValue);
            return;
        } catch (const std::bad_alloc&) {
            if (!ReleaseOldest())
                throw;
        }
    }
}

void UndoHistory::DiscardHistory() {
    m_undo.Clear();
    m_redo.Clear();
}

} // namespace krav
