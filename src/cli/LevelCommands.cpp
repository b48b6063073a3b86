// krav-lvl info, check and resave: reading and writing levels as the editor's Open and Save do.
#include "Commands.h"
#include "LevelFiles.h"
#include "OutputFiles.h"
#include "document/CKRAVDoc.h"
#include "document/KeptCells.h"
#include "document/StrictFindings.h"
#include "frame/ScriptedPrompt.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace krav::cli {

namespace {

std::string OnOneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// Records stand from the end of the embedded BMP (its bfSize) to the end of the file.
std::uint64_t RecordsInFile(const std::string& path, const CKRAVDoc& doc) {
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(path, error);
    const std::uint64_t start = doc.IsDefaultTileSet() ? 0 : doc.GetTileSet()->FileSize();
    return error || start >= size ? 0 : (size - start) / 4;
}

} // namespace

int RunInfo(const Arguments& args) {
    const std::string& path = args[0];
    CKRAVDoc doc;
    std::vector<std::string> warnings;
    if (!ReadLevelFile(doc, path, warnings))
        return EXIT_FAILED;
    int cells = 0, flagCells = 0, objects = 0;
    for (int i = 0; i < MAP_CELLS; ++i) {
        const Cell v = doc.GetCells()[i];
        cells += v != EMPTY_CELL;
        flagCells += v == FLAG_CELL;
        objects += ObjectSide(v) != 0; // anchors only
    }
    std::cout << "tileset: " << (doc.IsDefaultTileSet() ? "built-in" : "embedded") << '\n'
              << "records: " << RecordsInFile(path, doc) << '\n'
              << "cells: " << cells << '\n'
              << "flags: " << doc.GetFlagCount() << '\n'
              << "flag-cells: " << flagCells << '\n'
              << "objects: " << objects << '\n';
    // Only levels read with --keep-unknown have any.
    if (const KeptCellCount kept = CountKeptCells(doc.GetCells()); kept.cells > 0)
        std::cout << "unknown: " << kept.cells << " (" << CodeList(kept.codes) << ")\n";
    for (const auto& text : warnings)
        std::cout << "warning: " << text << '\n';
    return EXIT_OK;
}

int RunCheck(const Arguments& args) {
    // --strict also fails what Open warns about, settles or keeps in silence.
    const bool strict = std::find(args.begin(), args.end(), "--strict") != args.end();
    if (strict && args.size() == 1) {
        std::cerr << "usage: krav-lvl check [--strict] LEVEL...\n";
        return EXIT_USAGE;
    }
    int result = EXIT_OK;
    for (const auto& path : args) {
        if (path == "--strict")
            continue;
        CKRAVDoc doc;
        ScriptedPrompt prompt;
        const bool read = doc.OnOpenDocument(path, prompt, LevelUnknownCodes());
        std::vector<std::string> faults;
        if (read && strict) {
            faults = prompt.messages; // the warnings
            for (std::string& text : StrictFindings(doc))
                faults.push_back(std::move(text));
        }
        if (read && faults.empty()) {
            std::cout << path << ": ok\n";
            continue;
        }
        std::cout << path << ": ";
        if (!read)
            std::cout << OnOneLine(prompt.messages.empty() ? "" : prompt.messages.back());
        else
            for (std::size_t i = 0; i < faults.size(); ++i)
                std::cout << (i == 0 ? "strict: " : "; ") << OnOneLine(faults[i]);
        std::cout << '\n';
        result = EXIT_FAILED;
    }
    return result;
}

int RunResave(const Arguments& args) {
    const std::string& out = args[1];
    CKRAVDoc doc;
    std::vector<std::string> warnings;
    if (!ReadLevelFile(doc, args[0], warnings))
        return EXIT_FAILED;
    for (const auto& text : warnings)
        std::cerr << "warning: " << text << '\n';
    if (out == "-")
        return WriteOutput(out, doc.Serialize()) ? EXIT_OK : EXIT_FAILED;
    ScriptedPrompt savePrompt;
    if (!doc.OnSaveDocument(out, savePrompt)) {
        for (const auto& text : savePrompt.messages)
            std::cerr << "krav-lvl: " << out << ": " << text << '\n';
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

} // namespace krav::cli
