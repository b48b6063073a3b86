#pragma once

// Where krav-lvl writes: never over one of its inputs, "-" for standard output, and errors
// that name the file and the system's reason.
#include "Commands.h"
#include "document/AtomicFile.h"

#include <cstdint>
#include <span>
#include <string>

namespace krav::cli {

// False, after saying so on standard error, when an output is the same file (device and
// inode, through links) as an input. An output that is levelRead is allowed: a level saved
// over the level it was read from is what Save does.
bool OutputsSpareInputs(const Arguments& inputs, const Arguments& outputs,
                        const std::string& levelRead = {});

// Opens an output: "-" is standard output. False, after saying why, when it cannot be.
bool OpenOutput(AtomicFileWriter& file, const std::string& path);

// Writes an output whole; false, after saying why, when it could not.
bool WriteOutput(const std::string& path, std::span<const std::uint8_t> bytes);

// "krav-lvl: PATH: WORDS (REASON)" on standard error.
void PrintFileError(const std::string& path, const std::string& words, const std::string& reason);

// What an output that could not be written is said to be, before the reason.
inline constexpr const char* CANNOT_WRITE = "cannot be written";

} // namespace krav::cli
