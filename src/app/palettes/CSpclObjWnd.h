#pragma once

#include "document/TileCodes.h"

#include <QImage>
#include <QWidget>

namespace krav {

// The "Special Objects" palette: the four stamp objects side by side in cells of 50 x 50
// pixels; a left click chooses one and makes the Rubber Stamp current (through the main
// frame), also when that object was already chosen.
class CSpclObjWnd : public QWidget {
    Q_OBJECT

public:
    static constexpr int CELL = 50;
    static constexpr int CELLS = static_cast<int>(SPECIAL_OBJECTS.size());

    explicit CSpclObjWnd(QWidget* mainFrame);

    // 500, 600, 700 or 800.
    unsigned GetSelectedObject() const { return m_selected; }
    // What the tool tip says of an object: its id and footprint, "Special object 700 (2 x 2)".
    static QString ObjectToolTip(unsigned object);

signals:
    void objectChosen(unsigned object);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    static QImage LoadStrip();
    QRect CellRect(unsigned object) const;
    // The object whose cell holds a client point (a point past the last cell counts for it).
    static unsigned ObjectAt(QPoint at);

    QImage m_strip;
    unsigned m_selected = OBJECT_6X6;
};

} // namespace krav
