// krav-lvl export-tmx, import-tmx, dump and diff: levels for Tiled and for version control.
#include "Commands.h"
#include "LevelFiles.h"
#include "LevelText.h"
#include "OutputFiles.h"
#include "TmxExport.h"
#include "TmxImport.h"
#include "frame/ScriptedPrompt.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <iostream>

namespace krav::cli {

namespace {

// diff exits as diff(1) does: 0 same, 1 different, 2 trouble.
constexpr int DIFF_SAME = 0;
constexpr int DIFF_DIFFERENT = 1;
constexpr int DIFF_TROUBLE = 2;

// git runs the text conversion on every version of a level in history and stops at the first
// that fails, so a level that cannot be read is still described, by what identifies it. Cells
// of unknown codes are kept and listed: a history should show them, not hide the level.
int DumpForGit(const std::string& path, std::ostream& out) {
    CKRAVDoc doc;
    ScriptedPrompt prompt;
    if (doc.OnOpenDocument(path, prompt, UnknownCodes::Keep)) {
        DumpLevel(doc, out);
        return EXIT_OK;
    }
    std::string reason = prompt.messages.empty() ? "" : prompt.messages.back();
    std::replace(reason.begin(), reason.end(), '\n', ' ');
    out << "unreadable level: " << reason;
    // Only a regular file: opening a named pipe would wait for a writer.
    QFile file(QString::fromStdString(path));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly) && hash.addData(&file))
        out << "; " << file.size() << " bytes, sha256 " << hash.result().toHex().toStdString();
    out << '\n';
    return EXIT_OK;
}

} // namespace

int RunExportTmx(const Arguments& args) {
    Arguments outputs;
    for (const QString& path : ExportTmxFiles(QString::fromStdString(args[1])))
        outputs.push_back(path.toStdString());
    if (!OutputsSpareInputs({args[0]}, outputs))
        return EXIT_FAILED;
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
    Arguments inputs = imported.read;
    inputs.push_back(in);
    if (!OutputsSpareInputs(inputs, {args[1]}))
        return EXIT_FAILED;
    for (const auto& note : imported.notes)
        std::cerr << "krav-lvl: " << in << ": " << note << '\n';
    return WriteOutput(args[1], imported.level) ? EXIT_OK : EXIT_FAILED;
}

int RunDump(const Arguments& args) {
    const bool textconv = args.size() == 2 && args[0] == "--textconv";
    if (args.size() != 1 && !textconv) {
        std::cerr << "usage: krav-lvl dump [--textconv] LEVEL\n";
        return EXIT_USAGE;
    }
    if (textconv)
        return DumpForGit(args[1], std::cout);
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
