#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace krav {

// Palettes never keep the keyboard. They do not take the focus, but a window manager may hand
// it to one anyway: then its keys go to the active map view (none: they are dropped) and the
// main window is made active again, so that the next keys reach the view directly. Keys of
// the main frame's commands (Z, X, ...) work everywhere as application shortcuts.
class PaletteKeys : public QObject {
public:
    PaletteKeys(QWidget* mainFrame, std::function<QWidget*()> activeView);

    void Watch(QWidget* palette);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_mainFrame;
    std::function<QWidget*()> m_activeView;
};

} // namespace krav
