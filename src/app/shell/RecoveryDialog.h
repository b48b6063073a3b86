#pragma once

#include "Prompt.h"
#include "shell/RecoveryStore.h"

#include <QDialog>
#include <QStringList>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace krav {

// What the user decided about the levels a crashed run left behind.
struct RecoveryDecision {
    enum class Action { Open, Discard, Later };
    Action action = Action::Later;
    QStringList ids; // the entries it applies to; the others stay for the next start
};

// Lists the recovered levels, all checked, and lets the user open or discard the checked
// ones, or leave everything for later (also what closing the dialog does).
class RecoveryDialog : public QDialog {
    Q_OBJECT
public:
    // Discarding is confirmed through prompt: it throws work away for good.
    RecoveryDialog(const std::vector<RecoveryEntry>& entries, Prompt& prompt,
                   QWidget* parent = nullptr);

    const RecoveryDecision& Decision() const { return m_decision; }

private:
    void Decide(RecoveryDecision::Action action);
    QStringList CheckedIds() const;
    void UpdateButtons();

    Prompt& m_prompt;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_discard = nullptr;
    RecoveryDecision m_decision;
};

} // namespace krav
