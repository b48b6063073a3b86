#include "editing/UndoHistory.h"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <new>
#include <utility>

namespace krav {

namespace {

// Writes the changes from newest to end (newest first) with the flag rule and returns where
// it stopped: end, or the first change a flag past the limit cancelled with all older ones
// (what was written stays). Each entry written is reused in place for its inverse, the value
// it overwrote. The target hears once, at the end, of `cells` when known, else of the bounding
// box of the cells written, worked out as they are.
template <bool KNOWN_CELLS, typename Iterator>
Iterator WriteNewestFirst(MapTarget& target, Iterator newest, Iterator end, Rect cells) {
    const Iterator newestOfAll = newest;
    Cell* map = target.Cells();
    // Counted in a local: the target's count could alias the cells, which would keep it in
    // memory through the whole loop.
    int flags = target.Flags();
    CellBounds bounds;
    bool cancelled = false;
    for (; newest != end; ++newest) {
        CellChange& change = *newest;
        Cell& cell = map[change.y * MAP_SIZE + change.x];
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
        if constexpr (!KNOWN_CELLS)
            bounds.Add(change.x, change.y);
        change.value = ToStoredValue(old);
    }
    target.Flags() = flags;
    if (cancelled)
        target.ShowMessage(messages::HISTORY_FLAG_LIMIT);
    if (!KNOWN_CELLS || cancelled) { // a cancelled step wrote only part of its cells
        if constexpr (KNOWN_CELLS)
            for (Iterator written = newestOfAll; written != newest; ++written)
                bounds.Add(written->x, written->y);
        cells = bounds.IsEmpty() ? Rect{} : bounds.ToRect();
    }
    if (!cells.IsEmpty())
        target.BlockChanged(cells);
    return newest;
}

template <bool KNOWN_CELLS>
bool WriteBack(MapTarget& target, ChangeList& changes, bool newestFirst, const Rect& cells) {
    if (newestFirst) {
        const auto stop =
            WriteNewestFirst<KNOWN_CELLS>(target, changes.begin(), changes.end(), cells);
        changes.erase(stop, changes.end());
    } else {
        const auto stop =
            WriteNewestFirst<KNOWN_CELLS>(target, changes.rbegin(), changes.rend(), cells);
        changes.erase(changes.begin(), stop.base());
    }
    return !newestFirst;
}

// Writes a list back, newest change first, and leaves its inverse in it: the entries written,
// which are to be taken back in the opposite order, so the inverse is newest first exactly
// when the list was not. Returns whether the inverse is kept newest first.
bool WriteBack(MapTarget& target, ChangeList& changes, bool newestFirst) {
    return WriteBack<false>(target, changes, newestFirst, {});
}

// The same for a step whose cells are known.
bool WriteBackWithin(MapTarget& target, ChangeList& changes, bool newestFirst, const Rect& cells) {
    return WriteBack<true>(target, changes, newestFirst, cells);
}

// Writes a list kept oldest first back and leaves its inverse in it, oldest first too (the
// way a stroke's segments are kept).
void WriteBackInOrder(MapTarget& target, ChangeList& changes) {
    if (WriteBack(target, changes, false))
        std::reverse(changes.begin(), changes.end());
}

Rect CellsOfChanges(const ChangeList& changes) {
    CellBounds bounds;
    for (const CellChange& change : changes)
        bounds.Add(change.x, change.y);
    return bounds.IsEmpty() ? Rect{} : bounds.ToRect();
}

bool IsEmptyPayload(const UndoPayload& payload) {
    return std::visit([](const auto& list) { return list.empty(); }, payload);
}

} // namespace

UndoRecord UndoStack::Push(UndoRecord&& record) {
    UndoRecord dropped;
    if (Count() >= MAX_HISTORY)
        dropped = DropOldest();
    m_records.push_back(std::move(record)); // within the reserved slots
    return dropped;
}

UndoRecord UndoStack::PopNewest() {
    assert(!m_records.empty());
    UndoRecord record = std::move(m_records.back());
    m_records.pop_back();
    return record;
}

UndoRecord UndoStack::DropOldest() {
    if (m_records.empty())
        return {};
    UndoRecord oldest = std::move(m_records.front());
    m_records.erase(m_records.begin());
    return oldest;
}

void UndoHistory::Push(UndoStack& stack, UndoRecord&& record) {
    assert(IsSegmentKind(record.kind) == std::holds_alternative<SegmentList>(record.payload));
    if (IsEmptyPayload(record.payload))
        return;
    if (const auto* changes = std::get_if<ChangeList>(&record.payload);
        changes && record.cells.IsEmpty())
        record.cells = CellsOfChanges(*changes);
    UndoRecord dropped = stack.Push(std::move(record));
    if (auto* changes = std::get_if<ChangeList>(&dropped.payload);
        changes && changes->capacity() > m_spare.capacity())
        m_spare.swap(*changes);
}

void UndoHistory::PushUndo(UndoKind kind, UndoPayload payload, const Rect& cells) {
    Push(m_undo, {kind, std::move(payload), false, cells});
}

void UndoHistory::PushRedo(UndoKind kind, UndoPayload payload, const Rect& cells) {
    Push(m_redo, {kind, std::move(payload), false, cells});
}

ChangeList UndoHistory::TakeSpareList() {
    ChangeList list;
    list.swap(m_spare);
    list.clear();
    return list;
}

void UndoHistory::ApplyChangeList(MapTarget& target, ChangeList& list, ApplyMode mode) {
    const bool newestFirst = WriteBack(target, list, false);
    if (mode == ApplyMode::Undo) {
        Push(m_redo, {UndoKind::Cells, std::move(list), newestFirst, {}});
    } else if (mode == ApplyMode::Redo) {
        Push(m_undo, {UndoKind::Cells, std::move(list), newestFirst, {}});
    } else {
        ChangeList().swap(list);
    }
    list.clear();
}

void UndoHistory::ApplySegment(MapTarget& target, StrokeSegment& segment,
                               StrokeSegment* targetSegment) {
    if (targetSegment == nullptr) {
        WriteBack(target, segment.changes, false);
        ChangeList().swap(segment.changes);
        return;
    }
    WriteBackInOrder(target, segment.changes);
    if (targetSegment == &segment)
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
        for (auto segment = segments->rbegin(); segment != segments->rend(); ++segment)
            WriteBackInOrder(target, segment->changes);
        std::reverse(segments->begin(), segments->end());
        if (mode == ApplyMode::Redo)
            record.kind = UndoKind::ConnectedLine;
    } else {
        ChangeList& changes = std::get<ChangeList>(record.payload);
        const std::size_t count = changes.size();
        record.newestFirst = WriteBackWithin(target, changes, record.newestFirst, record.cells);
        if (changes.size() != count)
            record.cells = {}; // cancelled part way: worked out again from what is left
        if (mode == ApplyMode::Redo)
            record.kind = UndoKind::Cells;
    }
    Push(to, std::move(record));
}

bool UndoHistory::ReleaseOldest() {
    if (m_spare.capacity() > 0) {
        ChangeList().swap(m_spare);
        return true;
    }
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
    ChangeList().swap(m_spare);
}

} // namespace krav
