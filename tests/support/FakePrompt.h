#pragma once

#include "Prompt.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace krav::test {

// Records messages; answers questions from a script and fails the test on an unexpected one.
class FakePrompt final : public Prompt {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string&, const std::string& text) override {
        if (answers.empty()) throw std::logic_error("unexpected question: " + text);
        messages.push_back(text);
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    Answer AskYesNoCancel(const std::string&, const std::string& text) override {
        if (threeWayAnswers.empty()) throw std::logic_error("unexpected question: " + text);
        messages.push_back(text);
        const Answer answer = threeWayAnswers.front();
        threeWayAnswers.pop_front();
        return answer;
    }

    std::vector<std::string> messages;
    std::deque<bool> answers;
    std::deque<Answer> threeWayAnswers;
};

} // namespace krav::test
