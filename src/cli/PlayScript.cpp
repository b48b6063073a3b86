#include "PlayScript.h"

#include "frame/Accelerators.h"

#include <charconv>
#include <map>
#include <sstream>

namespace krav::cli {

namespace {

using Words = std::vector<std::string>;

struct ParseError {
    std::string what;
};

Words SplitWords(const std::string& line) {
    Words words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::int64_t Number(const std::string& word) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size())
        throw ParseError{"not a number: " + word};
    return value;
}

int Int(const std::string& word) {
    return static_cast<int>(Number(word));
}

void NeedWords(const Words& words, std::size_t least, std::size_t most) {
    if (words.size() < least || words.size() > most)
        throw ParseError{"wrong number of words for " + words[0]};
}

bool Button(const std::string& word) {
    if (word == "left")
        return true;
    if (word == "right")
        return false;
    throw ParseError{"expected left or right: " + word};
}

// Modifier words after the fixed ones: shift, ctrl, and (for move) left and right.
void Modifiers(const Words& words, std::size_t from, PlayStep& step, bool buttonsAllowed) {
    for (std::size_t i = from; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "shift")
            step.shift = true;
        else if (word == "ctrl")
            step.ctrl = true;
        else if (buttonsAllowed && word == "left")
            step.left = true;
        else if (buttonsAllowed && word == "right")
            step.right = true;
        else
            throw ParseError{"unknown modifier: " + word};
    }
}

ViewKey KeyNamed(const std::string& name) {
    static const std::map<std::string, ViewKey> keys = {
        {"escape", ViewKey::Escape}, {"tab", ViewKey::Tab},
        {"pageup", ViewKey::PageUp}, {"pagedown", ViewKey::PageDown},
        {"left", ViewKey::Left},     {"up", ViewKey::Up},
        {"right", ViewKey::Right},   {"down", ViewKey::Down},
        {"home", ViewKey::Home},     {"end", ViewKey::End}};
    const auto found = keys.find(name);
    if (found == keys.end())
        throw ParseError{"unknown key: " + name};
    return found->second;
}

// Splits "expect-text PANE TEXT" keeping TEXT exactly (spaces included) after one separator.
std::string RestAfterWords(const std::string& line, int words) {
    std::size_t at = 0;
    for (int i = 0; i < words; ++i) {
        at = line.find_first_not_of(" \t", at);
        at = line.find_first_of(" \t", at);
        if (at == std::string::npos)
            return {};
    }
    return line.substr(at + 1);
}

