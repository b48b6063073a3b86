#include "LevelFiles.h"

#include "OutputFiles.h"
#include "document/FileErrors.h"
#include "frame/ScriptedPrompt.h"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <sstream>
#include <sys/stat.h>

namespace krav::cli {

namespace {
UnknownCodes g_unknownCodes = UnknownCodes::Refuse;
} // namespace

void SetUnknownCodes(UnknownCodes unknown) {
    g_unknownCodes = unknown;
}

UnknownCodes LevelUnknownCodes() {
    return g_unknownCodes;
}

bool ReadLevelFile(CKRAVDoc& doc, const std::string& path, std::vector<std::string>& warnings) {
    ScriptedPrompt prompt;
    if (doc.OnOpenDocument(path, prompt, g_unknownCodes)) {
        warnings = std::move(prompt.messages);
        return true;
    }
    // A script running several commands must be able to tell which level failed.
    for (const auto& text : prompt.messages)
        std::cerr << "krav-lvl: " << path << ": " << text << '\n';
    return false;
}

void PrintWarnings(const std::string& path, const std::vector<std::string>& warnings) {
    for (const auto& text : warnings)
        std::cerr << "krav-lvl: " << path << ": warning: " << text << '\n';
}

std::optional<std::string> ReadWholeFile(const std::string& path, const std::string& words) {
    // A directory opens as a stream that merely reads nothing, which would pass for an empty
    // file.
    struct stat info {};
    int error = ::stat(path.c_str(), &info) != 0 ? errno : 0;
    if (error == 0 && S_ISDIR(info.st_mode))
        error = EISDIR;
    std::ifstream in;
    if (error == 0) {
        in.open(path, std::ios::binary);
        error = in ? 0 : (errno != 0 ? errno : EIO);
    }
    std::ostringstream text;
    if (error == 0 && !(text << in.rdbuf()) && in.bad())
        error = errno != 0 ? errno : EIO;
    if (error != 0) {
        PrintFileError(path, words, SystemReason(error));
        return std::nullopt;
    }
    return text.str();
}

} // namespace krav::cli
