#include "shell/WindowMenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace krav {

void TileSubWindows(QMdiArea& area, bool horizontally) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder))
        if (!window->isHidden() && !window->isMinimized())
            windows.append(window);
    if (windows.isEmpty())
        return;
    const QRect space = area.viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* window = windows.at(i);
        if (window->isMaximized())
            window->showNormal();
        // Integer edges, so that the windows meet without gaps or overlaps.
        QRect slot;
        if (horizontally) {
            const int top = space.height() * i / count;
            slot = QRect(0, top, space.width(), space.height() * (i + 1) / count - top);
        } else {
            const int left = space.width() * i / count;
            slot = QRect(left, 0, space.width() * (i + 1) / count - left, space.height());
        }
        window->setGeometry(slot);
    }
}

WindowListMenu::WindowListMenu(QMenu& menu, QMdiArea& area) : m_menu(menu), m_area(area) {
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [this] { Rebuild(); });
}

void WindowListMenu::Rebuild() {
    for (QAction* entry : m_entries) {
        m_menu.removeAction(entry);
        delete entry;
    }
    m_entries.clear();
    const QList<QMdiSubWindow*> windows = m_area.subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    m_entries.append(m_menu.addSeparator());
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows.at(i);
        QString title = window->windowTitle();
        title.replace(QStringLiteral("[*]"),
                      window->isWindowModified() ? QStringLiteral("*") : QString());
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QString::number(i + 1);
        QAction* entry = m_menu.addAction(number + QLatin1Char(' ') + title);
        entry->setCheckable(true);
        entry->setChecked(window == m_area.activeSubWindow());
        QObject::connect(entry, &QAction::triggered, &m_area, [this, window] {
            // The window may have closed while the menu was open.
            if (m_area.subWindowList().contains(window))
                m_area.setActiveSubWindow(window);
        });
        m_entries.append(entry);
    }
}

} // namespace krav
