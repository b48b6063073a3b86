#include "LevelFiles.h"

#include "frame/ScriptedPrompt.h"

#include <iostream>

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

} // namespace krav::cli
