#include "LevelFiles.h"

#include "frame/ScriptedPrompt.h"

#include <iostream>

namespace krav::cli {

bool ReadLevelFile(CKRAVDoc& doc, const std::string& path, std::vector<std::string>& warnings) {
    ScriptedPrompt prompt;
    if (doc.OnOpenDocument(path, prompt)) {
        warnings = std::move(prompt.messages);
        return true;
    }
    // A script running several commands must be able to tell which level failed.
    for (const auto& text : prompt.messages)
        std::cerr << "krav-lvl: " << path << ": " << text << '\n';
    return false;
}

} // namespace krav::cli
