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

Bytes LevelOf(const std::vector<std::uint32_t>& cells, const Bytes& tileSetBmp) {
    std::unique_ptr<TileSetBitmap> tileSet;
    if (!tileSetBmp.empty())
        tileSet = LoadTileSet(MemorySource(tileSetBmp));
    return WriteLevel(cells.data(), tileSet.get());
}

} // namespace krav::test
