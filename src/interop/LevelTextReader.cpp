#include "LevelTextReader.h"

#include "document/KeptCells.h"

#include <algorithm>
#include <array>
#include <optional>

namespace krav {

namespace {

// A line the text cannot have, with what is wrong with it.
struct Malformed {
    std::string what;
};

// The header lines after "tileset:", in their order; each may be left out.
constexpr std::array<std::string_view, 5> HEADER_KEYS{"records", "tiles", "flag-cells", "objects",
                                                      "unknown"};

bool Take(std::string_view& text, std::string_view prefix) {
    if (text.substr(0, prefix.size()) != prefix)
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

// A decimal number at the front of text, taken off it; at most 7 digits, as no count or place
// of a level needs more.
std::optional<int> TakeNumber(std::string_view& text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0 || digits > 7)
        return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < digits; ++i)
        value = value * 10 + (text[i] - '0');
    text.remove_prefix(digits);
    return value;
}

std::string Quoted(std::string_view line) {
    constexpr std::size_t SHOWN = 60;
    return '"' + std::string(line.substr(0, SHOWN)) + (line.size() > SHOWN ? "...\"" : "\"");
}

// The cell a value of the text stands for.
Cell CellOfValue(std::string_view& text, bool keepUnknown) {
    const bool kept = Take(text, "?");
    const std::string_view at = text;
    const std::optional<int> value = TakeNumber(text);
    if (!value)
        throw Malformed{"expected a cell's value at " + Quoted(at)};
    if (kept) {
        if (*value >= CODE_COUNT || !IsUnknownCode(*value))
            throw Malformed{"?" + std::to_string(*value) +
                            ": \"?CODE\" is for a code of no tile and no object (0..255)"};
        if (!keepUnknown)
            throw Malformed{"?" + std::to_string(*value) + " is a cell of code " +
                            std::to_string(*value) +
                            ", no tile and no object; undump writes such cells with "
                            "--keep-unknown"};
        return KeptCell(*value);
    }
    if (*value >= 1 && *value <= TILE_COUNT)
        return static_cast<Cell>(*value - 1);
    if (ObjectSide(static_cast<Cell>(*value)) != 0)
        return static_cast<Cell>(*value);
    throw Malformed{std::to_string(*value) +
                    " is no cell's value: a tile is 1..190, an object 500, 600, 700 or 800, a "
                    "code of neither ?CODE"};
}

// "row ROW: COL:VALUE[ xCOUNT], ..." (after "row "); rows come top to bottom.
void ReadRow(std::string_view line, int& lastRow, bool keepUnknown, Cell* cells) {
    const std::optional<int> row = TakeNumber(line);
    if (!row || !Take(line, ": "))
        throw Malformed{"expected \"row ROW: \" and the row's runs"};
    if (*row >= MAP_SIZE)
        throw Malformed{"row " + std::to_string(*row) + " is past the map's rows (0..1023)"};
    if (*row <= lastRow)
        throw Malformed{"row " + std::to_string(*row) + " comes after row " +
                        std::to_string(lastRow) + "; rows go top to bottom, each once"};
    lastRow = *row;
    Cell* rowCells = cells + static_cast<std::size_t>(*row) * MAP_SIZE;
    int nextColumn = 0;
    do {
        const std::string_view run = line;
        const std::optional<int> column = TakeNumber(line);
        if (!column || !Take(line, ":"))
            throw Malformed{"expected a run \"COL:VALUE\" or \"COL:VALUE xCOUNT\" at " +
                            Quoted(run)};
        const Cell value = CellOfValue(line, keepUnknown);
        std::optional<int> count = 1;
        if (Take(line, " x") && (!(count = TakeNumber(line)) || *count == 0))
            throw Malformed{"expected a count of 1 or more after \" x\" in " + Quoted(run)};
        if (*column < nextColumn)
            throw Malformed{"column " + std::to_string(*column) +
                            " is left of where the run before it ends; runs go left to right "
                            "without overlapping"};
        if (*column >= MAP_SIZE || *count > MAP_SIZE - *column)
            throw Malformed{"the run at column " + std::to_string(*column) +
                            " goes past the map's columns (0..1023)"};
        std::fill_n(rowCells + *column, *count, value);
        nextColumn = *column + *count;
    } while (Take(line, ", "));
    if (!line.empty())
        throw Malformed{"expected \", \" and another run, or the line's end, at " + Quoted(line)};
}

// The header's value for a key, as the rows give it.
std::string CountOf(std::string_view key, const std::vector<Cell>& cells) {
    const auto count = [&](auto holds) {
        return std::to_string(std::count_if(cells.begin(), cells.end(), holds));
    };
    if (key == "records")
        return count([](Cell v) { return CodeForCell(v).has_value(); });
    if (key == "tiles")
        return count([](Cell v) { return IsTileCell(v); });
    if (key == "flag-cells")
        return count([](Cell v) { return v == FLAG_CELL; });
    if (key == "objects")
        return count([](Cell v) { return ObjectSide(v) != 0; });
    const KeptCellCount kept = CountKeptCells(cells.data());
    return std::to_string(kept.cells) + " (" + CodeList(kept.codes) + ")";
}

void ReadTileSetLine(std::string_view line, LevelTextRead& read) {
    if (line == "tileset: built-in")
        return;
    read.embeddedTileSet = true;
    if (line == "tileset: embedded")
        return;
    std::string_view hash = line;
    const bool named = Take(hash, "tileset: embedded sha256 ") && hash.size() == 64 &&
                       std::all_of(hash.begin(), hash.end(), [](char c) {
                           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                       });
    if (!named)
        throw Malformed{"a level's text begins with \"tileset: built-in\", \"tileset: "
                        "embedded\" or \"tileset: embedded sha256 HEX\" (64 lower-case hex "
                        "digits), not " +
                        Quoted(line)};
    read.sha256 = hash;
}

} // namespace

