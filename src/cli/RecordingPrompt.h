#pragma once

#include "Prompt.h"

#include <string>
#include <vector>

namespace krav::cli {

// Keeps what the reader would have shown, so each command can print it its own way.
class RecordingPrompt final : public Prompt {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string&, const std::string& text) override {
        messages.push_back(text);
        return false;
    }

    std::vector<std::string> messages;
};

} // namespace krav::cli
