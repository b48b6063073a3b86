#include "shell/CChildFrame.h"

#include "document/CKRAVDoc.h"
#include "view/CKRAVView.h"

#include <QCloseEvent>

namespace krav {

CChildFrame::CChildFrame(std::unique_ptr<CKRAVDoc> doc, ViewFrame& frame, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(std::move(doc)), m_view(new CKRAVView(*m_doc, frame)) {
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setWidget(m_view);
    UpdateTitle();
}

// The view borrows the level: it goes first.
CChildFrame::~CChildFrame() { delete m_view; }

void CChildFrame::UpdateTitle() {
    setWindowTitle(QString::fromStdString(m_doc->GetTitle()) + QStringLiteral("[*]"));
    setWindowModified(m_doc->IsModified());
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (m_bClosing) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    event->ignore();
    emit closeRequested(this);
}

} // namespace krav
