#include "frame/ScriptedPrompt.h"

#include <stdexcept>

namespace krav {

namespace {
// One printed line per message, whatever it holds.
std::string OnOneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        if (c == '\n')
            line += "\\n";
        else
            line += c;
    }
    return line;
}
} // namespace

void ScriptedPrompt::ShowMessage(const std::string& text) {
    messages.push_back(text);
    if (m_echo)
        *m_echo << "message: " << OnOneLine(text) << '\n';
}

bool ScriptedPrompt::AskYesNo(const std::string&, const std::string& text) {
    ShowMessage(text);
    if (answers.empty()) {
        Unanswered(text);
        return false;
    }
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

Prompt::Answer ScriptedPrompt::AskYesNoCancel(const std::string& caption, const std::string& text) {
    if (!threeWayAnswers.empty()) {
        ShowMessage(text);
        const Answer answer = threeWayAnswers.front();
        threeWayAnswers.pop_front();
        return answer;
    }
    if (!answers.empty())
        return AskYesNo(caption, text) ? Answer::Yes : Answer::No;
    ShowMessage(text);
    Unanswered(text);
    return Answer::Cancel;
}

void ScriptedPrompt::Beep(int type) {
    beeps.push_back(type);
    if (m_echo)
        *m_echo << "beep: " << type << '\n';
}

void ScriptedPrompt::Unanswered(const std::string& text) const {
    if (m_unanswered == WhenUnanswered::Throw)
        throw std::logic_error("unexpected question: " + text);
}

} // namespace krav
