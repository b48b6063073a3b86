#pragma once

// Runs a program as a shell script would and catches what it printed.
#include "support/LevelBytes.h"

#include <string>

namespace krav::test {

struct Run {
    int exitCode;
    std::string out;
    std::string err;
};

// Runs a shell command line; standard error is caught through a file in folder.
Run RunCommand(const std::string& commandLine, const ScratchFolder& folder);

std::string ReadText(const std::string& path);

} // namespace krav::test
