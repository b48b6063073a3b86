// krav-lvl tileset and import-tileset: a level's tile set out as a BMP, and in from a BMP, a
// level or a picture.
#include "Commands.h"
#include "LevelFiles.h"
#include "TileSetPictureFile.h"
#include "document/AtomicFile.h"
#include "document/TileSetChooser.h"
#include "document/TileSetExport.h"

#include <iostream>

namespace krav::cli {

namespace {

bool WriteOut(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (WriteFileAtomically(path, bytes) == SaveError::None)
        return true;
    std::cerr << "krav-lvl: " << path << ": cannot be written\n";
    return false;
}

// Each "\n" of a message as a line break, as the editor shows it.
void PrintRefusal(const std::string& path, const std::string& reason) {
    std::cerr << "krav-lvl: " << path << ": " << reason << '\n';
}

} // namespace

int RunTileset(const Arguments& args) {
    CKRAVDoc doc;
    std::vector<std::string> warnings;
    if (!ReadLevelFile(doc, args[0], warnings))
        return EXIT_FAILED;
    return WriteOut(args[1], TileSetBmpFile(*doc.GetTileSet())) ? EXIT_OK : EXIT_FAILED;
}

int RunImportTileset(const Arguments& args) {
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
    return WriteOut(args[2], doc.Serialize()) ? EXIT_OK : EXIT_FAILED;
}

} // namespace krav::cli
