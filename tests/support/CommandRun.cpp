#include "support/CommandRun.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace krav::test {

Run RunCommand(const std::string& commandLine, const ScratchFolder& folder) {
    const std::string errPath = folder.Path("stderr.txt");
    const std::string command = commandLine + " 2>" + errPath;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = ::pclose(pipe);
    return {WEXITSTATUS(status), out, ReadText(errPath)};
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace krav::test
