#pragma once

#include "document/Messages.h"
#include "editing/MapTarget.h"
#include "editing/UndoRecords.h"

#include <vector>

namespace krav {

// Steps kept on each of the undo and redo stacks.
inline constexpr int MAX_HISTORY = 10;

// A bounded stack of steps. Its slots are reserved up front, so pushing never allocates and
// cannot fail; when full, the oldest step makes room.
class UndoStack {
public:
    UndoStack() { m_records.reserve(MAX_HISTORY); }
    UndoStack(const UndoStack&) = delete;
    UndoStack& operator=(const UndoStack&) = delete;

    int Count() const { return static_cast<int>(m_records.size()); }
    bool IsEmpty() const { return m_records.empty(); }
    // The newest step, or null.
    const UndoRecord* Newest() const { return m_records.empty() ? nullptr : &m_records.back(); }

    // Pushes a step; when the stack is full, the oldest step makes room and is returned.
    UndoRecord Push(UndoRecord&& record);
    // Takes the newest step off; the stack must not be empty.
    UndoRecord PopNewest();
    // Takes the oldest step off and returns it (an empty step when there is none).
    UndoRecord DropOldest();
    void Clear() { m_records.clear(); }

private:
    std::vector<UndoRecord> m_records; // oldest first
};

// The undo and redo history of one map view. Undo and Redo write cells straight into the map
// and never mark the document modified.
class UndoHistory {
public:
    // Pushes one finished step. An empty payload (nothing changed) pushes nothing. The stacks
    // never need memory to push, so this cannot fail. `cells`, when known, is a block that
    // holds every cell the changes touch; otherwise it is worked out from them.
    void PushUndo(UndoKind kind, UndoPayload payload, const Rect& cells = {});
    void PushRedo(UndoKind kind, UndoPayload payload, const Rect& cells = {});

    // An empty change list, with the room of the last whole step the stacks gave up: a
    // whole-map step reserves as much as the one it pushes out, and memory used before
    // needs no fresh pages from the system.
    ChangeList TakeSpareList();

    // Writes a list back, newest change first, with the flag rule. Discard forgets it (putting
    // cells back after a failed operation); Undo and Redo put its inverse on the redo or the
    // undo stack as a Cells step. The list is left empty.
    void ApplyChangeList(MapTarget& target, ChangeList& list, ApplyMode mode);

    // Writes a segment's changes back. Their inverse is added to targetSegment, or forgotten
    // when it is null (taking back the newest segment of a connected line).
    void ApplySegment(MapTarget& target, StrokeSegment& segment, StrokeSegment* targetSegment);

    // Moves the newest step of the undo (Undo) or redo (Redo) stack to the other stack,
    // writing it into the map. Undo keeps the kind; Redo records line steps as ConnectedLine
    // and the others as Cells. Discard does nothing.
    void UndoRedo(MapTarget& target, ApplyMode mode);

    bool CanUndo() const { return !m_undo.IsEmpty(); }
    bool CanRedo() const { return !m_redo.IsEmpty(); }

    // Frees memory when it runs out: the spare list, then the oldest step of the redo stack,
    // then of the undo stack. False when there was nothing to free.
    bool ReleaseOldest();
    // Records a change, giving up old steps (ReleaseOldest) while memory is short. Throws
    // std::bad_alloc only when there is no history left to give up.
    void RecordChange(ChangeList& list, int x, int y, Cell oldValue);

    void DiscardHistory();

    const UndoStack& GetUndoStack() const { return m_undo; }
    const UndoStack& GetRedoStack() const { return m_redo; }

private:
    // Pushes a step with changes; keeps the room of the step it pushes out as the spare.
    void Push(UndoStack& stack, UndoRecord&& record);

    UndoStack m_undo;
    UndoStack m_redo;
    ChangeList m_spare;
};

} // namespace krav
