// Map pictures written as PNG: the file appears whole or not at all, whether the writing is
// cancelled, runs out of disk or is asked for a size PNG cannot hold.
#include "MapPicturePng.h"
#include "PngRowWriter.h"
#include "document/CKRAVDoc.h"
#include "render/BuiltinObjectPictures.h"
#include "support/FakePrompt.h"
#include "support/LevelBytes.h"

#include <QImage>
#include <QString>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace krav {
namespace {

namespace fs = std::filesystem;

int g_writesLeft = 0;

// A disk that fills up after a few writes.
ssize_t FillingWrite(int fd, const void* data, std::size_t size) {
    if (g_writesLeft-- <= 0) {
        errno = ENOSPC;
        return -1;
    }
    return ::write(fd, data, size);
}

class MapPicturePng : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnNewDocument(prompt));
        for (int i = 0; i < 64 * MAP_SIZE; ++i)
            doc.GetCells()[i] = static_cast<Cell>(i % 150);
        radar.Build(doc.GetCells());
        path = folder.Write("picture.png", oldBytes);
    }
    void TearDown() override { SetWriteCallForTesting(nullptr); }

    RenderSource Source() const {
        return {doc.GetCells(), doc.GetTileSet(), &radar, &BuiltinObjectPictures()};
    }

    // The folder holds the old picture alone, untouched.
    void ExpectOldFileAlone() const {
        EXPECT_EQ(test::ScratchFolder::Read(path), oldBytes);
        int files = 0;
        for ([[maybe_unused]] const auto& entry :
             fs::directory_iterator(fs::path(path).parent_path()))
            ++files;
        EXPECT_EQ(files, 1);
    }

    test::ScratchFolder folder;
    test::FakePrompt prompt;
    CKRAVDoc doc;
    RadarPicture radar;
    const test::Bytes oldBytes{'o', 'l', 'd'};
    std::string path;
    // The painted rows at 1:1, 16384 x 1024 pixels: 16 bands of four cell rows.
    const PictureRequest request{{0, 0, 1024, 64}, PICTURE_ZOOMS[4], true};
};

TEST_F(MapPicturePng, WritesThePictureOverTheOldFileAndTellsTheRowsDone) {
    std::vector<long long> done;
    const PictureWriteResult result =
        WriteMapPicturePng(Source(), request, path, [&](long long rows, long long total) {
            EXPECT_EQ(total, 1024);
            done.push_back(rows);
            return true;
        });
    EXPECT_TRUE(result.Written());
    ASSERT_FALSE(done.empty());
    EXPECT_EQ(done.size(), 16u);
    EXPECT_EQ(done.back(), 1024);
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
    EXPECT_EQ(QImage(QString::fromStdString(path), "PNG").size(), QSize(16384, 1024));
}

TEST_F(MapPicturePng, CancellingLeavesTheOldFile) {
    int calls = 0;
    const PictureWriteResult result = WriteMapPicturePng(
        Source(), request, path, [&](long long, long long) { return ++calls < 2; });
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.Written());
    EXPECT_EQ(calls, 2);
    ExpectOldFileAlone();
}

TEST_F(MapPicturePng, AFullDiskLeavesTheOldFile) {
    for (const int writes : {0, 1, 3}) {
        SCOPED_TRACE(writes);
        g_writesLeft = writes;
        SetWriteCallForTesting(&FillingWrite);
        const PictureWriteResult result = WriteMapPicturePng(Source(), request, path);
        SetWriteCallForTesting(nullptr);
        EXPECT_FALSE(result.cancelled);
        EXPECT_EQ(result.error, SaveError::DiskFull);
        ExpectOldFileAlone();
    }
}

TEST_F(MapPicturePng, SizesPngCannotHoldAreRefused) {
    const long long sizes[][2] = {{0, 1}, {1, 0}, {1LL << 31, 1}, {1, 1LL << 31}};
    for (const auto& size : sizes) {
        PngRowWriter png([](std::span<const std::uint8_t>) { return true; });
        EXPECT_FALSE(png.Start(size[0], size[1])) << size[0] << " x " << size[1];
    }
    // A file short of rows is not a picture.
    PngRowWriter png([](std::span<const std::uint8_t>) { return true; });
    const std::uint32_t row[2] = {0xFF000000u, 0xFFFFFFFFu};
    ASSERT_TRUE(png.Start(2, 2));
    EXPECT_TRUE(png.WriteRows(row, 1, 2));
    EXPECT_FALSE(png.Finish());
}

} // namespace
} // namespace krav
