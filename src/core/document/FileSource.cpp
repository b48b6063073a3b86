#include "document/FileSource.h"

#include "document/FileErrors.h"
#include "document/ReadError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace krav {

FileSource::FileSource(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        throw ReadError("Couldn't open file.");
    struct stat info {};
    // Only regular files have a length to trust; a directory, pipe or device is not a level.
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        throw ReadError("Couldn't open file.");
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
            throw ReadError(FileErrorMessage(errno));
        }
        if (got == 0)
            break; // end of file (it may have shrunk since it was opened)
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace krav
