#include "shell/PaletteKeys.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace krav {

PaletteKeys::PaletteKeys(QWidget* mainFrame, std::function<QWidget*()> activeView)
    : QObject(mainFrame), m_mainFrame(mainFrame), m_activeView(std::move(activeView)) {}

void PaletteKeys::Watch(QWidget* palette) {
    palette->installEventFilter(this);
}

bool PaletteKeys::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (QWidget* view = m_activeView())
            QCoreApplication::sendEvent(view, event);
        return true;
    case QEvent::WindowActivate:
        if (m_mainFrame->isVisible())
            m_mainFrame->activateWindow();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace krav