LevelTextRead ReadLevelText(std::string_view text, bool keepUnknown) {
    LevelTextRead read;
    read.cells.assign(MAP_CELLS, EMPTY_CELL);
    int line = 0;
    try {
        if (text.empty())
            throw Malformed{"is empty; a level's text begins with its \"tileset:\" line"};
        struct Given {
            std::string value;
            int line;
        };
        std::array<std::optional<Given>, HEADER_KEYS.size()> header;
        int lastKey = -1, lastRow = -1;
        while (!text.empty()) {
            ++line;
            const std::size_t end = text.find('\n');
            if (end == std::string_view::npos)
                throw Malformed{"the line has no end: the text seems cut short"};
            std::string_view current = text.substr(0, end);
            text.remove_prefix(end + 1);
            if (!current.empty() && current.back() == '\r')
                current.remove_suffix(1);
            if (line == 1) {
                ReadTileSetLine(current, read);
                continue;
            }
            if (Take(current, "row ")) {
                ReadRow(current, lastRow, keepUnknown, read.cells.data());
                continue;
            }
            const std::size_t colon = current.find(": ");
            const auto key =
                std::find(HEADER_KEYS.begin(), HEADER_KEYS.end(), current.substr(0, colon));
            if (colon == std::string_view::npos || key == HEADER_KEYS.end())
                throw Malformed{"not a line of a level's text: " + Quoted(current)};
            const int index = static_cast<int>(key - HEADER_KEYS.begin());
            if (lastRow >= 0 || index <= lastKey)
                throw Malformed{std::string(*key) +
                                ": the header's lines come before the rows, in the order "
                                "tileset, records, tiles, flag-cells, objects, unknown, each once"};
            lastKey = index;
            header[index] = Given{std::string(current.substr(colon + 2)), line};
        }
        for (std::size_t i = 0; i < header.size(); ++i) {
            if (!header[i])
                continue;
            const std::string held = CountOf(HEADER_KEYS[i], read.cells);
            if (header[i]->value != held) {
                line = header[i]->line;
                throw Malformed{std::string(HEADER_KEYS[i]) + ": " + header[i]->value +
                                ", but the rows hold " + held};
            }
        }
    } catch (const Malformed& malformed) {
        read.error = malformed.what;
        read.errorLine = line;
        read.cells.clear();
    }
    return read;
}

} // namespace krav