PlayStep ParseLine(const std::string& line) {
    const Words w = SplitWords(line);
    const std::string& verb = w[0];
    PlayStep s;
    using K = PlayStep::Kind;
    if (verb == "size") {
        NeedWords(w, 3, 3);
        s = {.kind = K::Size, .a = Int(w[1]), .b = Int(w[2])};
        if (s.a < 1 || s.b < 1 || s.a > 16384 || s.b > 16384)
            throw ParseError{"size out of range"};
    } else if (verb == "tool" || verb == "command") {
        NeedWords(w, 2, 2);
        s = {.kind = verb == "tool" ? K::Tool : K::Command, .a = Int(w[1])};
    } else if (verb == "answer") {
        NeedWords(w, 2, 2);
        if (w[1] != "yes" && w[1] != "no")
            throw ParseError{"expected yes or no: " + w[1]};
        s = {.kind = K::Answer, .yes = w[1] == "yes"};
    } else if (verb == "tile") {
        NeedWords(w, 3, 3);
        if (w[1] != "fore" && w[1] != "back")
            throw ParseError{"expected fore or back: " + w[1]};
        s = {.kind = K::Tile, .a = Int(w[2]), .yes = w[1] == "fore"};
        if (s.a < 0 || s.a >= 190)
            throw ParseError{"no such tile: " + w[2]};
    } else if (verb == "object") {
        NeedWords(w, 2, 2);
        s = {.kind = K::Object, .a = Int(w[1])};
        if (s.a != 500 && s.a != 600 && s.a != 700 && s.a != 800)
            throw ParseError{"no such object: " + w[1]};
    } else if (verb == "down" || verb == "up") {
        NeedWords(w, 4, 6);
        s = {.kind = verb == "down" ? K::Down : K::Up, .a = Int(w[2]), .b = Int(w[3])};
        (Button(w[1]) ? s.left : s.right) = true;
        Modifiers(w, 4, s, false);
    } else if (verb == "move") {
        NeedWords(w, 3, 7);
        s = {.kind = K::Move, .a = Int(w[1]), .b = Int(w[2])};
        Modifiers(w, 3, s, true);
    } else if (verb == "dblclick") {
        NeedWords(w, 4, 4);
        s = {.kind = K::DoubleClick, .a = Int(w[2]), .b = Int(w[3])};
        (Button(w[1]) ? s.left : s.right) = true;
    } else if (verb == "key") {
        NeedWords(w, 2, 4);
        s = {.kind = K::Key, .key = KeyNamed(w[1])};
        Modifiers(w, 2, s, false);
    } else if (verb == "wheel") {
        NeedWords(w, 4, 6);
        s = {.kind = K::Wheel, .a = Int(w[1]), .b = Int(w[2]), .c = Int(w[3])};
        Modifiers(w, 4, s, false);
    } else if (verb == "tick") {
        NeedWords(w, 4, 4);
        s = {.kind = K::Tick, .a = Int(w[1]), .b = Int(w[2]), .c = Int(w[3])};
    } else if (verb == "new") {
        NeedWords(w, 1, 1);
        s = {.kind = K::New};
    } else if (verb == "view") {
        NeedWords(w, 2, 2);
        s = {.kind = K::View, .a = Int(w[1])};
    } else if (verb == "save") {
        NeedWords(w, 2, 2);
        s = {.kind = K::Save, .text = w[1]};
    } else if (verb == "close") {
        NeedWords(w, 1, 1);
        s = {.kind = K::Close};
    } else if (verb == "accel") {
        NeedWords(w, 2, 2);
        s = {.kind = K::Accel, .a = CommandOfKeys(w[1])};
        if (s.a == 0)
            throw ParseError{"no command has the keys " + w[1]};
    } else if (verb == "expect-cell") {
        NeedWords(w, 4, 4);
        s = {.kind = K::ExpectCell, .a = Int(w[1]), .b = Int(w[2]), .value = Number(w[3])};
    } else if (verb == "expect-flags") {
        NeedWords(w, 2, 2);
        s = {.kind = K::ExpectFlags, .a = Int(w[1])};
    } else if (verb == "expect-text") {
        if (w.size() < 2)
            throw ParseError{"expect-text needs a pane"};
        s = {.kind = K::ExpectText, .a = Int(w[1]), .text = RestAfterWords(line, 2)};
        if (s.a < 1 || s.a > 5)
            throw ParseError{"no such pane: " + w[1]};
    } else if (verb == "print") {
        if (w.size() >= 2 && w[1] == "cell") {
            NeedWords(w, 4, 4);
            s = {.kind = K::PrintCell, .a = Int(w[2]), .b = Int(w[3])};
        } else if (w.size() == 2 && w[1] == "flags") {
            s = {.kind = K::PrintFlags};
        } else if (w.size() == 2 && w[1] == "status") {
            s = {.kind = K::PrintStatus};
        } else if (w.size() == 2 && w[1] == "checks") {
            s = {.kind = K::PrintChecks};
        } else if (w.size() == 2 && w[1] == "modified") {
            s = {.kind = K::PrintModified};
        } else {
            throw ParseError{
                "print cell X Y, print flags, print status, print checks or print modified"};
        }
    } else {
        throw ParseError{"unknown command: " + verb};
    }
    if ((s.kind == K::ExpectCell || s.kind == K::PrintCell) &&
        (s.a < 0 || s.a > 1023 || s.b < 0 || s.b > 1023))
        throw ParseError{"no such cell"};
    return s;
}

} // namespace

PlayScript ParsePlayScript(std::istream& in) {
    PlayScript script;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (SplitWords(line).empty())
            continue;
        try {
            PlayStep step = ParseLine(line);
            step.line = number;
            script.steps.push_back(std::move(step));
        } catch (const ParseError& error) {
            script.error = std::to_string(number) + ": " + error.what;
            script.steps.clear();
            return script;
        }
    }
    return script;
}

} // namespace krav::cli
