// Saving: atomic replacement, and what the user is told when it fails.
#include "document/CKRAVDoc.h"
#include "document/FileErrors.h"
#include "document/Messages.h"
#include "support/FakePrompt.h"
#include "support/LevelBytes.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace krav {
namespace {

namespace fs = std::filesystem;

class Saving : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnNewDocument(prompt));
        doc.SetCell(2, 3, 44);
    }

    test::ScratchFolder folder;
    test::FakePrompt prompt;
    CKRAVDoc doc;
};

TEST_F(Saving, SuccessClearsModifiedAndLeavesNoTemporaryFile) {
    const std::string path = folder.Path("map.lvl");
    ASSERT_TRUE(doc.OnSaveDocument(path, prompt));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), "map.lvl");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path("")), fs::directory_iterator()), 1);
    EXPECT_EQ(test::ScratchFolder::Read(path), doc.Serialize());
}

TEST_F(Saving, AReadOnlyFileIsLeftAloneAndNamed) {
    const std::string path = folder.Write("locked.lvl", {1, 2, 3, 4});
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(doc.OnSaveDocument(path, prompt));
    EXPECT_EQ(prompt.messages,
              std::vector<std::string>{
                  "Unable to write to " + path +
                  ", it is read-only or opened by someone else. (Permission denied)"});
    EXPECT_EQ(test::ScratchFolder::Read(path), (test::Bytes{1, 2, 3, 4}));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Saving, AMissingFolderFailsWithTheSystemsReason) {
    EXPECT_FALSE(doc.OnSaveDocument(folder.Path("no/such/folder/map.lvl"), prompt));
    EXPECT_EQ(prompt.messages, std::vector<std::string>{std::string(messages::SAVE_FAILED) +
                                                        " (No such file or directory)"});
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Saving, ALinkIsFollowedAndKept) {
    const std::string target = folder.Write("real.lvl", {});
    const std::string link = folder.Path("link.lvl");
    fs::create_symlink(target, link);
    ASSERT_TRUE(doc.OnSaveDocument(link, prompt));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ScratchFolder::Read(target), doc.Serialize());
}

TEST(FileErrors, EachCauseHasItsMessage) {
    struct Case {
        int error;
        const char* message;
    };
    for (const Case c : {Case{ENOENT, "File not found!"},
                         {EMFILE, "No more files can be opened!"},
                         {EIO, "Hardware error!"},
                         {ENAMETOOLONG, "All or part of the file path name is invalid!"},
                         {EACCES, "The file could not be accessed!"},
                         {ENOSPC, "The directory is full!"},
                         {ETXTBSY, "File sharing violation!"},
                         {EPROTO, "Unknown File Error!"}})
        EXPECT_EQ(FileErrorMessage(c.error), c.message) << c.error;
}

} // namespace
} // namespace krav
