#pragma once

#include "Prompt.h"

#include <deque>
#include <ostream>
#include <string>
#include <vector>

namespace krav {

// The user's side without a display: keeps every message, question and beep, answers
// questions from queues, and with an echo stream also prints each as one line
// ("message: ..." with line breaks as \n, "beep: N"), which is what krav-lvl play shows.
class ScriptedPrompt : public Prompt {
public:
    // What a question gets when no answer is queued for it.
    enum class WhenUnanswered {
        Decline, // no, or cancel where it is offered: nothing destructive happens unasked
        Throw,   // std::logic_error: a test did not expect the question
    };

    explicit ScriptedPrompt(WhenUnanswered unanswered = WhenUnanswered::Decline,
                            std::ostream* echo = nullptr)
        : m_unanswered(unanswered), m_echo(echo) {}

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    // Takes a queued three-way answer first, then a queued yes or no.
    Answer AskYesNoCancel(const std::string& caption, const std::string& text) override;
    // A map view's beep; the view hosts pass them on.
    void Beep(int type);

    std::vector<std::string> messages; // every message and question, in order
    std::vector<int> beeps;
    std::deque<bool> answers;
    std::deque<Answer> threeWayAnswers;

private:
    void Unanswered(const std::string& text) const;

    WhenUnanswered m_unanswered;
    std::ostream* m_echo;
};

} // namespace krav
