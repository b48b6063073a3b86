// Saving when things go wrong: no permission, a full disk, a process killed while writing.
// Whatever happens the old file survives byte for byte, the document stays modified, no
// temporary file is left, and the user reads why.
#include "document/AtomicFile.h"
#include "document/CKRAVDoc.h"
#include "document/Messages.h"
#include "support/FakePrompt.h"
#include "support/LevelBytes.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <set>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace krav {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

constexpr uid_t NOBODY = 65534;

Names NamesIn(const std::string& folder) {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::string ReadOnlyMessage(const std::string& path) {
    return "Unable to write to " + path + ", it is read-only or opened by someone else.";
}

// What the injected write does: the first calls write half of what they are given, so the
// temporary file is really partly written, then it fails with error.
int g_writesBeforeFailure = 0;
int g_injectedError = 0;
ssize_t FailingWrite(int fd, const void* data, std::size_t size) {
    if (g_writesBeforeFailure-- > 0)
        return ::write(fd, data, size / 2);
    errno = g_injectedError;
    return -1;
}

// Writes half of the level, tells the test through g_pausedPipe, and waits to be killed.
int g_pausedPipe = -1;
bool g_wroteHalf = false;
ssize_t PausingWrite(int fd, const void* data, std::size_t size) {
    if (!g_wroteHalf) {
        g_wroteHalf = true;
        return ::write(fd, data, size / 2);
    }
    const char paused = 1;
    if (::write(g_pausedPipe, &paused, 1) != 1)
        ::_exit(3);
    for (;;)
        ::pause();
}

class SaveFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnNewDocument(prompt));
        // A quarter of the map: a level of 1 MiB, more than one write and more than a small disk.
        std::fill_n(doc.GetCells(), MAP_CELLS / 4, Cell{44});
        doc.SetModifiedFlag();
        test::AppendRecord(oldBytes, 7, 1, 2);
        test::AppendRecord(oldBytes, 9, 3, 4);
    }

    void TearDown() override {
        SetWriteCallForTesting(nullptr);
        if (!mounted.empty())
            ::umount2(mounted.c_str(), MNT_DETACH);
    }

    // The save failed in every way that matters to the user.
    void ExpectFailedSafely(const std::string& path, const std::string& message) {
        EXPECT_EQ(prompt.messages, std::vector<std::string>{message});
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(test::ScratchFolder::Read(path), oldBytes);
        EXPECT_EQ(NamesIn(fs::path(path).parent_path()), Names{"map.lvl"});
    }

    test::ScratchFolder folder;
    test::FakePrompt prompt;
    CKRAVDoc doc;
    test::Bytes oldBytes;
    std::string mounted;
};

TEST_F(SaveFaults, AReadOnlyFileIsKept) {
    const std::string path = folder.Write("map.lvl", oldBytes);
    fs::permissions(path, fs::perms(0444));
    EXPECT_FALSE(doc.OnSaveDocument(path, prompt));
    ExpectFailedSafely(path, ReadOnlyMessage(path));
}

