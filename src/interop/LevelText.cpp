#include "LevelText.h"

#include "document/KeptCells.h"
#include "document/LevelWriter.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <string>
#include <vector>

namespace krav {

namespace {

// Kept cells (of codes no tile or object has) are shown as "?CODE"; SavedValue gives them
// KEPT_VALUE plus the code, which no tile code or object kind reaches.
constexpr int KEPT_VALUE = 1000;

// What the level file holds for a cell: 0 for nothing, the tile's code, or the object's kind
// at its anchor (the rest of an object is not saved).
int SavedValue(Cell v) {
    if (IsTileCell(v))
        return static_cast<int>(v) + 1;
    if (ObjectSide(v) != 0)
        return static_cast<int>(v);
    if (IsKeptCell(v))
        return KEPT_VALUE + KeptCode(v);
    return 0;
}

std::string ValueName(int value) {
    if (value >= KEPT_VALUE)
        return '?' + std::to_string(value - KEPT_VALUE);
    return value == 0 ? "empty" : std::to_string(value);
}

struct Pair {
    int before;
    int after;
    bool operator==(const Pair&) const = default;
};

struct Triple {
    int base = 0;
    int ours = 0;
    int theirs = 0;
    bool shown = false;
    bool operator==(const Triple&) const = default;
};

// Calls show("LEFT,TOP..RIGHT,BOTTOM" or "COL,ROW", key) for rectangles of cells whose keys
// are equal and chosen, row by row: each as wide as the same key goes along its first row,
// then as deep as every cell below that stretch has it too.
template <typename Key, typename Chosen, typename Show>
void ForEachRectangle(const std::vector<Key>& keys, Chosen chosen, Show show) {
    const auto at = [](int col, int row) { return static_cast<std::size_t>(row) * MAP_SIZE + col; };
    std::vector<bool> shown(MAP_CELLS);
    for (int row = 0; row < MAP_SIZE; ++row) {
        for (int col = 0; col < MAP_SIZE; ++col) {
            const Key& key = keys[at(col, row)];
            if (!chosen(key) || shown[at(col, row)])
                continue;
            const auto same = [&](int c, int r) {
                return keys[at(c, r)] == key && !shown[at(c, r)];
            };
            int right = col;
            while (right + 1 < MAP_SIZE && same(right + 1, row))
                ++right;
            int bottom = row;
            for (bool whole = true; whole && bottom + 1 < MAP_SIZE;) {
                for (int c = col; c <= right && whole; ++c)
                    whole = same(c, bottom + 1);
                if (whole)
                    ++bottom;
            }
            for (int r = row; r <= bottom; ++r)
                for (int c = col; c <= right; ++c)
                    shown[at(c, r)] = true;
            std::string where = std::to_string(col) + ',' + std::to_string(row);
            if (right != col || bottom != row)
                where += ".." + std::to_string(right) + ',' + std::to_string(bottom);
            show(where, key);
        }
    }
}

} // namespace

void DumpLevel(const CKRAVDoc& doc, std::ostream& out) {
    const Cell* cells = doc.GetCells();
    int tiles = 0, flags = 0, objects = 0;
    for (int i = 0; i < MAP_CELLS; ++i) {
        tiles += IsTileCell(cells[i]);
        flags += cells[i] == FLAG_CELL;
        objects += ObjectSide(cells[i]) != 0;
    }
    const KeptCellCount kept = CountKeptCells(cells);
    out << "tileset: " << TileSetName(doc) << '\n'
        << "records: " << tiles + objects + kept.cells << '\n'
        << "tiles: " << tiles << '\n'
        << "flag-cells: " << flags << '\n'
        << "objects: " << objects << '\n';
    if (kept.cells > 0)
        out << "unknown: " << kept.cells << " (" << CodeList(kept.codes) << ")\n";
    for (int row = 0; row < MAP_SIZE; ++row) {
        const Cell* line = cells + static_cast<std::size_t>(row) * MAP_SIZE;
        std::string text;
        for (int col = 0; col < MAP_SIZE;) {
            const int value = SavedValue(line[col]);
            int end = col + 1;
            while (end < MAP_SIZE && SavedValue(line[end]) == value)
                ++end;
            if (value != 0) {
                text += (text.empty() ? "" : ", ") + std::to_string(col) + ':' + ValueName(value);
                if (end - col > 1)
                    text += " x" + std::to_string(end - col);
            }
            col = end;
        }
        if (!text.empty())
            out << "row " << row << ": " << text << '\n';
    }
}

bool DiffLevels(const CKRAVDoc& a, const CKRAVDoc& b, std::ostream& out) {
    bool different = false;
    const std::string tileSetA = TileSetName(a), tileSetB = TileSetName(b);
    if (tileSetA != tileSetB) {
        out << "tileset: " << tileSetA << " -> " << tileSetB << '\n';
        different = true;
    }
    std::vector<Pair> change(MAP_CELLS);
    for (int i = 0; i < MAP_CELLS; ++i)
        change[i] = {SavedValue(a.GetCells()[i]), SavedValue(b.GetCells()[i])};
    ForEachRectangle(
        change, [](const Pair& pair) { return pair.before != pair.after; },
        [&](const std::string& where, const Pair& pair) {
            out << where << ": " << ValueName(pair.before) << " -> " << ValueName(pair.after)
                << '\n';
            different = true;
        });
    return different;
}

void ListConflicts(const CKRAVDoc& base, const CKRAVDoc& ours, const CKRAVDoc& theirs,
                   const std::vector<bool>& conflicts, std::ostream& out) {
    std::vector<Triple> values(MAP_CELLS);
    for (int i = 0; i < MAP_CELLS; ++i)
        if (conflicts[i])
            values[i] = {SavedValue(base.GetCells()[i]), SavedValue(ours.GetCells()[i]),
                         SavedValue(theirs.GetCells()[i]), true};
    ForEachRectangle(
        values, [](const Triple& triple) { return triple.shown; },
        [&](const std::string& where, const Triple& triple) {
            out << where << ": " << ValueName(triple.base) << " -> " << ValueName(triple.ours)
                << " | " << ValueName(triple.theirs) << '\n';
        });
}

std::string TileSetName(const CKRAVDoc& doc) {
    if (doc.IsDefaultTileSet())
        return "built-in";
    return "embedded sha256 " + TileSetSha256(*doc.GetTileSet());
}

std::string TileSetSha256(const TileSetBitmap& tileSet) {
    const std::vector<std::uint8_t> bmp = WriteTileSetBmp(tileSet);
    const QByteArray bytes(reinterpret_cast<const char*>(bmp.data()),
                           static_cast<qsizetype>(bmp.size()));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
}

std::string CellText(Cell v) {
    return ValueName(SavedValue(v));
}

} // namespace krav
