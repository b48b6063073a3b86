// Reading level files: what a level designer's files turn into, and every refusal.
#include "document/ByteSource.h"
#include "document/CKRAVDoc.h"
#include "document/LevelReader.h"
#include "document/Messages.h"
#include "document/ReadError.h"
#include "support/FakePrompt.h"
#include "support/LevelBytes.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace krav {
namespace {

using test::AppendRecord;
using test::Bytes;
using test::MakeBmp;

class LevelReading : public ::testing::Test {
protected:
    // Opens bytes as a level; returns whether it opened.
    bool Open(const Bytes& bytes) {
        return doc.OnOpenDocument(folder.Write("level.lvl", bytes), prompt);
    }

    test::ScratchFolder folder;
    test::FakePrompt prompt;
    CKRAVDoc doc;
};

Bytes Cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes WithRecord(Bytes bytes, int code, int x, int y) {
    AppendRecord(bytes, code, x, y);
    return bytes;
}

struct Refusal {
    const char* name;
    Bytes bytes;
    std::string message;
};

TEST_F(LevelReading, RefusesMalformedFilesWithTheirMessage) {
    const std::string contact = messages::CONTACT_ADDRESS;
    const std::vector<Refusal> cases = {
        {"code 0", WithRecord({}, 0, 0, 0), messages::TILE_ID_OUT_OF_RANGE},
        {"code 191", WithRecord({}, 191, 5, 5), messages::TILE_ID_OUT_OF_RANGE},
        {"code 215", WithRecord({}, 215, 1023, 1023), messages::TILE_ID_OUT_OF_RANGE},
        {"code 221", WithRecord({}, 221, 0, 0), messages::TILE_ID_OUT_OF_RANGE},
        {"code 255 after good ones", WithRecord(WithRecord({}, 5, 1, 1), 255, 2, 2),
         messages::TILE_ID_OUT_OF_RANGE},
        {"bad code after a tile set", WithRecord(MakeBmp(), 0, 3, 3),
         messages::TILE_ID_OUT_OF_RANGE},
        {"width 305, height also wrong", MakeBmp({.width = 305, .height = 161}),
         messages::WIDTH_NOT_304 + contact},
        {"top-down bitmap", MakeBmp({.height = -160}), messages::HEIGHT_NOT_160 + contact},
        {"height 161", MakeBmp({.height = 161}), messages::HEIGHT_NOT_160 + contact},
        {"16 colours", MakeBmp({.bitsPerPixel = 4}), messages::NOT_256_COLOURS},
        {"24 bits", MakeBmp({.bitsPerPixel = 24}), messages::NOT_256_COLOURS},
        {"6 bytes of BMP", Cut(MakeBmp(), 6), messages::BMP_TRUNCATED},
        {"ends in the info header", Cut(MakeBmp(), 40), messages::BMP_TRUNCATED},
        {"ends in the colour table", Cut(MakeBmp(), 1077), messages::BMP_TRUNCATED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakePrompt fresh;
        CKRAVDoc level;
        EXPECT_FALSE(level.OnOpenDocument(folder.Write("bad.lvl", c.bytes), fresh));
        ASSERT_EQ(fresh.messages.size(), 1u);
        // The tile data message goes on to say where the bad records are (tested on its own).
        const bool saysWhere = c.message == messages::TILE_ID_OUT_OF_RANGE;
        EXPECT_EQ(saysWhere ? fresh.messages[0].substr(0, c.message.size()) : fresh.messages[0],
                  c.message);
        EXPECT_EQ(level.GetCell(0, 0), EMPTY_CELL) << "nothing of a failed read survives";
    }
}

TEST_F(LevelReading, RefusesABfSizeThatWouldPutRecordsInsideThePixels) {
    Bytes bytes = MakeBmp();
    bytes[2] = 0x36; // bfSize 1078: no room for any pixel
    bytes[3] = 0x04;
    bytes[4] = bytes[5] = 0;
    EXPECT_FALSE(Open(bytes));
    EXPECT_EQ(prompt.messages, std::vector<std::string>{messages::BMP_SIZE_TOO_SMALL});
}

// The words stay the same, and the system's reason follows them. A named pipe must be refused
// at once, not wait for a writer that never comes.
TEST_F(LevelReading, FileSystemFailuresSayCouldntOpenAndWhy) {
    std::filesystem::create_directory(folder.Path("folder.lvl"));
    ASSERT_EQ(::mkfifo(folder.Path("pipe.lvl").c_str(), 0600), 0);
    const std::string couldNot = messages::COULD_NOT_OPEN;
    const struct {
        const char* name;
        std::string message;
    } cases[] = {
        {"missing.lvl", couldNot + " (No such file or directory)"},
        {"folder.lvl", couldNot + " (Is a directory)"},
        {"pipe.lvl", couldNot + " (Not a regular file)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompt.messages.clear();
        EXPECT_FALSE(doc.OnOpenDocument(folder.Path(c.name), prompt));
        EXPECT_EQ(prompt.messages, std::vector<std::string>{c.message});
    }
}

TEST_F(LevelReading, EmptyFileIsAnEmptyMapWithTheBuiltInTileSet) {
    ASSERT_TRUE(Open({}));
    EXPECT_TRUE(doc.IsDefaultTileSet());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetFlagCount(), 0);
    EXPECT_EQ(std::count(doc.GetCells(), doc.GetCells() + MAP_CELLS, EMPTY_CELL), MAP_CELLS);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(LevelReading, TrailingBytesAreIgnored) {
    Bytes bytes = WithRecord({}, 12, 7, 9);
    bytes.push_back('x');
    ASSERT_TRUE(Open(bytes));
    EXPECT_TRUE(doc.IsDefaultTileSet());
    EXPECT_EQ(doc.GetCell(9, 7), 11u);
}

TEST_F(LevelReading, RecordsOutsideTheGridAreSkippedWhateverTheirCode) {
    Bytes bytes;
    AppendRecord(bytes, 0, 1024, 0);
    AppendRecord(bytes, 255, 0, 4095);
    AppendRecord(bytes, 3, 1023, 1023);
    ASSERT_TRUE(Open(bytes));
    EXPECT_EQ(doc.GetCell(1023, 1023), 2u);
}

TEST_F(LevelReading, ObjectsFillTheirFootprintRowByRow) {
    Bytes bytes;
    AppendRecord(bytes, 219, 10, 20); // 6 x 6
    AppendRecord(bytes, 220, 100, 0); // 5 x 5
    AppendRecord(bytes, 217, 0, 500); // 2 x 2
    AppendRecord(bytes, 218, 7, 7);   // 1 x 1, other code
    ASSERT_TRUE(Open(bytes));
    EXPECT_EQ(doc.GetCell(20, 10), 500u);
    EXPECT_EQ(doc.GetCell(20, 11), 501u);
    EXPECT_EQ(doc.GetCell(21, 10), 506u);
    EXPECT_EQ(doc.GetCell(25, 15), 535u);
    EXPECT_EQ(doc.GetCell(26, 10), EMPTY_CELL);
    EXPECT_EQ(doc.GetCell(4, 104), 624u);
    EXPECT_EQ(doc.GetCell(501, 1), 703u);
    EXPECT_EQ(doc.GetCell(7, 7), 800u);
}

TEST_F(LevelReading, FootprintsStopAtTheMapEdges) {
    Bytes bytes;
    AppendRecord(bytes, 219, 1020, 5);  // passes the right edge
    AppendRecord(bytes, 220, 40, 1021); // passes the bottom edge
    AppendRecord(bytes, 219, 1023, 1023);
    ASSERT_TRUE(Open(bytes));
    EXPECT_EQ(doc.GetCell(5, 1023), 503u);
    EXPECT_EQ(doc.GetCell(6, 0), EMPTY_CELL) << "no wrap into the next row";
    EXPECT_EQ(doc.GetCell(6, 1020), 506u);
    EXPECT_EQ(doc.GetCell(1023, 44), 600u + 2 * 5 + 4);
    EXPECT_EQ(doc.GetCell(1023, 1023), 500u);
    // Written back, each is its anchor again.
    const Bytes saved = doc.Serialize();
    EXPECT_EQ(saved.size(), 12u);
}

TEST_F(LevelReading, LaterRecordsOverwriteAndOrderDoesNotMatter) {
    Bytes forward, backward;
    AppendRecord(forward, 2, 0, 0);
    AppendRecord(forward, 219, 3, 3);
    AppendRecord(forward, 9, 4, 4); // inside the object
    AppendRecord(backward, 9, 4, 4);
    AppendRecord(backward, 219, 3, 3);
    AppendRecord(backward, 2, 0, 0);
    ASSERT_TRUE(Open(forward));
    EXPECT_EQ(doc.GetCell(4, 4), 8u);
    CKRAVDoc other;
    ASSERT_TRUE(other.OnOpenDocument(folder.Write("b.lvl", backward), prompt));
    EXPECT_EQ(other.GetCell(4, 4), 507u);
    EXPECT_EQ(other.GetCell(0, 0), doc.GetCell(0, 0));
}

// Records of consecutive cells are read in runs; every run must read as its records one by
// one do. A skipped record after each record keeps any run from forming, which gives the
// one-by-one reading to compare with.
TEST_F(LevelReading, RunsOfConsecutiveRecordsReadLikeSingleRecords) {
    struct Record {
        int code, x, y;
    };
    const auto row = [](int firstCode, int x, int y, int count) {
        std::vector<Record> records;
        for (int i = 0; i < count; ++i)
            records.push_back({firstCode + i, x + i, y});
        return records;
    };
    const auto with = [](std::vector<Record> records, std::size_t at, Record record) {
        records[at] = record;
        return records;
    };
    const std::vector<Record> plain = row(1, 0, 3, 16);
    const struct {
        const char* name;
        std::vector<Record> records;
    } cases[] = {
        {"plain tiles", plain},
        {"the highest tile codes", row(TILE_COUNT - 15, 100, 9, 16)},
        {"up to the row's last cell", row(1, MAP_SIZE - 16, 5, 16)},
        {"past the row's last cell", row(1, MAP_SIZE - 8, 5, 16)},
        {"past the last row", row(1, 0, MAP_SIZE, 16)},
        {"a flag", with(plain, 3, {FLAG_TILE, 3, 3})},
        {"more flags than a level may have",
         [] {
             std::vector<Record> records;
             for (int x = 0; x < MAX_FLAGS + 40; ++x)
                 records.push_back({FLAG_TILE, x, 8});
             return records;
         }()},
        {"an object", with(plain, 6, {CODE_OBJECT_2X2, 6, 3})},
        {"a gap", with(plain, 4, {9, 20, 3})},
        {"another row", with(plain, 5, {9, 5, 4})},
        {"code 0", with(plain, 2, {0, 2, 3})},
        {"a code past the tiles", with(plain, 7, {TILE_COUNT + 1, 7, 3})},
        {"a tile over an object's anchor",
         [&] {
             // The second run, x = 15 to 30, covers the anchor.
             std::vector<Record> records = row(1, 0, 3, 31);
             records.insert(records.begin(), {CODE_OBJECT_6X6, 20, 3});
             return records;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes runs, single;
        for (const Record& r : c.records) {
            AppendRecord(runs, r.code, r.x, r.y);
            AppendRecord(single, r.code, r.x, r.y);
            AppendRecord(single, 5, MAP_SIZE, 0); // skipped
        }
        // Unknown codes refused name the file and a byte offset, which differ; kept, they
        // must land in the same cells.
        for (const UnknownCodes unknown : {UnknownCodes::Refuse, UnknownCodes::Keep}) {
            test::FakePrompt runsPrompt, singlePrompt;
            CKRAVDoc fromRuns, fromSingle;
            EXPECT_EQ(fromRuns.OnOpenDocument(folder.Write("runs.lvl", runs), runsPrompt, unknown),
                      fromSingle.OnOpenDocument(folder.Write("single.lvl", single), singlePrompt,
                                                unknown));
            const auto firstLines = [](const std::vector<std::string>& messages) {
                std::vector<std::string> lines;
                for (const std::string& text : messages)
                    lines.push_back(text.substr(0, text.find("\n\n")));
                return lines;
            };
            EXPECT_EQ(firstLines(runsPrompt.messages), firstLines(singlePrompt.messages));
            EXPECT_EQ(fromRuns.GetFlagCount(), fromSingle.GetFlagCount());
            EXPECT_TRUE(std::equal(fromRuns.GetCells(), fromRuns.GetCells() + MAP_CELLS,
                                   fromSingle.GetCells()));
        }
    }
}

// Bytes with a record for each {code, column, row}, after the given ones.
Bytes WithRecords(std::initializer_list<std::array<int, 3>> list, Bytes bytes = {}) {
    for (const auto& [code, x, y] : list)
        AppendRecord(bytes, code, x, y);
    return bytes;
}

// Reading clears the map gap by gap between the records it stores, and bytes already in
// memory are read in place: a map that held anything before must come out as the file
// opened from disk into a fresh level does.
TEST_F(LevelReading, ReadingFromMemoryOverAnyCellsGivesTheFilesMap) {
    Bytes dense;
    for (int y = 0; y < MAP_SIZE; y += 97)
        for (int x = 0; x < MAP_SIZE; ++x)
            if (x % 300 != 7) // a gap in every row
                AppendRecord(dense, 1 + (x + y) % TILE_COUNT, x, y);
    Bytes bfSizePastTheEnd = MakeBmp();
    bfSizePastTheEnd[4] = 0x10;
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"no records", {}},
        {"a tile set and no records", MakeBmp()},
        {"a bfSize past the end", bfSizePastTheEnd},
        {"rows of tiles with gaps", dense},
        {"records backwards",
         WithRecords({{9, 1023, 1023}, {CODE_OBJECT_5X5, 600, 2}, {4, 5, 2}, {7, 0, 0}})},
        {"objects at the far edges",
         WithRecords({{CODE_OBJECT_6X6, 1020, 3}, {CODE_OBJECT_2X2, 5, 1023}, {3, 1023, 1023}})},
        {"an object over tiles already read",
         WithRecords({{3, 12, 12}, {CODE_OBJECT_6X6, 10, 10}})},
        {"a tile over an object's anchor", WithRecords({{CODE_OBJECT_6X6, 10, 10}, {3, 10, 10}})},
        {"records off the map", WithRecords({{5, MAP_SIZE, 0}, {5, 0, MAP_SIZE}, {6, 2, 2}})},
        {"records after a tile set", WithRecords({{8, 3, 3}, {9, 4, 3}}, MakeBmp())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakePrompt filePrompt;
        CKRAVDoc fromFile;
        ASSERT_TRUE(fromFile.OnOpenDocument(folder.Write("level.lvl", c.bytes), filePrompt));
        std::vector<Cell> cells(MAP_CELLS, 77); // what a map held before
        ReadLevel(MemorySource(c.bytes), cells.data());
        EXPECT_TRUE(std::equal(cells.begin(), cells.end(), fromFile.GetCells()));
    }
}

TEST_F(LevelReading, MoreThan256FlagsWarnOnceAndStayOnTheMap) {
    Bytes bytes;
    for (int i = 0; i < 257; ++i)
        AppendRecord(bytes, FLAG_TILE, i, 0);
    AppendRecord(bytes, FLAG_TILE, 2000, 0); // skipped, not counted
    ASSERT_TRUE(Open(bytes));
    EXPECT_EQ(doc.GetFlagCount(), MAX_FLAGS);
    EXPECT_EQ(std::count(doc.GetCells(), doc.GetCells() + MAP_CELLS, FLAG_CELL), 257);
    EXPECT_EQ(prompt.messages, std::vector<std::string>{messages::TOO_MANY_INITIAL_FLAGS});
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(LevelReading, APlainBmpIsAnEmptyLevelWithThatTileSet) {
    const Bytes bmp = MakeBmp();
    ASSERT_TRUE(Open(bmp));
    EXPECT_FALSE(doc.IsDefaultTileSet());
    EXPECT_EQ(doc.GetCell(0, 0), EMPTY_CELL);
    // Bottom-up file: picture row 0 is the last stored row.
    EXPECT_EQ(doc.GetTileSet()->PixelAt(3, 0), bmp[1078 + 159 * 304 + 3]);
    EXPECT_EQ(doc.GetTileSet()->ColourRgb(1),
              (std::uint32_t{bmp[60]} << 16) | (bmp[59] << 8) | bmp[58]);
    EXPECT_EQ(doc.Serialize(), bmp);
}

TEST_F(LevelReading, BfSizePastTheEndMeansNoRecordsAndSavesARealSize) {
    Bytes bytes = MakeBmp({.extraBytes = 8});
    bytes[4] = 0x10; // bfSize far beyond the end of the file
    ASSERT_TRUE(Open(bytes));
    EXPECT_EQ(std::count(doc.GetCells(), doc.GetCells() + MAP_CELLS, EMPTY_CELL), MAP_CELLS);
    // What is saved with a new tile is found again.
    doc.SetCell(1, 2, 40);
    CKRAVDoc reread;
    ASSERT_TRUE(reread.OnOpenDocument(folder.Write("again.lvl", doc.Serialize()), prompt));
    EXPECT_EQ(reread.GetCell(1, 2), 40u);
    EXPECT_EQ(reread.GetTileSet()->trailingBytes, doc.GetTileSet()->trailingBytes);
}

TEST_F(LevelReading, ATileSetCutShortInItsPixelsOpensWithBlackPixels) {
    ASSERT_TRUE(Open(Cut(MakeBmp(), 2000)));
    EXPECT_EQ(doc.GetTileSet()->pixels.back(), 0);
    EXPECT_EQ(doc.Serialize().size(), 49718u);
}

// A caller whose cells are all empty (the fuzzer, reading input after input) may say so and
// spare the reader clearing the map: the map read must be the one a normal read gives, for
// tiles, objects and objects that overlap alike, and the reader must never touch a cell the
// records do not reach, which it would if it still cleared the map.
TEST_F(LevelReading, CellsKnownEmptyReadAsAnyOtherMapAndAreNotCleared) {
    Bytes rows;
    for (int y = 0; y < MAP_SIZE; y += 211)
        for (int x = 0; x < MAP_SIZE; ++x)
            if (x % 300 != 7)
                AppendRecord(rows, x % 40 == 0 ? FLAG_TILE : 1 + (x + y) % TILE_COUNT, x, y);
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"no records", {}},
        {"a tile set and no records", MakeBmp()},
        {"rows of tiles and flags with gaps", rows},
        {"records backwards",
         WithRecords({{9, 1023, 1023}, {CODE_OBJECT_5X5, 600, 2}, {4, 5, 2}, {7, 0, 0}})},
        {"objects at the far edges",
         WithRecords({{CODE_OBJECT_6X6, 1020, 3}, {CODE_OBJECT_2X2, 5, 1023}, {3, 1023, 1023}})},
        {"every object", WithRecords({{CODE_OBJECT_1X1, 1, 1},
                                      {CODE_OBJECT_1X1_ALT, 3, 1},
                                      {CODE_OBJECT_2X2, 5, 1},
                                      {CODE_OBJECT_5X5, 8, 1},
                                      {CODE_OBJECT_6X6, 14, 1}})},
        {"an object over tiles already read",
         WithRecords({{3, 12, 12}, {CODE_OBJECT_6X6, 10, 10}})},
        {"a tile over an object's anchor", WithRecords({{CODE_OBJECT_6X6, 10, 10}, {3, 10, 10}})},
        {"an object over an object's anchor",
         WithRecords({{CODE_OBJECT_2X2, 518, 400}, {CODE_OBJECT_2X2, 517, 400}})},
        {"footprints crossing against row order",
         WithRecords({{CODE_OBJECT_6X6, 1020, 5}, {CODE_OBJECT_6X6, 1023, 0}})},
        {"the same anchor again and again",
         WithRecords(
             {{CODE_OBJECT_5X5, 40, 40}, {CODE_OBJECT_6X6, 40, 40}, {CODE_OBJECT_5X5, 40, 40}})},
        {"records off the map", WithRecords({{5, MAP_SIZE, 0}, {5, 0, MAP_SIZE}, {6, 2, 2}})},
        {"records after a tile set", WithRecords({{8, 3, 3}, {9, 4, 3}}, MakeBmp())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Cell> normal(MAP_CELLS, 77), known(MAP_CELLS, EMPTY_CELL);
        const LevelReadResult a = ReadLevel(MemorySource(c.bytes), normal.data());
        const LevelReadResult b =
            ReadLevel(MemorySource(c.bytes), known.data(), {.cellsAlreadyEmpty = true});
        EXPECT_TRUE(normal == known);
        EXPECT_EQ(b.defaultTileSet, a.defaultTileSet);
        EXPECT_EQ(b.initialFlags, a.initialFlags);
        EXPECT_EQ(b.tooManyFlags, a.tooManyFlags);
        EXPECT_EQ(b.recordCount, a.recordCount);
        ASSERT_TRUE(a.tileSet && b.tileSet);
        EXPECT_EQ(b.tileSet->pixels, a.tileSet->pixels);

        // Cells no record reaches are the caller's: left as they are, whatever they hold.
        std::vector<Cell> marked = known;
        const int far[] = {MAP_CELLS / 2 + 300, MAP_CELLS - MAP_SIZE - 2};
        for (const int i : far)
            marked[i] = 77;
        ReadLevel(MemorySource(c.bytes), marked.data(), {.cellsAlreadyEmpty = true});
        for (const int i : far)
            EXPECT_EQ(marked[i], 77u) << "cell " << i << " was cleared";
    }

    // A level refused either way is refused the same way.
    const Bytes invalid = WithRecords({{3, 1, 1}, {0, 2, 1}});
    std::vector<Cell> cells(MAP_CELLS, EMPTY_CELL);
    EXPECT_THROW(ReadLevel(MemorySource(invalid), cells.data(), {.cellsAlreadyEmpty = true}),
                 ReadError);
}

} // namespace
} // namespace krav
