// The main frame's files: new levels, opening, saving, closing and the recent-file list.
#include "document/CKRAVDoc.h"
#include "frame/CommandIds.h"
#include "shell/CChildFrame.h"
#include "shell/CKRAVApp.h"
#include "shell/CMainFrame.h"
#include "view/CKRAVView.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QSettings>

namespace krav {

namespace {

const QString LEVEL_FILTER = QStringLiteral("KRAV Files (*.lvl);;All Files (*)");

QString CanonicalPath(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

} // namespace

QString CMainFrame::DialogFolder(FileDialogKind kind) const {
    QString levelPath;
    if (auto* child = qobject_cast<CChildFrame*>(m_mdiArea->currentSubWindow()))
        levelPath = QString::fromStdString(child->Document().GetPathName());
    return StartFolder(*CKRAVApp::Profile(), kind, levelPath);
}

void CMainFrame::RememberDialogFolder(FileDialogKind kind, const QString& chosen) {
    RememberFolder(*CKRAVApp::Profile(), kind, chosen);
}

QString CMainFrame::ExportPath(const QString& chosen, const CKRAVDoc& doc, FileDialogKind kind,
                               const QString& title, const QString& suffix, const QString& filter) {
    if (!chosen.isEmpty())
        return chosen;
    QString name = QString::fromStdString(doc.GetTitle());
    if (name.endsWith(QStringLiteral(".lvl"), Qt::CaseInsensitive))
        name.chop(4);
    QString path = QFileDialog::getSaveFileName(
        this, title, DialogFolder(kind) + QLatin1Char('/') + name + suffix, filter);
    if (path.isEmpty())
        return path;
    RememberDialogFolder(kind, path);
    if (QFileInfo(path).suffix().isEmpty())
        path += suffix;
    return path;
}

bool CMainFrame::NewLevel() {
    auto doc = std::make_unique<CKRAVDoc>();
    if (!doc->OnNewDocument(m_prompt))
        return false;
    doc->SetTitle("KRAV" + std::to_string(m_nextUntitled++));
    AddChildFrame(std::move(doc));
    return true;
}

bool CMainFrame::OpenLevel(const QString& requested) {
    QString path = requested;
    if (path.isEmpty()) {
        path = QFileDialog::getOpenFileName(this, QStringLiteral("Open"),
                                            DialogFolder(FileDialogKind::Open), LEVEL_FILTER);
        if (path.isEmpty())
            return false;
        RememberDialogFolder(FileDialogKind::Open, path);
    }
    // A level that is open already is brought forward rather than opened twice.
    if (CChildFrame* open = FrameOfPath(path)) {
        m_mdiArea->setActiveSubWindow(open);
        return true;
    }
    auto doc = std::make_unique<CKRAVDoc>();
    if (!doc->OnOpenDocument(QFileInfo(path).absoluteFilePath().toStdString(), m_prompt,
                             UnknownCodes::Ask)) {
        if (!QFileInfo::exists(path)) {
            m_recent.Remove(path);
            UpdateRecentMenu();
        }
        return false;
    }
    AddChildFrame(std::move(doc));
    m_recent.Add(path);
    UpdateRecentMenu();
    return true;
}

bool CMainFrame::SaveLevel(CChildFrame* child, bool askForName) {
    CKRAVDoc& doc = child->Document();
    QString path = QString::fromStdString(doc.GetPathName());
    if (askForName || path.isEmpty()) {
        // The level's own name (or title) in the folder Save As was last used in.
        const QString name = path.isEmpty()
                                 ? QString::fromStdString(doc.GetTitle()) + QStringLiteral(".lvl")
                                 : QFileInfo(path).fileName();
        path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Save As"),
            DialogFolder(FileDialogKind::SaveAs) + QLatin1Char('/') + name, LEVEL_FILTER);
        if (path.isEmpty())
            return false;
        RememberDialogFolder(FileDialogKind::SaveAs, path);
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".lvl");
    }
    if (!doc.OnSaveDocument(path.toStdString(), m_prompt))
        return false;
    DropRecoveryCopy(child);
    child->UpdateTitle();
    m_recent.Add(path);
    UpdateRecentMenu();
    return true;
}

bool CMainFrame::CloseLevel(CChildFrame* child) {
    CKRAVDoc& doc = child->Document();
    if (doc.IsModified()) {
        const auto answer =
            m_prompt.AskYesNoCancel("KRAV", "Save changes to " + doc.GetTitle() + "?");
        if (answer == Prompt::Answer::Cancel)
            return false;
        if (answer == Prompt::Answer::Yes && !SaveLevel(child, false))
            return false;
    }
    CKRAVView* view = child->View();
    if (m_lastActiveView == view)
        m_lastActiveView = nullptr;
    if (m_hub.ActiveView() == &view->Engine())
        m_hub.SetActiveView(nullptr);
    if (ChildFrames().size() == 1)
        SavePaletteLayout(); // as the user left them, before the last view hides them
    m_hub.ViewClosed();
    DropRecoveryCopy(child);
    child->m_bClosing = true;
    child->close(); // deletes it
    UpdateMenuBar();
    OnSubWindowActivated(nullptr);
    return true;
}

void CMainFrame::OpenHandedOver(const QStringList& files) {
    if (files.isEmpty())
        NewLevel();
    for (const QString& file : files)
        OpenLevel(file);
    // The user asked for these levels from the desktop: show them.
    if (isMinimized())
        showMaximized();
    raise();
    activateWindow();
    RequestCommandUiUpdate();
}

CChildFrame* CMainFrame::FrameOfPath(const QString& path) const {
    const QString wanted = CanonicalPath(path);
    for (CChildFrame* child : ChildFrames()) {
        const QString open = QString::fromStdString(child->Document().GetPathName());
        if (!open.isEmpty() && CanonicalPath(open) == wanted)
            return child;
    }
    return nullptr;
}

} // namespace krav
