// krav-lvl undump TEXT OUT [--tileset LEVEL|BMP]: a level's text, as dump prints it, back into
// a level file.
#include "Commands.h"
#include "LevelFiles.h"
#include "LevelText.h"
#include "LevelTextReader.h"
#include "OutputFiles.h"
#include "TileSetPictureFile.h"
#include "document/LevelWriter.h"
#include "document/TileSetChooser.h"

#include <iostream>

namespace krav::cli {

namespace {

constexpr const char* UNDUMP_USAGE = "usage: krav-lvl undump TEXT OUT [--tileset LEVEL|BMP]\n";

// The tile set --tileset names, handed to doc; false after saying why there is none.
bool TakeTileSet(const std::string& path, CKRAVDoc& doc) {
    TileSetChooser chooser(ReadTileSetPicture);
    chooser.Select(path);
    if (chooser.Choice() != TILESET_IMPORTED && chooser.Choice() != TILESET_BUILTIN) {
        std::cerr << "krav-lvl: " << path << ": " << chooser.Reason() << '\n';
        return false;
    }
    chooser.ApplyTo(doc);
    return true;
}

// Whether the tile set at hand is the one the text names; says why not.
bool TileSetFits(const LevelTextRead& read, const CKRAVDoc& doc, const std::string& textPath,
                 const std::string& tileSetPath) {
    const std::string where = "krav-lvl: " + textPath + ":1: ";
    if (!read.embeddedTileSet) {
        if (!doc.IsDefaultTileSet())
            std::cerr << where << "the level has the built-in tile set, but --tileset "
                      << tileSetPath << " gives one of its own\n";
        return doc.IsDefaultTileSet();
    }
    if (tileSetPath.empty()) {
        std::cerr << where << "the level has a tile set of its own: give it with --tileset "
                  << "LEVEL|BMP\n";
        return false;
    }
    if (doc.IsDefaultTileSet()) {
        std::cerr << "krav-lvl: " << tileSetPath << ": gives the built-in tile set, but the "
                  << "level in " << textPath << " has one of its own\n";
        return false;
    }
    const std::string sha256 = TileSetSha256(*doc.GetTileSet());
    if (!read.sha256.empty() && sha256 != read.sha256) {
        std::cerr << "krav-lvl: " << tileSetPath << ": its tile set has sha256 " << sha256
                  << ", not the " << read.sha256 << " of " << textPath << '\n';
        return false;
    }
    return true;
}

} // namespace

int RunUndump(const Arguments& args) {
    Arguments files;
    std::string tileSetPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--tileset" && i + 1 < args.size() && tileSetPath.empty())
            tileSetPath = args[++i];
        else
            files.push_back(args[i]);
    }
    if (files.size() != 2 || (tileSetPath.empty() && args.size() != 2)) {
        std::cerr << UNDUMP_USAGE;
        return EXIT_USAGE;
    }
    const std::string &textPath = files[0], &out = files[1];
    Arguments inputs{textPath};
    if (!tileSetPath.empty())
        inputs.push_back(tileSetPath);
    if (!OutputsSpareInputs(inputs, {out}))
        return EXIT_FAILED;
    const std::optional<std::string> text = ReadWholeFile(textPath, "cannot be read");
    if (!text)
        return EXIT_FAILED;
    const LevelTextRead read = ReadLevelText(*text, LevelUnknownCodes() == UnknownCodes::Keep);
    if (!read.error.empty()) {
        std::cerr << "krav-lvl: " << textPath;
        if (read.errorLine > 0)
            std::cerr << ':' << read.errorLine;
        std::cerr << ": " << read.error << '\n';
        return EXIT_FAILED;
    }
    CKRAVDoc level; // only its tile set: the built-in one unless --tileset gives another
    if (!tileSetPath.empty() && !TakeTileSet(tileSetPath, level))
        return EXIT_FAILED;
    if (!TileSetFits(read, level, textPath, tileSetPath))
        return EXIT_FAILED;
    const std::vector<std::uint8_t> bytes =
        WriteLevel(read.cells.data(), level.IsDefaultTileSet() ? nullptr : level.GetTileSet());
    return WriteOutput(out, bytes) ? EXIT_OK : EXIT_FAILED;
}

} // namespace krav::cli
