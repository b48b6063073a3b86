#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace krav {

// One command of the menus, toolbars and keys: its id, menu text, keys, status-bar prompt,
// tooltip and toolbar picture.
struct CommandInfo {
    int id;
    QString text;     // menu entry, with & marking the mnemonic and \t the shown key
    QStringList keys; // QKeySequence strings; the first one is shown in the menu
    QString prompt;   // shown in the status bar's message pane while the entry is highlighted
    QString tooltip;
    QString icon; // toolbar picture alias in the resources, or empty
};

// Every command the main frame knows, in no particular order.
const std::vector<CommandInfo>& CommandTable();
const CommandInfo* FindCommand(int id);

} // namespace krav
