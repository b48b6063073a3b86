#pragma once

#include "document/ByteSource.h"
#include "document/ReadError.h"
#include "document/TileCodes.h"
#include "document/TileSetBitmap.h"

#include <bitset>
#include <cstdint>
#include <memory>

namespace krav {

// The records of a level file, on the map, whose code is no tile and no object.
struct UnknownRecords {
    std::uint64_t count = 0;
    std::uint64_t firstOffset = 0; // the first one's byte offset in the file
    int firstX = 0;
    int firstY = 0;
    int firstCode = 0;
    std::bitset<CODE_COUNT> codes;
};

// A level holds unknown records and was not read keeping them. what() is the reader's old
// message; records says where they are.
class UnknownCodesError : public ReadError {
public:
    explicit UnknownCodesError(const UnknownRecords& records);
    UnknownRecords records;
};

struct LevelReadResult {
    std::unique_ptr<TileSetBitmap> tileSet;
    bool defaultTileSet = true;    // no tile set in the file: the built-in one
    int initialFlags = 0;          // flags counted, at most MAX_FLAGS
    bool tooManyFlags = false;     // more flag records than MAX_FLAGS
    bool objectsSettled = false;   // objects over objects or under tiles were settled (Finish)
    std::uint64_t recordCount = 0; // records in the file, skipped ones included
    UnknownRecords unknown;        // kept as cells, when the options say so
};

// How a level is read. The defaults are what the editor's Open does.
struct LevelReadOptions {
    // Keep records whose code is no tile and no object as cells of their own, instead of
    // refusing the level.
    bool keepUnknown = false;
    // The caller guarantees that every cell is EMPTY_CELL on entry, so the reader need not
    // clear the gaps between records.
    bool cellsAlreadyEmpty = false;
};

// Reads a level file into cells (MAP_CELLS of them, whatever they hold on entry): every cell
// the file leaves out becomes EMPTY_CELL. Raises ReadError with the text to show; cells then
// hold no level, only parts of this one and of what they held before. Unknown records are
// kept as KeptCell values with keepUnknown; without it, UnknownCodesError is raised once the
// whole file has been looked at.
LevelReadResult ReadLevel(const ByteSource& file, Cell* cells,
                          const LevelReadOptions& options = {});

} // namespace krav
