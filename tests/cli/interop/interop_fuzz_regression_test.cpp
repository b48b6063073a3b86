// Tiled maps and tile set pictures the fuzzers found wrong, kept in tests/fuzz-regressions/tmx
// and picture/. An import gives a level or a reason, never both or neither; a picture gives a
// tile set the level loader takes and that shows it, the built-in set, or a note.
#include "TileSetPicture.h"
#include "TileSetPictureFile.h"
#include "TmxImport.h"
#include "document/ByteSource.h"
#include "document/LevelWriter.h"
#include "document/LoadTileSet.h"
#include "support/LevelBytes.h"

#include <QBuffer>
#include <QDir>
#include <filesystem>
#include <gtest/gtest.h>

namespace krav {
namespace {

std::vector<std::filesystem::path> KeptInputs(const char* kind) {
    const std::filesystem::path folder =
        std::filesystem::path(KRAV_SOURCE_DIR) / "tests" / "fuzz-regressions" / kind;
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(folder))
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    return files;
}

QByteArray Bytes(const std::filesystem::path& file) {
    const test::Bytes bytes = test::ScratchFolder::Read(file.string());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

TEST(InteropFuzzRegressions, EveryKeptMapImportsOrSaysWhyNot) {
    test::ScratchFolder folder; // no pictures: those are the other target's
    for (const auto& file : KeptInputs("tmx")) {
        SCOPED_TRACE(file.filename().string());
        const TmxImportResult imported =
            ImportTmx(Bytes(file), QDir(QString::fromStdString(folder.Path(""))));
        EXPECT_NE(imported.error.empty(), imported.level.empty());
    }
}

TEST(InteropFuzzRegressions, EveryKeptPictureGivesAUsableTileSetOrANote) {
    const auto files = KeptInputs("picture");
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        QBuffer buffer;
        buffer.setData(Bytes(file));
        buffer.open(QIODevice::ReadOnly);
        const auto picture = ReadTileSetPictureFrom(buffer);
        if (!picture || !picture->tileSet)
            continue; // the built-in set, or a note: nothing made to check
        EXPECT_EQ(picture->note, "");
        const auto loaded = LoadTileSet(MemorySource(WriteTileSetBmp(*picture->tileSet)));
        EXPECT_EQ(loaded->pixels, picture->tileSet->pixels);
        buffer.seek(0);
        const QImage shown =
            TileSetToImage(*picture->tileSet).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, QImage::fromData(buffer.data()).convertToFormat(QImage::Format_RGB32));
    }
}

} // namespace
} // namespace krav