// The file itself is writable; only the folder, where the temporary file must go, is not.
// Root may write anywhere, so the save runs in a child that has become nobody.
TEST_F(SaveFaults, AFolderWithoutWritePermissionKeepsTheFile) {
    const bool root = ::geteuid() == 0;
    fs::permissions(folder.Path(""), fs::perms(0755));
    const std::string locked = folder.Path("locked");
    fs::create_directory(locked);
    const std::string path = folder.Write("locked/map.lvl", oldBytes);
    fs::permissions(path, fs::perms(0666));
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), NOBODY, NOBODY), 0);
    }
    fs::permissions(locked, fs::perms(0555));
    struct Unlock {
        std::string folder;
        ~Unlock() {
            std::error_code ignored;
            fs::permissions(folder, fs::perms(0755), ignored);
        }
    } unlock{locked};

    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(report[0]);
        if (root &&
            (::setgroups(0, nullptr) != 0 || ::setgid(NOBODY) != 0 || ::setuid(NOBODY) != 0))
            ::_exit(2);
        // "saved modified" then the messages, one per line.
        std::string out = doc.OnSaveDocument(path, prompt) ? "1" : "0";
        out += doc.IsModified() ? "1\n" : "0\n";
        for (const std::string& message : prompt.messages)
            out += message + "\n";
        const ssize_t sent = ::write(report[1], out.data(), out.size());
        ::_exit(sent == static_cast<ssize_t>(out.size()) ? 0 : 1);
    }
    ::close(report[1]);
    std::string out;
    char buffer[512];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, n);
    ::close(report[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "cannot become user " << NOBODY << " here";
    ASSERT_EQ(WEXITSTATUS(status), 0);

    EXPECT_EQ(out, "01\n" + ReadOnlyMessage(path) + "\n");
    EXPECT_EQ(test::ScratchFolder::Read(path), oldBytes);
    EXPECT_EQ(NamesIn(locked), Names{"map.lvl"});
}

// A real filesystem of 64 KiB that the 1 MiB level cannot fit on.
TEST_F(SaveFaults, AFullDiskKeepsTheFileAndGivesBackTheSpace) {
    const std::string disk = folder.Path("disk");
    fs::create_directory(disk);
    const unsigned long flags = MS_NOSUID | MS_NODEV | MS_NOEXEC;
    if (::mount("krav-test", disk.c_str(), "tmpfs", flags, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small filesystem here (" << std::strerror(errno)
                     << "); InjectedWriteFailures covers a full disk";
    mounted = disk;
    const std::string path = folder.Write("disk/map.lvl", oldBytes);
    struct statvfs before {
    }, after{};
    ASSERT_EQ(::statvfs(disk.c_str(), &before), 0);

    EXPECT_FALSE(doc.OnSaveDocument(path, prompt));
    ExpectFailedSafely(path, messages::DISK_FULL);
    // Closed as well as removed: an open temporary file would still hold the space.
    ASSERT_EQ(::statvfs(disk.c_str(), &after), 0);
    EXPECT_EQ(after.f_bfree, before.f_bfree);
}

TEST_F(SaveFaults, InjectedWriteFailures) {
    struct Case {
        int error;
        int writesBefore;
        std::string message;
    };
    const std::string path = folder.Write("map.lvl", oldBytes);
    for (const Case& c : {Case{ENOSPC, 0, messages::DISK_FULL},
                          {ENOSPC, 3, messages::DISK_FULL},
                          {EDQUOT, 1, messages::DISK_FULL},
                          {EIO, 1, messages::SAVE_FAILED},
                          {EFBIG, 2, messages::SAVE_FAILED},
                          // a failure that forgets errno must not pass for success
                          {0, 1, messages::SAVE_FAILED}}) {
        SCOPED_TRACE(testing::Message() << "error " << c.error << " after " << c.writesBefore);
        prompt.messages.clear();
        g_injectedError = c.error;
        g_writesBeforeFailure = c.writesBefore;
        SetWriteCallForTesting(&FailingWrite);
        errno = 0;
        EXPECT_FALSE(doc.OnSaveDocument(path, prompt));
        ExpectFailedSafely(path, c.message);
    }
}

// Starts saving the document to path in a child that stops half-way through writing; the
// child is returned once it has stopped, or -1 when it never got there.
pid_t StartStoppedSave(CKRAVDoc& doc, const std::string& path) {
    int paused[2];
    if (::pipe(paused) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(paused[0]);
        g_pausedPipe = paused[1];
        SetWriteCallForTesting(&PausingWrite);
        test::FakePrompt prompt;
        doc.OnSaveDocument(path, prompt);
        ::_exit(4); // only reached when the save did not pause
    }
    ::close(paused[1]);
    char byte = 0;
    const bool stopped = child > 0 && ::read(paused[0], &byte, 1) == 1;
    ::close(paused[0]);
    if (child > 0 && !stopped) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    return stopped ? child : -1;
}

bool Kill(pid_t child) {
    int status = 0;
    return ::kill(child, SIGKILL) == 0 && ::waitpid(child, &status, 0) == child &&
           WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// The one file beside map.lvl, which must be a temporary file of it.
std::string TheTemporaryFile(const std::string& folder) {
    Names names = NamesIn(folder);
    if (names.size() != 2 || names.erase("map.lvl") != 1)
        return "";
    const std::string name = *names.begin();
    return name.rfind(".map.lvl.", 0) == 0 ? name : "";
}

// A save killed half-way leaves the old file and a stale temporary file; the next save
// succeeds and removes it.
TEST_F(SaveFaults, AProcessKilledWhileWritingKeepsTheOldFile) {
    const std::string path = folder.Write("map.lvl", oldBytes);
    const test::Bytes level = doc.Serialize();
    const pid_t child = StartStoppedSave(doc, path);
    ASSERT_GT(child, 0) << "the save did not reach the middle of writing";
    ASSERT_TRUE(Kill(child));

    EXPECT_EQ(test::ScratchFolder::Read(path), oldBytes);
    const std::string stale = TheTemporaryFile(folder.Path(""));
    ASSERT_FALSE(stale.empty());
    EXPECT_EQ(fs::file_size(folder.Path(stale)), level.size() / 2);

    ASSERT_TRUE(doc.OnSaveDocument(path, prompt));
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(test::ScratchFolder::Read(path), level);
    EXPECT_EQ(NamesIn(folder.Path("")), Names{"map.lvl"});
}

// Another process still writing its save of the same file keeps its temporary file.
TEST_F(SaveFaults, ASaveInProgressElsewhereIsNotTakenForStale) {
    const std::string path = folder.Write("map.lvl", oldBytes);
    const pid_t child = StartStoppedSave(doc, path);
    ASSERT_GT(child, 0) << "the save did not reach the middle of writing";
    const std::string writing = TheTemporaryFile(folder.Path(""));

    const bool saved = doc.OnSaveDocument(path, prompt);
    const Names names = NamesIn(folder.Path(""));
    ASSERT_TRUE(Kill(child));
    ASSERT_FALSE(writing.empty());
    EXPECT_TRUE(saved);
    EXPECT_EQ(names, (Names{"map.lvl", writing}));
    EXPECT_EQ(test::ScratchFolder::Read(path), doc.Serialize());
}

// Only our own dead temporary files for this very file go; a save still writing keeps its
// lock and its file.
TEST_F(SaveFaults, ASaveRemovesOnlyStaleTemporaryFilesOfItsFile) {
    enum Kind { Dead, Live, Folder, Link, OtherOwner };
    struct Case {
        const char* name;
        Kind kind;
        bool removed;
    };
    const Case cases[] = {
        {".map.lvl.Ab12Cd", Dead, true},    {".map.lvl.zz09AA", Dead, true},
        {".map.lvl.Qw34Er", Live, false},   {".map.lvl.Dir123", Folder, false},
        {".map.lvl.Lnk123", Link, false},   {".map.lvl.Oth123", OtherOwner, false},
        {".other.lvl.Ab12Cd", Dead, false}, {".map.lvl.bak", Dead, false},
        {"map.lvl.Ab12Cd", Dead, false},    {".map.lvl.Ab12C", Dead, false},
        {".map.lvl.Ab12Cd7", Dead, false},  {".map.lvl.Ab-2Cd", Dead, false},
        {"..map.lvl.Ab12Cd", Dead, false},
    };
    const std::string path = folder.Write("map.lvl", oldBytes);
    const std::string elsewhere = folder.Write("elsewhere", {5});
    std::vector<int> liveLocks;
    Names expected{"map.lvl", "elsewhere"};
    for (const Case& c : cases) {
        const std::string file = folder.Path(c.name);
        switch (c.kind) {
        case Folder:
            fs::create_directory(file);
            break;
        case Link:
            fs::create_symlink(elsewhere, file);
            break;
        default:
            folder.Write(c.name, {1, 2, 3});
        }
        if (c.kind == Live) {
            const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::flock(fd, LOCK_EX), 0);
            liveLocks.push_back(fd);
        }
        if (c.kind == OtherOwner && ::geteuid() == 0) {
            ASSERT_EQ(::chown(file.c_str(), NOBODY, NOBODY), 0);
        }
        const bool removed = c.removed || (c.kind == OtherOwner && ::geteuid() != 0);
        if (!removed)
            expected.insert(c.name);
    }

    ASSERT_TRUE(doc.OnSaveDocument(path, prompt));
    for (const int fd : liveLocks)
        ::close(fd);
    EXPECT_EQ(NamesIn(folder.Path("")), expected);
    EXPECT_EQ(test::ScratchFolder::Read(path), doc.Serialize());
    EXPECT_EQ(test::ScratchFolder::Read(elsewhere), test::Bytes{5});
}

} // namespace
} // namespace krav
