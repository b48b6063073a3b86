// Block operations of the Select tool on the map: copying and writing blocks of cells, Fill
// and the flips.
#include "document/CellScan.h"
#include "document/Messages.h"
#include "editing/FlagPolicy.h"
#include "editing/ObjectGeometry.h"
#include "editing/SelectionTool.h"
#include "editing/ToolContext.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace krav {

namespace {

std::size_t CellCount(const Rect& cells) {
    return static_cast<std::size_t>(cells.Width()) * static_cast<std::size_t>(cells.Height());
}

// Fill and the flips take one change per cell up front; without the memory they still
// change the map, only not undoably.
bool ReserveChanges(ChangeList& list, std::size_t count) {
    try {
        list.reserve(count);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Writes the changes that record cells left to right - 1 of a map row before they change,
// one by one: each as one 8-byte store whose last two bytes the next change overwrites, the
// last change on its own so that nothing is written past it.
void RecordEach(CellChange* out, const Cell* row, int left, int right, int y) {
    static_assert(std::endian::native == std::endian::little && sizeof(CellChange) == 6);
    const std::uint64_t rowBits = static_cast<std::uint64_t>(static_cast<std::uint16_t>(y)) << 16;
    for (int x = left; x < right - 1; ++x, ++out) {
        const std::uint64_t bits =
            rowBits | static_cast<std::uint16_t>(x) |
            static_cast<std::uint64_t>(static_cast<std::uint16_t>(ToStoredValue(row[x]))) << 32;
        std::memcpy(static_cast<void*>(out), &bits, sizeof bits);
    }
    if (left < right)
        *out = {static_cast<std::int16_t>(right - 1), static_cast<std::int16_t>(y),
                ToStoredValue(row[right - 1])};
}

#if defined(__SSE2__)
// The same, eight changes (24 words, three registers) at a time: x, y and value words take
// turns. The x and y words come from a pattern whose x words move on by eight each time; the
// values are shuffled into their words.
void RecordRow(CellChange* out, const Cell* row, int left, int right, int y) {
    constexpr int CHUNK = 8;
    alignas(16) std::array<std::int16_t, 3 * CHUNK> pattern{}, valueWords{}, step{};
    for (int i = 0; i < CHUNK; ++i) {
        pattern[3 * i] = static_cast<std::int16_t>(left + i);
        pattern[3 * i + 1] = static_cast<std::int16_t>(y);
        valueWords[3 * i + 2] = -1;
        step[3 * i] = CHUNK;
    }
    const auto words = [](const std::array<std::int16_t, 3 * CHUNK>& all, int k) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(all.data() + 8 * k));
    };
    std::array<__m128i, 3> places = {words(pattern, 0), words(pattern, 1), words(pattern, 2)};
    auto* bytes = reinterpret_cast<std::uint8_t*>(out);
    int x = left;
    for (; x + CHUNK <= right; x += CHUNK, bytes += 3 * 16) {
        const auto cells = [&](int k) {
            // Each cell's low 16 bits, sign-extended: the saturating pack then keeps them.
            const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x + k));
            return _mm_srai_epi32(_mm_slli_epi32(four, 16), 16);
        };
        const __m128i values = _mm_packs_epi32(cells(0), cells(4)); // v0 .. v7
        // Value words: v0, v1 in words 2 and 5; v2, v3, v4 in 0, 3 and 6; v5, v6, v7 in 1, 4, 7.
        const std::array<__m128i, 3> spread = {
            _mm_shufflelo_epi16(_mm_unpacklo_epi64(values, values), _MM_SHUFFLE(3, 0, 1, 0)),
            _mm_shufflehi_epi16(_mm_shufflelo_epi16(values, _MM_SHUFFLE(3, 1, 1, 2)),
                                _MM_SHUFFLE(3, 0, 1, 0)),
            _mm_shufflehi_epi16(_mm_unpackhi_epi64(values, values), _MM_SHUFFLE(3, 2, 1, 2)),
        };
        for (int k = 0; k < 3; ++k) {
            const __m128i changes =
                _mm_or_si128(places[k], _mm_and_si128(spread[k], words(valueWords, k)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + 16 * k), changes);
            places[k] = _mm_add_epi16(places[k], words(step, k));
        }
    }
    RecordEach(out + (x - left), row, x, right, y);
}
#else
void RecordRow(CellChange* out, const Cell* row, int left, int right, int y) {
    RecordEach(out, row, left, right, y);
}
#endif

