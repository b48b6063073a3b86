#include "document/FileErrors.h"

#include <cerrno>
#include <cstring>

namespace krav {

std::string FileErrorMessage(int error) {
    switch (error) {
    case ENOENT:
        return "File not found!";
    case EMFILE:
    case ENFILE:
        return "No more files can be opened!";
    case EIO:
    case ENXIO:
    case ENODEV:
        return "Hardware error!";
    case ENAMETOOLONG:
    case ENOTDIR:
    case ELOOP:
        return "All or part of the file path name is invalid!";
    case EACCES:
    case EPERM:
    case EISDIR:
        return "The file could not be accessed!";
    case ENOSPC:
    case EMLINK:
        return "The directory is full!";
    case ETXTBSY:
    case EBUSY:
    case EAGAIN:
        return "File sharing violation!";
    default:
        return "Unknown File Error!";
    }
}

std::string SystemReason(int error) {
    return std::strerror(error);
}

std::string WithReason(const std::string& words, const std::string& reason) {
    return reason.empty() ? words : words + " (" + reason + ")";
}

} // namespace krav
