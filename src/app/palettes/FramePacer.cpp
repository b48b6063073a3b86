#include "palettes/FramePacer.h"

namespace krav {

FramePacer::FramePacer(std::function<void()> show) : m_show(std::move(show)) {
    m_frame.setSingleShot(true);
    m_frame.setInterval(FRAME_MS);
    QObject::connect(&m_frame, &QTimer::timeout, [this] { FrameOver(); });
}

void FramePacer::Changed() {
    if (m_frame.isActive()) {
        m_pending = true;
        return;
    }
    m_show();
    m_frame.start();
}

// A frame with changes is followed by another, so that a steady stream is shown once a frame;
// a quiet one ends the pacing and leaves no timer running.
void FramePacer::FrameOver() {
    if (!m_pending)
        return;
    m_pending = false;
    m_show();
    m_frame.start();
}

} // namespace krav
