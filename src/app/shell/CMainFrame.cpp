#include "shell/CMainFrame.h"

#include "document/CKRAVDoc.h"
#include "shell/MessageBoxPrompt.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace krav {

CMainFrame::CMainFrame() : m_mdiArea(new QMdiArea(this)) {
    setWindowTitle(QStringLiteral("Orbalon Map Editor"));
    setCentralWidget(m_mdiArea);
    m_mdiArea->setBackground(Qt::darkGray);
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::NewLevel() {
    auto doc = std::make_unique<CKRAVDoc>();
    MessageBoxPrompt prompt(this);
    if (!doc->OnNewDocument(prompt)) return false;
    doc->SetTitle("KRAV" + std::to_string(m_nextUntitled++));
    AddChildFrame(std::move(doc));
    return true;
}

bool CMainFrame::OpenLevel(const QString& path) {
    auto doc = std::make_unique<CKRAVDoc>();
    MessageBoxPrompt prompt(this);
    if (!doc->OnOpenDocument(path.toStdString(), prompt)) return false;
    AddChildFrame(std::move(doc));
    return true;
}

void CMainFrame::AddChildFrame(std::unique_ptr<CKRAVDoc> doc) {
    // The map view comes with the on-screen editor; until then the window shows its level.
    auto* placeholder = new QLabel;
    placeholder->setAlignment(Qt::AlignCenter);
    placeholder->setStyleSheet(QStringLiteral("background: black; color: white;"));
    placeholder->setText(QString::fromStdString(doc->GetTitle()));
    QMdiSubWindow* child = m_mdiArea->addSubWindow(placeholder);
    child->setWindowTitle(QString::fromStdString(doc->GetTitle()));
    child->showMaximized();
    m_documents.push_back(std::move(doc));
}

} // namespace krav