// Records a row at the end of the list (within its reserve): the list grows once per row
// instead of being checked for room at every cell.
void AppendRow(ChangeList& list, const Cell* row, int left, int right, int y) {
    const std::size_t first = list.size();
    list.resize(first + static_cast<std::size_t>(right - left));
    RecordRow(list.data() + first, row, left, right, y);
}

// An object's cells swap places within it as well, so it lands upright; anything else is its
// own mirror.
Cell Mirrored(Cell v, bool horizontal) {
    return !IsObjectCell(v) ? v : horizontal ? MirrorH(v) : MirrorV(v);
}

} // namespace

CellBlock SelectionTool::CopyBlock(const Rect& cells, FloatKind mode) {
    if (cells.IsEmpty())
        return nullptr;
    std::shared_ptr<std::vector<Cell>> block;
    try {
        block = std::make_shared<std::vector<Cell>>(CellCount(cells));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    const Cell* map = m_view.Document().GetCells();
    auto out = block->begin();
    for (int y = cells.top; y < cells.bottom; ++y)
        out = std::copy_n(map + y * MAP_SIZE + cells.left, cells.Width(), out);
    if (mode == FloatKind::Move)
        EmptyCells(cells);
    return block;
}

void SelectionTool::EmptyCells(const Rect& cells) {
    ToolContext& view = m_view;
    CKRAVDoc& doc = view.Document();
    for (int y = cells.top; y < cells.bottom; ++y) {
        for (int x = cells.left; x < cells.right; ++x) {
            const Cell old = doc.GetCell(y, x);
            ReleaseFlag(view.Flags(), old);
            RecordChange(view.PendingChanges(), x, y, old);
            doc.SetCell(y, x, EMPTY_CELL);
        }
    }
    view.InvalidateBlock(cells);
    view.PushPending();
}

bool SelectionTool::StampBlock(const Rect& cells, const std::vector<Cell>& block) {
    ToolContext& view = m_view;
    assert(block.size() == CellCount(cells));
    CKRAVDoc& doc = view.Document();
    ChangeList& list = view.PendingChanges();
    bool skipped = false;
    auto next = block.begin();
    for (int y = cells.top; y < cells.bottom; ++y) {
        for (int x = cells.left; x < cells.right; ++x) {
            Cell value = *next++;
            const Cell old = doc.GetCell(y, x);
            ReleaseFlag(view.Flags(), old);
            // Neither a tile nor an object: nothing could show it.
            if (!IsTileCell(value) && value < OBJECT_6X6)
                value = EMPTY_CELL;
            if (!AcquireFlag(view.Flags(), value)) {
                if (!skipped)
                    view.ShowMessage(messages::FLAGS_SKIPPED);
                skipped = true;
                continue;
            }
            RecordChange(list, x, y, old);
            // No piece of an object the block covers may stay behind.
            if (IsObjectCell(old))
                view.EraseObject(x, y, old, list);
            doc.SetCell(y, x, value);
        }
    }
    view.InvalidateBlock(cells);
    view.PushPending(); // pushing never fails: the history reserves its slots
    return true;
}

void SelectionTool::FillSelection() {
    ToolContext& view = m_view;
    if (!m_bHasSelection || m_bFloating)
        return;
    const Rect cells = m_rcSelection;
    // Tiles travel as 16-bit values: -1 becomes EMPTY_CELL.
    const Cell tile = static_cast<Cell>(view.TileOf(MouseButton::Left));

    ChangeList list = view.History().TakeSpareList();
    const bool recording = ReserveChanges(list, CellCount(cells));
    if (!recording)
        view.ShowMessage(messages::NOT_UNDOABLE);
    Cell* map = view.Document().GetCells();
    // Counted in a local: the view's count could alias the map, which would keep it in memory
    // through the whole loop.
    int flags = view.Flags();
    bool cancelled = false;
    if (tile != FLAG_CELL) {
        // Anything but a flag always goes in: a row at a time, counting the flags it covers.
        for (int y = cells.top; y < cells.bottom; ++y) {
            Cell* row = map + y * MAP_SIZE;
            if (recording)
                AppendRow(list, row, cells.left, cells.right, y);
            flags -= static_cast<int>(std::count(row + cells.left, row + cells.right, FLAG_CELL));
            std::fill(row + cells.left, row + cells.right, tile);
        }
    } else {
        for (int y = cells.top; y < cells.bottom; ++y) {
            for (int x = cells.left; x < cells.right; ++x) {
                Cell& cell = map[y * MAP_SIZE + x];
                // A flag already there is counted off and back on, so it is always rewritten.
                ReleaseFlag(flags, cell);
                if (!AcquireFlag(flags, tile)) {
                    if (!cancelled) {
                        view.Flags() = flags;
                        view.ShowMessage(messages::FILL_CANCELLED);
                    }
                    cancelled = true;
                    continue;
                }
                if (recording)
                    RecordChange(list, x, y, cell);
                cell = tile;
            }
        }
    }
    view.Flags() = flags;
    view.SetModified();
    view.InvalidateBlock(cells);
    if (recording)
        view.History().PushUndo(UndoKind::Fill, std::move(list), cells);
}

void SelectionTool::FlipHorizontal() {
    MirrorSelection(true);
}

void SelectionTool::FlipVertical() {
    MirrorSelection(false);
}

void SelectionTool::MirrorSelection(bool horizontal) {
    ToolContext& view = m_view;
    if (!m_bHasSelection || m_bFloating)
        return;
    const Rect cells = m_rcSelection;
    const int width = cells.Width();
    const int height = cells.Height();
    // Rows are mirrored in place, through one saved row.
    std::vector<Cell> saved;
    try {
        if (!cells.IsEmpty())
            saved.resize(static_cast<std::size_t>(width));
    } catch (const std::bad_alloc&) {
    }
    if (saved.empty()) {
        view.ShowMessage(messages::CANNOT_FLIP);
        return;
    }

    ChangeList list = view.History().TakeSpareList();
    const bool recording = ReserveChanges(list, CellCount(cells));
    if (!recording)
        view.ShowMessage(messages::NOT_UNDOABLE);
    else
        list.resize(CellCount(cells)); // filled row by row below, in the map's order
    Cell* map = view.Document().GetCells();
    const auto rowAt = [&](int row) { return map + (cells.top + row) * MAP_SIZE; };
    const auto record = [&](int row) {
        if (recording)
            RecordRow(list.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width),
                      rowAt(row), cells.left, cells.right, cells.top + row);
    };
    // Cells move as plain copies; the rare rows with objects are then put upright.
    const auto mirrorObjects = [width, horizontal](Cell* line) {
        if (AnyCellIn(line, width, OBJECT_6X6, OBJECT_1X1)) // IsObjectCell, row-wide
            for (int column = 0; column < width; ++column)
                line[column] = Mirrored(line[column], horizontal);
    };
    if (horizontal) {
        for (int row = 0; row < height; ++row) {
            record(row);
            Cell* line = rowAt(row) + cells.left;
            std::reverse_copy(line, line + width, saved.begin());
            std::copy_n(saved.begin(), width, line);
            mirrorObjects(line);
        }
    } else {
        // Rows swap in pairs from the outside in; the middle row of an odd height stays.
        for (int row = 0, other = height - 1; row <= other; ++row, --other) {
            record(row);
            Cell* top = rowAt(row) + cells.left;
            if (row < other) {
                record(other);
                Cell* bottom = rowAt(other) + cells.left;
                std::copy_n(top, width, saved.begin());
                std::copy_n(bottom, width, top);
                std::copy_n(saved.begin(), width, bottom);
                mirrorObjects(bottom);
            }
            mirrorObjects(top);
        }
    }
    // The same cells rearranged: the flag count stays as it is.
    view.SetModified();
    view.InvalidateBlock(cells);
    if (recording)
        view.History().PushUndo(UndoKind::Cells, std::move(list), cells);
}

} // namespace krav
