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
    QCoreApplication::instance()->installEventFilter(this);
}

UiUpdateTrigger::~UiUpdateTrigger() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void UiUpdateTrigger::Request() {
    if (m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pending = false;
            m_update();
        },
        Qt::QueuedConnection);
}

bool UiUpdateTrigger::eventFilter(QObject* watched, QEvent* event) {
    if (MayChangeState(event->type()))
        Request();
    return QObject::eventFilter(watched, event);
}

} // namespace krav
