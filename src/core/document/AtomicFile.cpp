#include "document/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace krav {

namespace {

SaveError ErrorFor(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT: return SaveError::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return SaveError::ReadOnly;
    default: return SaveError::Failed;
    }
}

std::string ResolveLink(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
    return path; // a new file: nothing to follow
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
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

} // namespace

SaveError WriteFileAtomically(const std::string& requestedPath,
                              std::span<const std::uint8_t> bytes) {
    const std::string path = ResolveLink(requestedPath);
    mode_t mode = NewFileMode();
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) return SaveError::Failed;
        // Renaming would replace a read-only file even where we may not write to it (and
        // root may write anywhere), so honour the file's own permission bits.
        if ((existing.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0)
            return SaveError::ReadOnly;
        mode = existing.st_mode & 07777;
    }

    const std::string name = path.substr(path.rfind('/') + 1);
    std::string temp = FolderOf(path) + "/." + name + ".XXXXXX";
    std::vector<char> templateBuffer(temp.begin(), temp.end());
    templateBuffer.push_back('\0');
    const int fd = ::mkstemp(templateBuffer.data());
    if (fd < 0) return ErrorFor(errno);
    temp = templateBuffer.data();

    int error = 0;
    if (!WriteAll(fd, bytes) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return ErrorFor(error);
    }
    // Make the rename itself durable; a failure here no longer endangers the old file.
    const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return SaveError::None;
}

} // namespace krav
