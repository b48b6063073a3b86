#pragma once

#include "editing/Geometry.h"

#include <QObject>
#include <QTimer>

class QWidget;

namespace krav {

// Keeps a palette window's edges on whole tiles (or object cells) when the user resizes it.
// Qt has no hook before a resize is applied, so this works in two ways: the window's size
// increment lets window managers that honour it snap live while the edge is dragged, and
// when a resize still lands between steps, the dragged edges are put back on a whole step
// from where they stood, shortly after the drag pauses or ends.
class EdgeSnapper : public QObject {
public:
    // Steps of 0 leave the size alone (the window still records its geometry).
    EdgeSnapper(QWidget* window, int stepX, int stepY);

    void SetSteps(int stepX, int stepY);
    // Takes the window's present client rectangle as where its edges stand.
    void Record();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Rect Current() const;
    Rect Snapped() const;
    void SnapNow();

    QWidget* m_window;
    int m_stepX;
    int m_stepY;
    Rect m_recorded;
    QTimer m_settle;
};

} // namespace krav
