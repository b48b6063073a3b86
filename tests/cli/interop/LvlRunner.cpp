#include "LvlRunner.h"

#include "document/ByteSource.h"
#include "document/LevelWriter.h"
#include "document/LoadTileSet.h"

#include <cstdlib>
#include <fstream>

namespace krav::test {

Run Lvl(const std::string& arguments, const ScratchFolder& folder) {
    return RunCommand(std::string(KRAV_LVL) + " " + arguments, folder);
}

bool ProgramInstalled(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string ReadmeGitSetup() {
    std::ifstream readme(std::string(KRAV_SOURCE_DIR) + "/README.md");
    std::string setUp;
    for (std::string line; std::getline(readme, line);) {
        const bool config = line.rfind("git config diff.krav", 0) == 0 ||
                            line.rfind("git config merge.krav", 0) == 0;
        if (!config && line.find("diff=krav") == std::string::npos &&
            line.find("merge=krav") == std::string::npos)
            continue;
        for (std::size_t at; (at = line.find("\"krav-lvl ")) != std::string::npos;)
            line.replace(at + 1, 8, KRAV_LVL);
        setUp += line + " && ";
    }
    return setUp;
}

Bytes LevelOf(const std::vector<std::uint32_t>& cells, const Bytes& tileSetBmp) {
    std::unique_ptr<TileSetBitmap> tileSet;
    if (!tileSetBmp.empty())
        tileSet = LoadTileSet(MemorySource(tileSetBmp));
    return WriteLevel(cells.data(), tileSet.get());
}

} // namespace krav::test
