#pragma once

#include <QList>

class QAction;
class QMdiArea;
class QMenu;

namespace krav {

// Lays the level windows side by side: horizontally one above the other, each as wide as the
// area; vertically next to each other, each as high as the area.
void TileSubWindows(QMdiArea& area, bool horizontally);

// The Window menu's list of open levels, numbered, the active one checked; choosing an entry
// activates that level. Rebuilt each time the menu opens.
class WindowListMenu {
public:
    WindowListMenu(QMenu& menu, QMdiArea& area);

private:
    void Rebuild();

    QMenu& m_menu;
    QMdiArea& m_area;
    QList<QAction*> m_entries; // the separator and one entry per window
};

} // namespace krav
