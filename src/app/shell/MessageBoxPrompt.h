#pragma once

#include "Prompt.h"

class QWidget;

namespace krav {

// Shows the core's messages in message boxes captioned "KRAV".
class MessageBoxPrompt final : public Prompt {
public:
    explicit MessageBoxPrompt(QWidget* parent) : m_parent(parent) {}

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;

private:
    QWidget* m_parent;
};

} // namespace krav
