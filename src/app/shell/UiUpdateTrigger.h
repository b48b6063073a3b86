#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace krav {

// Runs the main frame's update pass (enabling, check marks, status panes, titles) once after
// anything that may have changed what they show: user input, windows shown, hidden or
// activated, and explicit requests. Requests made in one turn of the event loop share one
// pass, and nothing runs while the editor sits idle. The pointer's moves, which come faster
// than a screen shows them, get at most one pass a frame: what a move asks for (a new
// position, cells painted) in a frame in which a pass already ran waits for the first move
// after it, or at most one more frame.
class UiUpdateTrigger : public QObject {
public:
    UiUpdateTrigger(std::function<void()> update, QObject* parent);
    ~UiUpdateTrigger() override;

    void Request();

    static constexpr int FRAME_MS = 16;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class FrameState { Idle, Running, Grace };

    void Run();
    void FrameOver();

    std::function<void()> m_update;
    bool m_pending = false;
    bool m_queued = false;
    // The pointer moved since the last other input: requests wait for the frame's end.
    bool m_moving = false;
    FrameState m_state = FrameState::Idle;
    QTimer m_frame;
};

} // namespace krav
