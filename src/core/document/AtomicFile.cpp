#include "document/AtomicFile.h"

#include "document/FileErrors.h"

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
    if (!m_inPlace)
        ::unlink(m_temp.c_str());
    if (m_ownsFd)
        ::close(m_fd);
    m_fd = -1;
}

SaveError AtomicFileWriter::Fail(int error) {
    m_error = error;
    return ErrorFor(error);
}

// A pipe or a device cannot be replaced by a rename without losing what it is (as root even
// /dev/full could be), so it gets the bytes itself.
SaveError AtomicFileWriter::OpenInPlace() {
    // No O_CREAT or O_TRUNC: if the file was swapped for another since it was looked at,
    // opening it changes nothing, and the check below refuses it before any write.
    const int fd = ::open(m_path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Fail(errno);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !(S_ISFIFO(opened.st_mode) || S_ISCHR(opened.st_mode))) {
        ::close(fd);
        return Fail(EAGAIN); // it changed under us: nothing was written, try again
    }
    m_fd = fd;
    m_inPlace = true;
    return SaveError::None;
}

SaveError AtomicFileWriter::Open(const std::string& requestedPath) {
    Abandon();
    m_error = 0;
    m_notRegular = false;
    m_inPlace = false;
    m_ownsFd = true;
    m_prepared = false;
    m_path = ResolveLink(requestedPath);
    m_mode = NewFileMode();
    struct stat existing {};
    if (::stat(m_path.c_str(), &existing) == 0) {
        if (S_ISFIFO(existing.st_mode) || S_ISCHR(existing.st_mode))
            return OpenInPlace();
        if (S_ISDIR(existing.st_mode))
            return Fail(EISDIR);
        if (!S_ISREG(existing.st_mode)) {
            m_notRegular = true;
            return Fail(EINVAL);
        }
        // Renaming would replace a read-only file even where we may not write to it (and
        // root may write anywhere), so honour the file's own permission bits.
        if ((existing.st_mode & S_IWUSR) == 0 || ::access(m_path.c_str(), W_OK) != 0)
            return Fail(EACCES);
        m_mode = existing.st_mode & 07777;
    }

    const std::string name = m_path.substr(m_path.rfind('/') + 1);
    RemoveStaleTemporaries(FolderOf(m_path), name);
    const std::string temp = FolderOf(m_path) + "/." + name + ".XXXXXX";
    std::vector<char> templateBuffer(temp.begin(), temp.end());
    templateBuffer.push_back('\0');
    const int fd = ::mkostemp(templateBuffer.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail(errno);
    m_temp = templateBuffer.data();
    m_fd = fd;
    ::flock(m_fd, LOCK_EX); // where locks are not supported, stale files are merely kept
    return SaveError::None;
}

SaveError AtomicFileWriter::OpenDescriptor(int fd) {
    Abandon();
    m_error = 0;
    m_notRegular = false;
    m_prepared = false;
    m_path.clear();
    m_fd = fd;
    m_ownsFd = false;
    m_inPlace = true;
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

std::string AtomicFileWriter::Reason() const {
    if (m_notRegular)
        return NOT_A_REGULAR_FILE;
    return m_error != 0 ? SystemReason(m_error) : std::string();
}

SaveError AtomicFileWriter::Prepare() {
    if (m_fd < 0)
        return m_error != 0 ? ErrorFor(m_error) : SaveError::Failed;
    if (m_error == 0 && !m_inPlace && !m_prepared &&
        (::fchmod(m_fd, m_mode) != 0 || ::fsync(m_fd) != 0))
        m_error = errno != 0 ? errno : EIO;
    if (m_error != 0) {
        Abandon();
        return ErrorFor(m_error);
    }
    m_prepared = true;
    return SaveError::None;
}

SaveError AtomicFileWriter::Commit() {
    if (const SaveError error = Prepare(); error != SaveError::None)
        return error;
    if (m_inPlace) {
        // A pipe or device is not flushed to a disk; what close says still counts.
        const bool closed = !m_ownsFd || ::close(m_fd) == 0;
        const int error = errno;
        m_fd = -1;
        return closed ? SaveError::None : Fail(error);
    }
    // Renamed while still open and locked, so that no other save takes it for a stale file;
    // after fsync, close has nothing left to report.
    if (::rename(m_temp.c_str(), m_path.c_str()) != 0) {
        m_error = errno;
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

SaveError WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                              std::string* reason) {
    AtomicFileWriter file;
    SaveError error = file.Open(path);
    if (error == SaveError::None) {
        file.Write(bytes);
        error = file.Commit();
    }
    if (reason)
        *reason = file.Reason();
    return error;
}

} // namespace krav
