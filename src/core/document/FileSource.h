#pragma once

#include "document/ByteSource.h"

#include <string>

namespace krav {

// A regular file opened for reading. Read failures raise ReadError with the message
// that matches the system's error.
class FileSource final : public ByteSource {
public:
    // Raises ReadError("Couldn't open file. (REASON)") when path is not a readable regular
    // file.
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::uint64_t Size() const override { return m_size; }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override;

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
};

} // namespace krav
