#include "shell/WhenExposed.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace krav {

namespace {

class ExposureWatch : public QObject {
public:
    ExposureWatch(QWindow* window, std::function<void()> action)
        : QObject(window), m_action(std::move(action)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            // After the expose has been handled, so that the layout has its final size too.
            QTimer::singleShot(0, watched, std::move(m_action));
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};

} // namespace

void RunWhenExposed(QWidget* window, std::function<void()> action) {
    QWindow* handle = window->windowHandle();
    if (!handle || handle->isExposed()) {
        QTimer::singleShot(0, window, std::move(action));
        return;
    }
    new ExposureWatch(handle, std::move(action));
}

} // namespace krav
