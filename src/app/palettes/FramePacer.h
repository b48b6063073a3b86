#pragma once

#include <QTimer>
#include <functional>

namespace krav {

// Lets a stream of changes reach the screen at most once a frame: the first change after a
// quiet frame is shown at once, the ones that follow it within the frame together when the
// frame is over. A pencil stroke sends a change per cell, faster than a screen shows them.
class FramePacer {
public:
    explicit FramePacer(std::function<void()> show);

    // Something changed: shown now, or when the current frame ends.
    void Changed();

    static constexpr int FRAME_MS = 16;

private:
    void FrameOver();

    std::function<void()> m_show;
    QTimer m_frame;
    bool m_pending = false;
};

} // namespace krav
