#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace krav {

enum class SaveError { None, DiskFull, ReadOnly, Failed };

// Writes bytes to path through a temporary file in the same folder that is renamed over
// path only when it is complete, so a failure leaves the old file as it was.
// A symbolic link is followed: the file it points to is replaced, the link stays.
SaveError WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace krav
