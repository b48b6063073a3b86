#include "shell/RecoveryDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace krav {

namespace {

enum Column { TITLE, FILE, SAVED, COLUMNS };

QString SavedText(const QDateTime& savedAt) {
    return QLocale().toString(savedAt.toLocalTime(), QLocale::ShortFormat);
}

} // namespace

RecoveryDialog::RecoveryDialog(const std::vector<RecoveryEntry>& entries, Prompt& prompt,
                               QWidget* parent)
    : QDialog(parent), m_prompt(prompt) {
    setObjectName(QStringLiteral("RecoveryDialog"));
    setWindowTitle(QStringLiteral("Recover Levels"));
    auto* text = new QLabel(QStringLiteral(
        "KRAV did not close properly last time. These levels had changes that were not saved; "
        "their automatic copies can be opened now.\n"
        "Opened levels keep their file: nothing is written to it until you save."));
    text->setWordWrap(true);

    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("RecoveryList"));
    m_list->setColumnCount(COLUMNS);
    m_list->setHeaderLabels(
        {QStringLiteral("Level"), QStringLiteral("File"), QStringLiteral("Saved")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    for (const RecoveryEntry& entry : entries) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(TITLE, entry.title);
        item->setText(FILE, entry.originalPath.isEmpty() ? QStringLiteral("(never saved)")
                                                         : entry.originalPath);
        item->setToolTip(FILE, item->text(FILE));
        item->setText(SAVED, SavedText(entry.savedAt));
        item->setData(TITLE, Qt::UserRole, entry.id);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(TITLE, Qt::Checked);
    }
    for (int column = 0; column < COLUMNS; ++column)
        m_list->resizeColumnToContents(column);
    connect(m_list, &QTreeWidget::itemChanged, this, &RecoveryDialog::UpdateButtons);

    auto* buttons = new QDialogButtonBox;
    m_open = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::AcceptRole);
    m_discard = buttons->addButton(QStringLiteral("&Discard"), QDialogButtonBox::DestructiveRole);
    QPushButton* later = buttons->addButton(QStringLiteral("&Later"), QDialogButtonBox::RejectRole);
    m_open->setObjectName(QStringLiteral("Open"));
    m_discard->setObjectName(QStringLiteral("Discard"));
    later->setObjectName(QStringLiteral("Later"));
    m_open->setDefault(true);
    m_open->setToolTip(QStringLiteral("Open the checked levels"));
    m_discard->setToolTip(QStringLiteral("Delete the copies of the checked levels"));
    later->setToolTip(QStringLiteral("Keep every copy and ask again at the next start"));
    connect(m_open, &QPushButton::clicked, this,
            [this] { Decide(RecoveryDecision::Action::Open); });
    connect(m_discard, &QPushButton::clicked, this,
            [this] { Decide(RecoveryDecision::Action::Discard); });
    connect(later, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(620, 300);
}

QStringList RecoveryDialog::CheckedIds() const {
    QStringList ids;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (item->checkState(TITLE) == Qt::Checked)
            ids.append(item->data(TITLE, Qt::UserRole).toString());
    }
    return ids;
}

void RecoveryDialog::UpdateButtons() {
    const bool any = !CheckedIds().isEmpty();
    m_open->setEnabled(any);
    m_discard->setEnabled(any);
}

void RecoveryDialog::Decide(RecoveryDecision::Action action) {
    const QStringList ids = CheckedIds();
    if (ids.isEmpty())
        return;
    if (action == RecoveryDecision::Action::Discard &&
        !m_prompt.AskYesNo("KRAV", "Discard the checked levels? Their unsaved changes will be "
                                   "lost for good."))
        return;
    m_decision = {action, ids};
    accept();
}

} // namespace krav
