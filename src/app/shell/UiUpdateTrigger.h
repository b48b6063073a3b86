#pragma once

#include <QObject>
#include <functional>

namespace krav {

// Runs the main frame's update pass (enabling, check marks, status panes, titles) once after
// anything that may have changed what they show: user input, windows shown, hidden or
// activated, and explicit requests. Requests made in one turn of the event loop share one
// pass, and nothing runs while the editor sits idle.
class UiUpdateTrigger : public QObject {
public:
    UiUpdateTrigger(std::function<void()> update, QObject* parent);
    ~UiUpdateTrigger() override;

    void Request();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_update;
    bool m_pending = false;
};

} // namespace krav
