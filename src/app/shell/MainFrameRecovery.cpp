// The main frame's crash recovery: the autosave of modified levels, dropping a copy once its
// level is saved or closed, and offering what a crashed run left behind.
#include "document/CKRAVDoc.h"
#include "shell/CChildFrame.h"
#include "shell/CKRAVApp.h"
#include "shell/CMainFrame.h"
#include "shell/RecoveryDialog.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <string_view>

namespace krav {

namespace {

constexpr int DEFAULT_AUTOSAVE_SECONDS = 120;
constexpr int LONGEST_AUTOSAVE_SECONDS = 24 * 60 * 60;

std::size_t HashOf(const std::vector<std::uint8_t>& bytes) {
    return std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace

void CMainFrame::StartAutosave() {
    const int seconds =
        CKRAVApp::Profile()
            ->value(QStringLiteral("Autosave/IntervalSeconds"), DEFAULT_AUTOSAVE_SECONDS)
            .toInt();
    m_autosaveTimer = new QTimer(this);
    connect(m_autosaveTimer, &QTimer::timeout, this, &CMainFrame::AutosaveNow);
    // 0 (or less) turns the autosave off.
    if (seconds > 0)
        m_autosaveTimer->start(std::min(seconds, LONGEST_AUTOSAVE_SECONDS) * 1000);
}

void CMainFrame::AutosaveNow() {
    for (CChildFrame* child : ChildFrames()) {
        const CKRAVDoc& doc = child->Document();
        if (!doc.IsModified()) {
            DropRecoveryCopy(child);
            continue;
        }
        const std::vector<std::uint8_t> bytes = doc.Serialize();
        const std::size_t hash = HashOf(bytes);
        RecoveryCopy& copy = m_recoveryCopies[child];
        if (!copy.id.isEmpty() && copy.hash == hash)
            continue;
        if (copy.id.isEmpty())
            copy.id = m_recovery.NewId();
        const QString title = QString::fromStdString(doc.GetTitle());
        if (m_recovery.Write(copy.id, QString::fromStdString(doc.GetPathName()), title, bytes))
            copy.hash = hash;
        else
            statusBar()->showMessage(QStringLiteral("Could not keep a recovery copy of ") + title,
                                     10000);
    }
}

void CMainFrame::DropRecoveryCopy(CChildFrame* child) {
    const auto it = m_recoveryCopies.constFind(child);
    if (it == m_recoveryCopies.cend())
        return;
    m_recovery.Remove(it->id);
    m_recoveryCopies.erase(it);
}

int CMainFrame::OfferRecovery() {
    return OfferRecovery([this](const std::vector<RecoveryEntry>& entries) {
        RecoveryDialog dialog(entries, m_prompt, this);
        dialog.exec();
        return dialog.Decision();
    });
}

int CMainFrame::OfferRecovery(const RecoveryChooser& choose) {
    const std::vector<RecoveryEntry> left = m_recovery.LeftOver();
    if (left.empty())
        return 0;
    const RecoveryDecision decision = choose(left);
    int opened = 0;
    for (const RecoveryEntry& entry : left) {
        if (!decision.ids.contains(entry.id))
            continue;
        switch (decision.action) {
        case RecoveryDecision::Action::Open:
            opened += OpenRecovered(entry) ? 1 : 0;
            break;
        case RecoveryDecision::Action::Discard:
            m_recovery.Remove(entry.id);
            break;
        case RecoveryDecision::Action::Later:
            break;
        }
    }
    return opened;
}

bool CMainFrame::OpenRecovered(const RecoveryEntry& entry) {
    auto doc = std::make_unique<CKRAVDoc>();
    // A copy that cannot be read says why and stays, for the user to discard. Kept cells in it
    // were kept by the user once: the question comes again, as when the level is opened.
    if (!doc->OnOpenDocument(m_recovery.LevelPath(entry.id).toStdString(), m_prompt,
                             UnknownCodes::Ask))
        return false;
    // The level belongs to the user's file again (Save writes there, and only then); a level
    // never saved keeps its KRAVn name, and new levels are numbered past it.
    doc->SetPathName(entry.originalPath.toStdString());
    if (entry.originalPath.isEmpty()) {
        doc->SetTitle(entry.title.toStdString());
        static const QRegularExpression untitled(QStringLiteral("^KRAV(\\d+)$"));
        const QRegularExpressionMatch match = untitled.match(entry.title);
        if (match.hasMatch())
            m_nextUntitled = std::max(m_nextUntitled, match.captured(1).toInt() + 1);
    }
    doc->SetModifiedFlag(true);
    // This run answers for the copy now: it goes when the level is saved or closed.
    m_recovery.Adopt(entry.id);
    const std::size_t hash = HashOf(doc->Serialize());
    const CKRAVDoc* level = doc.get();
    AddChildFrame(std::move(doc));
    for (CChildFrame* child : ChildFrames())
        if (&child->Document() == level)
            m_recoveryCopies.insert(child, {entry.id, hash});
    // The first view of a run sets the palettes up once the event loop turns; let it turn
    // before the next level opens, or the palette would show the first level's tile set
    // beside the last level's map.
    QCoreApplication::processEvents();
    return true;
}

} // namespace krav
