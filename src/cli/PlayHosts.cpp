#include "PlayHosts.h"

namespace krav::cli {

namespace {
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}
} // namespace

void PlayPrompt::ShowMessage(const std::string& text) {
    m_out << "message: " << Escaped(text) << '\n';
}

bool PlayPrompt::AskYesNo(const std::string&, const std::string& text) {
    ShowMessage(text);
    if (m_answers.empty())
        return false;
    const bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

Prompt::Answer PlayPrompt::AskYesNoCancel(const std::string& caption, const std::string& text) {
    if (m_answers.empty()) {
        ShowMessage(text);
        return Answer::Cancel;
    }
    return AskYesNo(caption, text) ? Answer::Yes : Answer::No;
}

void PlayFrame::ShowPalette(PaletteWindow palette, bool show) {
    if (show)
        m_visible.insert(palette);
    else
        m_visible.erase(palette);
}

} // namespace krav::cli
