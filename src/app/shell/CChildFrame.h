#pragma once

#include <QMdiSubWindow>
#include <memory>

namespace krav {

class CKRAVDoc;
class CKRAVView;
class ViewFrame;

// The window of one open level: maximised, no minimise button, black where the view does
// not paint. Closing it asks the main frame first (unsaved changes).
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // Takes the level and makes its map view.
    CChildFrame(std::unique_ptr<CKRAVDoc> doc, ViewFrame& frame, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CKRAVView* View() const { return m_view; }
    CKRAVDoc& Document() const { return *m_doc; }
    // Title with the modified marker placeholder.
    void UpdateTitle();

signals:
    // The user asked to close the window; the frame decides (it may ask to save first).
    void closeRequested(CChildFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<CKRAVDoc> m_doc;
    CKRAVView* m_view;
    friend class CMainFrame;
    bool m_bClosing = false; // the frame agreed: let the close through
};

} // namespace krav
