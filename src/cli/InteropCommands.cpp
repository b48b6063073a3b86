// krav-lvl export-tmx, import-tmx, dump and diff: levels for Tiled and for version control.
#include "Commands.h"
#include "LevelFiles.h"
#include "LevelText.h"
#include "TmxExport.h"
#include "TmxImport.h"
#include "document/AtomicFile.h"

#include <QString>
#include <iostream>

namespace krav::cli {

namespace {

// diff exits as diff(1) does: 0 same, 1 different, 2 trouble.
constexpr int DIFF_SAME = 0;
constexpr int DIFF_DIFFERENT = 1;
constexpr int DIFF_TROUBLE = 2;

void PrintWarnings(const std::string& path, const std::vector<std::string>& warnings) {
    for (const auto& text : warnings)
        std::cerr << "krav-lvl: " << path << ": warning: " << text << '\n';
}

} // namespace

int RunExportTmx(const Arguments& args) {
    CKRAVDoc doc;
    std::vector<std::string> warnings;
    if (!ReadLevelFile(doc, args[0], warnings))
        return EXIT_FAILED;
    PrintWarnings(args[0], warnings);
    const std::string error = ExportTmx(doc, QString::fromStdString(args[1]));
    if (!error.empty()) {
        std::cerr << "krav-lvl: " << error << '\n';
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

int RunImportTmx(const Arguments& args) {
    const std::string& in = args[0];
    const TmxImportResult imported = ImportTmx(QString::fromStdString(in));
    if (!imported.error.empty()) {
        std::cerr << "krav-lvl: " << in << ": " << imported.error << '\n';
        return EXIT_FAILED;
    }
    for (const auto& note : imported.notes)
        std::cerr << "krav-lvl: " << in << ": " << note << '\n';
    if (WriteFileAtomically(args[1], imported.level) != SaveError::None) {
        std::cerr << "krav-lvl: " << args[1] << ": cannot be written\n";
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

int RunDump(const Arguments& args) {
    CKRAVDoc doc;
    std::vector<std::string> warnings;
    if (!ReadLevelFile(doc, args[0], warnings))
        return EXIT_FAILED;
    DumpLevel(doc, std::cout);
    return EXIT_OK;
}

int RunDiff(const Arguments& args) {
    CKRAVDoc a, b;
    std::vector<std::string> warnings;
    if (!ReadLevelFile(a, args[0], warnings) || !ReadLevelFile(b, args[1], warnings))
        return DIFF_TROUBLE;
    return DiffLevels(a, b, std::cout) ? DIFF_DIFFERENT : DIFF_SAME;
}

} // namespace krav::cli
