#include "LevelText.h"

#include "document/KeptCells.h"

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

std::string TileSetLine(const CKRAVDoc& doc) {
    if (doc.IsDefaultTileSet())
        return "built-in";
    // The BMP as saved: the file's bytes before its records.
    const std::vector<std::uint8_t> file = doc.Serialize();
    std::size_t records = 0;
    for (int i = 0; i < MAP_CELLS; ++i)
        records += SavedValue(doc.GetCells()[i]) != 0;
    const QByteArray bmp(reinterpret_cast<const char*>(file.data()),
                         static_cast<qsizetype>(file.size() - records * 4));
    return "embedded sha256 " +
           QCryptographicHash::hash(bmp, QCryptographicHash::Sha256).toHex().toStdString();
}

struct Pair {
    int before;
    int after;
    bool operator==(const Pair&) const = default;
};

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
    out << "tileset: " << TileSetLine(doc) << '\n'
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
    const std::string tileSetA = TileSetLine(a), tileSetB = TileSetLine(b);
    if (tileSetA != tileSetB) {
        out << "tileset: " << tileSetA << " -> " << tileSetB << '\n';
        different = true;
    }
    std::vector<Pair> change(MAP_CELLS);
    for (int i = 0; i < MAP_CELLS; ++i)
        change[i] = {SavedValue(a.GetCells()[i]), SavedValue(b.GetCells()[i])};
    const auto at = [](int col, int row) { return static_cast<std::size_t>(row) * MAP_SIZE + col; };
    std::vector<bool> shown(MAP_CELLS);
    for (int row = 0; row < MAP_SIZE; ++row) {
        for (int col = 0; col < MAP_SIZE; ++col) {
            const Pair pair = change[at(col, row)];
            if (pair.before == pair.after || shown[at(col, row)])
                continue;
            // As wide as the same change goes along the row, then as deep as every cell below
            // that stretch has it too.
            const auto same = [&](int c, int r) {
                return change[at(c, r)] == pair && !shown[at(c, r)];
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
            out << col << ',' << row;
            if (right != col || bottom != row)
                out << ".." << right << ',' << bottom;
            out << ": " << ValueName(pair.before) << " -> " << ValueName(pair.after) << '\n';
            different = true;
        }
    }
    return different;
}

} // namespace krav
