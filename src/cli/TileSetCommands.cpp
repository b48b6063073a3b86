// krav-lvl tileset and import-tileset: a level's tile set out as a BMP, and in from a BMP, a
// level or a picture.
#include "Commands.h"
#include "LevelFiles.h"
#include "OutputFiles.h"
#include "TileSetPictureFile.h"
#include "document/TileSetChooser.h"
#include "document/TileSetExport.h"

#include <iostream>

namespace krav::cli {

namespace {

// Each "\n" of a message as a line break, as the editor shows it.
void PrintRefusal(const std::string& path, const std::string& reason) {
    std::cerr << "krav-lvl: " << path << ": " << reason << '\n';
}

} // namespace

int RunTileset(const Arguments& args) {
    if (!OutputsSpareInputs({args[0]}, {args[1]}))
        return EXIT_FAILED;
    CKRAVDoc doc;
    std::vector<std::string> warnings;
    if (!ReadLevelFile(doc, args[0], warnings))
        return EXIT_FAILED;
    return WriteOutput(args[1], TileSetBmpFile(*doc.GetTileSet())) ? EXIT_OK : EXIT_FAILED;
}

int RunImportTileset(const Arguments& args) {
    // OUT may be LEVEL itself, as when the editor imports a tile set and saves.
    if (!OutputsSpareInputs({args[1]}, {args[2]}, args[0]))
        return EXIT_FAILED;
    CKRAVDoc doc;
    std::vector<std::string> warnings;
    if (!ReadLevelFile(doc, args[0], warnings))
        return EXIT_FAILED;
    TileSetChooser chooser(ReadTileSetPicture);
    chooser.Select(args[1]);
    if (chooser.Choice() != TILESET_IMPORTED && chooser.Choice() != TILESET_BUILTIN) {
        PrintRefusal(args[1], chooser.Reason());
        return EXIT_FAILED;
    }
    chooser.ApplyTo(doc);
    return WriteOutput(args[2], doc.Serialize()) ? EXIT_OK : EXIT_FAILED;
}

} // namespace krav::cli
