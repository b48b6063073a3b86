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

// The same, for bytes that come a part at a time (a picture encoded as it is drawn): Open,
// Write as often as needed, then Commit. Until Commit succeeds the old file stays as it was;
// a writer destroyed without Commit removes its temporary file.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    SaveError Open(const std::string& path);
    // False once a write failed; later writes do nothing and Commit reports the failure.
    bool Write(std::span<const std::uint8_t> bytes);
    // Why a write failed; None while all went well.
    SaveError WriteError() const;
    SaveError Commit();

private:
    void Abandon();

    std::string m_path;
    std::string m_temp;
    int m_fd = -1;
    mode_t m_mode = 0;
    int m_error = 0;
};

// Tests only: replaces the write(2) call the saving makes, to inject a full disk or a
// crash in the middle of writing. nullptr restores write(2).
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
void SetWriteCallForTesting(WriteCall call);

} // namespace krav
