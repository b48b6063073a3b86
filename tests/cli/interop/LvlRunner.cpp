#include "LvlRunner.h"

#include "document/ByteSource.h"
#include "document/LevelWriter.h"
#include "document/LoadTileSet.h"

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

Run Lvl(const std::string& arguments, const ScratchFolder& folder) {
    return RunCommand(std::string(KRAV_LVL) + " " + arguments, folder);
}

bool ProgramInstalled(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

Bytes LevelOf(const std::vector<std::uint32_t>& cells, const Bytes& tileSetBmp) {
    std::unique_ptr<TileSetBitmap> tileSet;
    if (!tileSetBmp.empty())
        tileSet = LoadTileSet(MemorySource(tileSetBmp));
    return WriteLevel(cells.data(), tileSet.get());
}

} // namespace krav::test
