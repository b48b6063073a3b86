#include "document/AtomicFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace krav {

namespace {

std::atomic<WriteCall> g_writeCall{nullptr};

SaveError ErrorFor(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return SaveError::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return SaveError::ReadOnly;
    default:
        return SaveError::Failed;
    }
}

std::string ResolveLink(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    return path; // a new file: nothing to follow
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const WriteCall call = g_writeCall.load();
        const ssize_t n = call ? call(fd, bytes.data() + done, bytes.size() - done)
                               : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Whether entry is one of our temporary files for name: "." name "." and the six letters or
// digits mkstemp puts in place of XXXXXX.
bool IsTemporaryFor(std::string_view entry, std::string_view name) {
    const std::size_t prefix = name.size() + 2;
    if (entry.size() != prefix + 6 || entry.front() != '.' ||
        entry.substr(1, name.size()) != name || entry[prefix - 1] != '.')
        return false;
    return std::all_of(entry.begin() + prefix, entry.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

// A save keeps its temporary file locked until it is done, and the lock dies with the
// process, so one we can lock was left by a save that was killed or crashed. Without this
// every crash would leave a hidden copy of the level behind, eating the disk.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryFor(entry->d_name, name))
            continue;
        const int fd =
            ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

void SetWriteCallForTesting(WriteCall call) {
    g_writeCall.store(call);
}

AtomicFileWriter::~AtomicFileWriter() {
    Abandon();
}

void AtomicFileWriter::Abandon() {
    if (m_fd < 0)
        return;
    ::unlink(m_temp.c_str());
    ::close(m_fd);
    m_fd = -1;
}

SaveError AtomicFileWriter::Open(const std::string& requestedPath) {
    Abandon();
    m_error = 0;
    m_path = ResolveLink(requestedPath);
    m_mode = NewFileMode();
    struct stat existing {};
    if (::stat(m_path.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode))
            return SaveError::Failed;
        // Renaming would replace a read-only file even where we may not write to it (and
        // root may write anywhere), so honour the file's own permission bits.
        if ((existing.st_mode & S_IWUSR) == 0 || ::access(m_path.c_str(), W_OK) != 0)
            return SaveError::ReadOnly;
        m_mode = existing.st_mode & 07777;
    }

    const std::string name = m_path.substr(m_path.rfind('/') + 1);
    RemoveStaleTemporaries(FolderOf(m_path), name);
    const std::string temp = FolderOf(m_path) + "/." + name + ".XXXXXX";
    std::vector<char> templateBuffer(temp.begin(), temp.end());
    templateBuffer.push_back('\0');
    const int fd = ::mkostemp(templateBuffer.data(), O_CLOEXEC);
    if (fd < 0)
        return ErrorFor(errno);
    m_temp = templateBuffer.data();
    m_fd = fd;
    ::flock(m_fd, LOCK_EX); // where locks are not supported, stale files are merely kept
    return SaveError::None;
}

bool AtomicFileWriter::Write(std::span<const std::uint8_t> bytes) {
    if (m_fd < 0 || m_error != 0)
        return false;
    // A partial file must never be renamed, even by a failure that forgot to set errno.
    if (!WriteAll(m_fd, bytes))
        m_error = errno != 0 ? errno : EIO;
    return m_error == 0;
}

SaveError AtomicFileWriter::WriteError() const {
    return m_error != 0 ? ErrorFor(m_error) : SaveError::None;
}

SaveError AtomicFileWriter::Commit() {
    if (m_fd < 0)
        return SaveError::Failed;
    if (m_error == 0 && (::fchmod(m_fd, m_mode) != 0 || ::fsync(m_fd) != 0))
        m_error = errno != 0 ? errno : EIO;
    // Renamed while still open and locked, so that no other save takes it for a stale file;
    // after fsync, close has nothing left to report.
    if (m_error == 0 && ::rename(m_temp.c_str(), m_path.c_str()) != 0)
        m_error = errno;
    if (m_error != 0) {
        Abandon();
        return ErrorFor(m_error);
    }
    ::close(m_fd);
    m_fd = -1;
    // Make the rename itself durable; a failure here no longer endangers the old file.
    const int folder = ::open(FolderOf(m_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return SaveError::None;
}

SaveError WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    AtomicFileWriter file;
    if (const SaveError error = file.Open(path); error != SaveError::None)
        return error;
    file.Write(bytes);
    return file.Commit();
}

} // namespace krav
