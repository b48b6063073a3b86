#include "shell/MessageBoxPrompt.h"

#include <QMessageBox>

namespace krav {

void MessageBoxPrompt::ShowMessage(const std::string& text) {
    QMessageBox::warning(m_parent, QStringLiteral("KRAV"), QString::fromStdString(text));
}

bool MessageBoxPrompt::AskYesNo(const std::string& caption, const std::string& text) {
    return QMessageBox::question(m_parent, QString::fromStdString(caption),
                                 QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

Prompt::Answer MessageBoxPrompt::AskYesNoCancel(const std::string& caption,
                                                const std::string& text) {
    const auto button = QMessageBox::question(
        m_parent, QString::fromStdString(caption), QString::fromStdString(text),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    return button == QMessageBox::Yes  ? Answer::Yes
           : button == QMessageBox::No ? Answer::No
                                       : Answer::Cancel;
}

} // namespace krav
