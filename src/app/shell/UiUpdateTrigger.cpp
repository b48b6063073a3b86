#include "shell/UiUpdateTrigger.h"

#include <QCoreApplication>
#include <QEvent>

namespace krav {

namespace {

bool MayChangeState(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Drop:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::WindowStateChange:
        return true;
    default:
        return false;
    }
}

} // namespace

UiUpdateTrigger::UiUpdateTrigger(std::function<void()> update, QObject* parent)
    : QObject(parent), m_update(std::move(update)) {
    m_frame.setSingleShot(true);
    m_frame.setInterval(FRAME_MS);
    connect(&m_frame, &QTimer::timeout, this, [this] { FrameOver(); });
    QCoreApplication::instance()->installEventFilter(this);
}

UiUpdateTrigger::~UiUpdateTrigger() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void UiUpdateTrigger::Request() {
    m_pending = true;
    if (m_queued || (m_moving && m_state == FrameState::Running))
        return; // in this turn's pass, or in a later one
    m_queued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_queued = false;
            if (m_pending)
                Run();
        },
        Qt::QueuedConnection);
}

void UiUpdateTrigger::Run() {
    m_pending = false;
    m_update();
    m_state = FrameState::Running;
    m_frame.start();
}

// What a move asked for during the frame goes with the next move (which then repaints the
// panes in the same paint as the map), or, when no move comes within another frame, alone.
void UiUpdateTrigger::FrameOver() {
    const bool waiting = m_pending && !m_queued;
    if (waiting && m_state == FrameState::Running && m_moving) {
        m_state = FrameState::Grace;
        m_frame.start();
        return;
    }
    m_state = FrameState::Idle;
    if (waiting)
        Run();
}

bool UiUpdateTrigger::eventFilter(QObject* watched, QEvent* event) {
    if (MayChangeState(event->type())) {
        m_moving = event->type() == QEvent::MouseMove;
        Request();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace krav
