#include "palettes/EdgeSnapper.h"

#include "palettes/EdgeSnap.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace krav {

namespace {
// Long enough not to fight the window manager while the pointer still moves.
constexpr int SETTLE_MS = 200;
} // namespace

EdgeSnapper::EdgeSnapper(QWidget* window, int stepX, int stepY)
    : QObject(window), m_window(window), m_stepX(0), m_stepY(0) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(SETTLE_MS);
    connect(&m_settle, &QTimer::timeout, this, [this] { SnapNow(); });
    window->installEventFilter(this);
    SetSteps(stepX, stepY);
    Record();
}

void EdgeSnapper::SetSteps(int stepX, int stepY) {
    m_stepX = stepX;
    m_stepY = stepY;
    if (stepX > 0 || stepY > 0)
        m_window->setSizeIncrement(std::max(stepX, 1), std::max(stepY, 1));
}

void EdgeSnapper::Record() {
    m_settle.stop();
    m_recorded = Current();
}

Rect EdgeSnapper::Current() const {
    const QRect g = m_window->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

Rect EdgeSnapper::Snapped() const {
    return SnapDraggedEdges(m_recorded, Current(), m_stepX, m_stepY);
}

bool EdgeSnapper::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        if (Snapped() == Current())
            Record();
        else
            m_settle.start();
    }
    return QObject::eventFilter(watched, event);
}

void EdgeSnapper::SnapNow() {
    const Rect r = Snapped();
    if (r == Current()) {
        Record();
        return;
    }
    m_window->setGeometry(r.left, r.top, r.Width(), r.Height());
    Record();
}

} // namespace krav
