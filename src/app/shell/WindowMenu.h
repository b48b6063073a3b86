#pragma once

#include <QList>

class QAction;
class QMdiArea;
class QMenu;

namespace krav {

// Lays the level windows side by side: horizontally one above the other, each as wide as the
// area; vertically next to each other, each as high as the area.
void TileSubWindows(QMdiArea& area, bool horizontally);

// Lays the level windows over each other, each two thirds of the area wide and high and each
// a title bar further right and down than the one below it, so that every title shows; the
// window on top stays on top. Past the area's corner the steps start again at its origin.
void CascadeSubWindows(QMdiArea& area);

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
