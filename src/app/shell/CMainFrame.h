#pragma once

#include <QMainWindow>

#include <memory>
#include <vector>

class QMdiArea;

namespace krav {

class CKRAVDoc;

// The editor's main window: a multi-document area holding one window per open level.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // A new empty level titled KRAV1, KRAV2, ...
    bool NewLevel();
    // Opens a level file; on failure the reader's message has been shown and no window is left.
    bool OpenLevel(const QString& path);

private:
    void AddChildFrame(std::unique_ptr<CKRAVDoc> doc);

    QMdiArea* m_mdiArea;
    std::vector<std::unique_ptr<CKRAVDoc>> m_documents;
    int m_nextUntitled = 1;
};

} // namespace krav
