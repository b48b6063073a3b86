#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <sys/types.h>

namespace krav {

enum class SaveError { None, DiskFull, ReadOnly, Failed };

// Writes bytes to path through a temporary file in the same folder that is renamed over
// path only when it is complete, so a failure leaves the old file as it was.
// A symbolic link is followed: the file it points to is replaced, the link stays.
// Temporary files that earlier saves of path left behind when they died are removed.
SaveError WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Tests only: replaces the write(2) call the saving makes, to inject a full disk or a
// crash in the middle of writing. nullptr restores write(2).
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
void SetWriteCallForTesting(WriteCall call);

} // namespace krav
