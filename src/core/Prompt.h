#pragma once

#include <string>

namespace krav {

// How the core speaks to the user. The editor shows message boxes (caption "KRAV"),
// krav-lvl prints, and tests record and answer with a scripted fake.
class Prompt {
public:
    virtual ~Prompt() = default;

    // An OK box with the exclamation icon.
    virtual void ShowMessage(const std::string& text) = 0;

    // A yes/no question; true for yes.
    virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;

    // A question that may also be cancelled (saving before closing).
    enum class Answer { Yes, No, Cancel };
    virtual Answer AskYesNoCancel(const std::string& caption, const std::string& text) {
        return AskYesNo(caption, text) ? Answer::Yes : Answer::No;
    }
};

} // namespace krav
