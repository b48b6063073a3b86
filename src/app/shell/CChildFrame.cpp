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
    setWidget(m_view);
    // Black where the view does not paint: the corner between its scroll bars. Only there, so
    // that the window's own title bar keeps the style's colours.
    auto* corner = new QWidget;
    QPalette black = corner->palette();
    black.setColor(QPalette::Window, Qt::black);
    corner->setPalette(black);
    corner->setAutoFillBackground(true);
    m_view->setCornerWidget(corner);
    UpdateTitle();
}

// The view borrows the level: it goes first.
CChildFrame::~CChildFrame() {
    delete m_view;
}

void CChildFrame::UpdateTitle() {
    setWindowTitle(QString::fromStdString(m_doc->GetTitle()) + QStringLiteral("[*]"));
    // Setting the marker rewrites the title even when it stays the same.
    if (isWindowModified() != m_doc->IsModified())
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
