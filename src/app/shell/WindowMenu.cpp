#include "shell/WindowMenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <algorithm>

namespace krav {

namespace {

// The windows to arrange, in the given order: those shown and not minimised.
QList<QMdiSubWindow*> ArrangedWindows(QMdiArea& area, QMdiArea::WindowOrder order) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area.subWindowList(order))
        if (!window->isHidden() && !window->isMinimized())
            windows.append(window);
    return windows;
}

// The height of a window's title bar with its frame: how far its contents start below its top.
int TitleBarHeight(QMdiSubWindow& window) {
    const int contentsTop = window.contentsMargins().top();
    if (contentsTop > 0)
        return contentsTop;
    QStyleOptionTitleBar title;
    title.initFrom(&window);
    return window.style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, &window);
}

} // namespace

void CascadeSubWindows(QMdiArea& area) {
    // Bottom first, so that raising each in turn keeps the order and the top window ends last.
    const QList<QMdiSubWindow*> windows = ArrangedWindows(area, QMdiArea::StackingOrder);
    if (windows.isEmpty())
        return;
    const QRect space = area.viewport()->rect();
    const QSize size(std::max(space.width() * 2 / 3, 1), std::max(space.height() * 2 / 3, 1));
    int step = 0;
    for (QMdiSubWindow* window : windows) {
        if (window->isMaximized())
            window->showNormal();
        // A title bar at least, and at least 1 pixel: a window must never hide the one below.
        const int offset = std::max(TitleBarHeight(*window), 1);
        QPoint at(step * offset, step * offset);
        if (at.x() + size.width() > space.width() || at.y() + size.height() > space.height()) {
            step = 0;
            at = QPoint(0, 0);
        }
        window->setGeometry(QRect(at, size));
        window->raise();
        ++step;
    }
}

void TileSubWindows(QMdiArea& area, bool horizontally) {
    const QList<QMdiSubWindow*> windows = ArrangedWindows(area, QMdiArea::CreationOrder);
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
