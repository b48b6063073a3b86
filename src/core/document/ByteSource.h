#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace krav {

// Random-access bytes to read a level or a tile set from: a file, or memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    virtual std::uint64_t Size() const = 0;

    // Copies up to out.size() bytes from offset into out and returns how many were copied:
    // fewer only at the end of the data. Raises ReadError when the underlying file fails.
    virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;

    // All the bytes at once when they are already in memory, so that they need no copy;
    // empty otherwise.
    virtual std::span<const std::uint8_t> InMemory() const { return {}; }
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint64_t Size() const override { return m_bytes.size(); }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override;
    std::span<const std::uint8_t> InMemory() const override { return m_bytes; }

private:
    std::span<const std::uint8_t> m_bytes;
};

} // namespace krav
