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
    connect(&m_frame, &QTimer::timeout, this, [this] {
        if (m_pending && !m_queued)
            Run();
    });
    QCoreApplication::instance()->installEventFilter(this);
}

UiUpdateTrigger::~UiUpdateTrigger() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void UiUpdateTrigger::Request() {
    m_pending = true;
    if (m_queued || (m_moving && m_frame.isActive()))
        return; // in this turn's pass, or in the one at the frame's end
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
    m_frame.start();
}

bool UiUpdateTrigger::eventFilter(QObject* watched, QEvent* event) {
    if (MayChangeState(event->type())) {
        m_moving = event->type() == QEvent::MouseMove;
        Request();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace krav
