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
// An existing named pipe or character device (/dev/null, a terminal) is written in place
// instead, never replaced; any other existing file that is not a regular file is refused.
// Temporary files that earlier saves of path left behind when they died are removed.
// reason, when given, receives the system's words for a failure.
SaveError WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                              std::string* reason = nullptr);

// The same, for bytes that come a part at a time (a picture encoded as it is drawn): Open,
// Write as often as needed, then Commit. Until Commit succeeds the old file stays as it was;
// a writer destroyed without Commit removes its temporary file. Several files that must
// appear together are each Prepared before any is Committed.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    SaveError Open(const std::string& path);
    // Writes straight to an open descriptor (standard output), which stays open. Nothing is
    // atomic then: what was written stays written.
    SaveError OpenDescriptor(int fd);
    // False once a write failed; later writes do nothing and Commit reports the failure.
    bool Write(std::span<const std::uint8_t> bytes);
    // Why a write failed; None while all went well.
    SaveError WriteError() const;
    // Everything that can fail short of putting the file in place (its mode, flushing it to
    // the disk). Commit does it when it was not done.
    SaveError Prepare();
    SaveError Commit();
    // The system's words for the last failure; empty while all went well.
    std::string Reason() const;

private:
    SaveError Fail(int error);
    SaveError OpenInPlace();
    void Abandon();

    std::string m_path;
    std::string m_temp;
    int m_fd = -1;
    bool m_ownsFd = true;
    bool m_inPlace = false; // writing to the file itself: a pipe, a device or a descriptor
    bool m_prepared = false;
    mode_t m_mode = 0;
    int m_error = 0;
    bool m_notRegular = false; // refused: an existing file that is neither regular nor in place
};

// Tests only: replaces the write(2) call the saving makes, to inject a full disk or a
// crash in the middle of writing. nullptr restores write(2).
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
void SetWriteCallForTesting(WriteCall call);

} // namespace krav
