#include "Commands.h"
#include "LevelFiles.h"

#include <cerrno>
#include <cstring>
#include <iostream>

namespace {

const char* const USAGE =
    "usage: krav-lvl info LEVEL\n"
    "       krav-lvl check [--strict] LEVEL...\n"
    "       krav-lvl resave IN OUT\n"
    "       krav-lvl play SCRIPT LEVEL|new OUT\n"
    "       krav-lvl render LEVEL OUT.png [--zoom 1:16|1:8|1:4|1:2|1:1|2:1]\n"
    "                       [--area LEFT,TOP,RIGHT,BOTTOM] [--grid]\n"
    "       krav-lvl tileset LEVEL OUT.bmp\n"
    "       krav-lvl import-tileset LEVEL IMAGE OUT\n"
    "       krav-lvl export-tmx LEVEL OUT.tmx\n"
    "       krav-lvl import-tmx IN.tmx OUT.lvl\n"
    "       krav-lvl dump [--textconv] LEVEL\n"
    "       krav-lvl diff A B\n"
    "       krav-lvl undump TEXT OUT [--tileset LEVEL|BMP]\n"
    "       krav-lvl merge BASE OURS THEIRS OUT\n"
    "       krav-lvl --help | --version\n"
    "Every command but import-tmx takes --keep-unknown: records whose code is\n"
    "no tile and no object are kept as marked cells and written back as read,\n"
    "instead of refusing the level.\n"
    "An OUT of \"-\" is standard output (not for play or export-tmx).\n"
    "No output may be an input, except a level saved over itself and merge's\n"
    "OUT over OURS. check --strict also fails warnings, settled objects, kept\n"
    "codes and bytes kept after the tile set. merge exits 0 merged, 1 with\n"
    "conflicts (listed on standard error; OUT holds ours there), 2 on errors.\n";

} // namespace

int main(int argc, char** argv) {
    using namespace krav::cli;
    if (argc < 2) {
        std::cerr << USAGE;
        return EXIT_USAGE;
    }
    const std::string command = argv[1];
    // --keep-unknown may stand anywhere after the command.
    Arguments args;
    bool keepUnknown = false;
    for (char** arg = argv + 2; arg != argv + argc; ++arg) {
        if (std::strcmp(*arg, "--keep-unknown") == 0)
            keepUnknown = true;
        else
            args.emplace_back(*arg);
    }
    if ((command == "--help" || command == "--version") && args.empty()) {
        std::cout << (command == "--help" ? USAGE : "krav-lvl " KRAV_VERSION "\n");
        return EXIT_OK;
    }
    if (keepUnknown && command == "import-tmx") {
        std::cerr << "krav-lvl import-tmx: --keep-unknown: a Tiled map holds no unknown codes\n";
        return EXIT_USAGE;
    }
    SetUnknownCodes(keepUnknown ? krav::UnknownCodes::Keep : krav::UnknownCodes::Refuse);
    int result = EXIT_USAGE;
    if (command == "info" && args.size() == 1)
        result = RunInfo(args);
    else if (command == "check" && !args.empty())
        result = RunCheck(args);
    else if (command == "resave" && args.size() == 2)
        result = RunResave(args);
    else if (command == "play" && args.size() == 3)
        result = RunPlay(args);
    else if (command == "render")
        result = RunRender(args);
    else if (command == "tileset" && args.size() == 2)
        result = RunTileset(args);
    else if (command == "import-tileset" && args.size() == 3)
        result = RunImportTileset(args);
    else if (command == "export-tmx" && args.size() == 2)
        result = RunExportTmx(args);
    else if (command == "import-tmx" && args.size() == 2)
        result = RunImportTmx(args);
    else if (command == "dump" && !args.empty())
        result = RunDump(args);
    else if (command == "diff" && args.size() == 2)
        result = RunDiff(args);
    else if (command == "undump")
        result = RunUndump(args);
    else if (command == "merge" && args.size() == 4)
        result = RunMerge(args);
    else
        std::cerr << USAGE;
    // What a command printed counts as much as the files it wrote (dump > /dev/full).
    errno = 0;
    if (!std::cout.flush()) {
        std::cerr << "krav-lvl: standard output: cannot be written ("
                  << std::strerror(errno != 0 ? errno : EIO) << ")\n";
        return EXIT_FAILED;
    }
    return result;
}
