#include "shell/MenuLettersFirst.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>

namespace krav {

MenuLettersFirst::MenuLettersFirst(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

MenuLettersFirst::~MenuLettersFirst() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool MenuLettersFirst::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QMenu*>(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers chord =
            Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (!(key->modifiers() & chord) && !key->text().isEmpty()) {
            // Accepting the override hands the key to the menu as a key press.
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace krav
