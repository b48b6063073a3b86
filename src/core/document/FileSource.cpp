#include "document/FileSource.h"

#include "document/FileErrors.h"
#include "document/Messages.h"
#include "document/ReadError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace krav {

FileSource::FileSource(const std::string& path) {
    // Non-blocking, so that a named pipe given as a level is refused instead of waiting for a
    // writer; reads of a regular file are not affected.
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        throw ReadError(WithReason(messages::COULD_NOT_OPEN, SystemReason(errno)));
    struct stat info {};
    // Only regular files have a length to trust; a directory, pipe or device is not a level.
    std::string reason;
    if (::fstat(m_fd, &info) != 0)
        reason = SystemReason(errno);
    else if (S_ISDIR(info.st_mode))
        reason = SystemReason(EISDIR);
    else if (!S_ISREG(info.st_mode))
        reason = NOT_A_REGULAR_FILE;
    if (!reason.empty()) {
        ::close(m_fd);
        m_fd = -1;
        throw ReadError(WithReason(messages::COULD_NOT_OPEN, reason));
    }
    m_size = static_cast<std::uint64_t>(info.st_size);
}

FileSource::~FileSource() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::size_t FileSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got =
            ::pread(m_fd, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            throw ReadError(WithReason(FileErrorMessage(error), SystemReason(error)));
        }
        if (got == 0)
            break; // end of file (it may have shrunk since it was opened)
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace krav
