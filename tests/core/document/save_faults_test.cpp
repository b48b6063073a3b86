// Saving when things go wrong: no permission, a full disk, a process killed while writing.
// Whatever happens the old file survives byte for byte, the document stays modified, no
// temporary file is left, and the user reads why.
#include "document/AtomicFile.h"
#include "document/CKRAVDoc.h"
#include "document/Messages.h"
#include "support/Devices.h"
#include "support/FakePrompt.h"
#include "support/LevelBytes.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <set>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
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
    return "Unable to write to " + path +
           ", it is read-only or opened by someone else. (Permission denied)";
}

// A message of the editor followed by the system's reason.
std::string Because(const std::string& words, int error) {
    return words + " (" + std::strerror(error) + ")";
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
    ExpectFailedSafely(path, Because(messages::DISK_FULL, ENOSPC));
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
    for (const Case& c : {Case{ENOSPC, 0, Because(messages::DISK_FULL, ENOSPC)},
                          {ENOSPC, 3, Because(messages::DISK_FULL, ENOSPC)},
                          {EDQUOT, 1, Because(messages::DISK_FULL, EDQUOT)},
                          {EIO, 1, Because(messages::SAVE_FAILED, EIO)},
                          {EFBIG, 2, Because(messages::SAVE_FAILED, EFBIG)},
                          // a failure that forgets errno must not pass for success
                          {0, 1, Because(messages::SAVE_FAILED, EIO)}}) {
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

// What makes a file the file it is: replacing it by a rename changes its inode, and a device
// replaced by a regular file loses its type.
struct FileIdentity {
    mode_t type;
    dev_t device;
    ino_t inode;
    dev_t rdev;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return {static_cast<mode_t>(info.st_mode & S_IFMT), info.st_dev, info.st_ino, info.st_rdev};
}

// A save never renames over a pipe, a device, a folder or a socket (as root a rename would
// replace even /dev/full): pipes and character devices get the bytes in place, the others are
// refused with the reason.
TEST_F(SaveFaults, SpecialFilesAreWrittenInPlaceOrRefusedNeverReplaced) {
    const std::string pipe = folder.Path("pipe.lvl");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string dir = folder.Path("dir.lvl");
    fs::create_directory(dir);
    const std::string socketPath = folder.Path("socket.lvl");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const std::string full = test::FullDevice(folder);
    const std::string null = test::NullDevice(folder);
    if (full.empty() || null.empty())
        GTEST_SKIP() << "cannot make devices of our own here";
    const std::string fullLink = folder.Path("full-link.lvl");
    fs::create_symlink(full, fullLink);
    const Names names = NamesIn(folder.Path(""));

    struct Case {
        std::string path;
        bool saved;
        std::string message;
    };
    const std::string notRegular = std::string(messages::SAVE_FAILED) + " (Not a regular file)";
    const Case cases[] = {
        {null, true, ""},
        {full, false, Because(messages::DISK_FULL, ENOSPC)},
        {fullLink, false, Because(messages::DISK_FULL, ENOSPC)},
        {pipe, true, ""},
        {dir, false, Because(messages::SAVE_FAILED, EISDIR)},
        {socketPath, false, notRegular},
    };
    const test::Bytes level = doc.Serialize();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        prompt.messages.clear();
        doc.SetModifiedFlag();
        const FileIdentity before = IdentityOf(c.path);
        test::Bytes piped;
        std::atomic<bool> read{false};
        std::thread reader;
        if (c.path == pipe)
            reader = std::thread([&] {
                piped = test::ScratchFolder::Read(pipe);
                read = true;
            });
        EXPECT_EQ(doc.OnSaveDocument(c.path, prompt), c.saved);
        if (reader.joinable()) {
            // A reader still waiting for a writer (the save refused the pipe) gets an end.
            while (!read) {
                const int unblock = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
                if (unblock >= 0)
                    ::close(unblock);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            reader.join();
        }
        EXPECT_EQ(prompt.messages,
                  c.message.empty() ? std::vector<std::string>{} : std::vector{c.message});
        EXPECT_EQ(doc.IsModified(), !c.saved);
        EXPECT_EQ(IdentityOf(c.path), before);
        if (c.path == pipe) {
            EXPECT_EQ(piped, level);
        }
    }
    ::close(sock);
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_TRUE(fs::is_symlink(fullLink));
    EXPECT_EQ(NamesIn(folder.Path("")), names);
}

} // namespace
} // namespace krav
