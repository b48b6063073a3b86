#include "document/ByteSource.h"

#include <algorithm>
#include <cstring>

namespace krav {

std::size_t MemorySource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset >= m_bytes.size())
        return 0;
    const std::size_t count =
        std::min<std::uint64_t>(out.size(), m_bytes.size() - static_cast<std::size_t>(offset));
    std::memcpy(out.data(), m_bytes.data() + offset, count);
    return count;
}

} // namespace krav
