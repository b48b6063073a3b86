#include "OutputFiles.h"

#include "document/FileErrors.h"

#include <iostream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace krav::cli {

namespace {

struct FileId {
    dev_t device;
    ino_t inode;
    bool operator==(const FileId&) const = default;
};

// The file a path names, following links; "-" is standard output. Nothing when it does not
// exist (yet).
std::optional<FileId> IdOf(const std::string& path) {
    struct stat info {};
    const int result = path == "-" ? ::fstat(STDOUT_FILENO, &info) : ::stat(path.c_str(), &info);
    if (result != 0)
        return std::nullopt;
    return FileId{info.st_dev, info.st_ino};
}

} // namespace

bool OutputsSpareInputs(const Arguments& inputs, const Arguments& outputs,
                        const std::string& levelRead) {
    const std::optional<FileId> level = levelRead.empty() ? std::nullopt : IdOf(levelRead);
    for (const std::string& out : outputs) {
        const std::optional<FileId> target = IdOf(out);
        if (!target || target == level)
            continue;
        for (const std::string& in : inputs) {
            if (IdOf(in) == target) {
                std::cerr << "krav-lvl: " << out << ": is the same file as the input " << in
                          << "; nothing was written\n";
                return false;
            }
        }
    }
    return true;
}

void PrintFileError(const std::string& path, const std::string& words, const std::string& reason) {
    std::cerr << "krav-lvl: " << path << ": " << WithReason(words, reason) << '\n';
}

bool OpenOutput(AtomicFileWriter& file, const std::string& path) {
    const SaveError error = path == "-" ? file.OpenDescriptor(STDOUT_FILENO) : file.Open(path);
    if (error == SaveError::None)
        return true;
    PrintFileError(path, CANNOT_WRITE, file.Reason());
    return false;
}

bool WriteOutput(const std::string& path, std::span<const std::uint8_t> bytes) {
    AtomicFileWriter file;
    if (!OpenOutput(file, path))
        return false;
    file.Write(bytes);
    if (file.Commit() == SaveError::None)
        return true;
    PrintFileError(path, CANNOT_WRITE, file.Reason());
    return false;
}

} // namespace krav::cli
