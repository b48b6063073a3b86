#pragma once

#include "Prompt.h"

class QWidget;

namespace krav {

// Shows the core's messages in message boxes captioned "KRAV", and asks its questions.
class MessageBoxPrompt final : public Prompt {
public:
    explicit MessageBoxPrompt(QWidget* parent) : m_parent(parent) {}

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    Answer AskYesNoCancel(const std::string& caption, const std::string& text) override;

private:
    QWidget* m_parent;
};

// Passes everything on to another prompt; tests swap the message boxes for a scripted fake.
class ForwardingPrompt final : public Prompt {
public:
    explicit ForwardingPrompt(Prompt& target) : m_target(&target) {}
    void SetTarget(Prompt& target) { m_target = &target; }

    void ShowMessage(const std::string& text) override { m_target->ShowMessage(text); }
    bool AskYesNo(const std::string& caption, const std::string& text) override {
        return m_target->AskYesNo(caption, text);
    }
    Answer AskYesNoCancel(const std::string& caption, const std::string& text) override {
        return m_target->AskYesNoCancel(caption, text);
    }

private:
    Prompt* m_target;
};

} // namespace krav
