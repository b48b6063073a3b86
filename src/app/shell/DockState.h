#pragma once

#include <QByteArray>

class QMainWindow;

namespace krav {

// The layout kept under "MyDockState": the toolbars' places and visibility (Qt's own state)
// and whether the status bar is shown, which Qt's state leaves out.
QByteArray SaveDockState(const QMainWindow& frame);
// Restores what SaveDockState wrote; a layout saved before the status bar was kept is
// restored too. Anything unreadable leaves the frame as it is.
void RestoreDockState(QMainWindow& frame, const QByteArray& state);

} // namespace krav
