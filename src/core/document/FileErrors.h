#pragma once

#include <string>

namespace krav {

// The message shown when reading a level fails with the given errno.
std::string FileErrorMessage(int error);

// The system's own words for errno, as strerror gives them.
std::string SystemReason(int error);

// The reason given for a file that exists but is neither a regular file nor a directory (a
// pipe, a device, a socket), for which the system has no error of its own.
inline constexpr const char* NOT_A_REGULAR_FILE = "Not a regular file";

// A message followed by the reason in parentheses, the form every file error takes:
// "Couldn't open file. (Is a directory)". An empty reason leaves the words alone.
std::string WithReason(const std::string& words, const std::string& reason);

} // namespace krav
