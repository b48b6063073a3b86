#include "shell/DockState.h"

#include <QDataStream>
#include <QIODevice>
#include <QMainWindow>
#include <QStatusBar>

namespace krav {

namespace {
const QByteArray MAGIC = QByteArrayLiteral("KRAVDOCK");
constexpr quint8 VERSION = 1;
} // namespace

QByteArray SaveDockState(const QMainWindow& frame) {
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out.writeRawData(MAGIC.constData(), static_cast<int>(MAGIC.size()));
    const QStatusBar* bar = frame.findChild<QStatusBar*>();
    out << VERSION << (bar == nullptr || !bar->isHidden()) << frame.saveState();
    return state;
}

void RestoreDockState(QMainWindow& frame, const QByteArray& state) {
    if (!state.startsWith(MAGIC)) {
        frame.restoreState(state);
        return;
    }
    QDataStream in(state.mid(MAGIC.size()));
    quint8 version = 0;
    bool statusBarShown = true;
    QByteArray bars;
    in >> version >> statusBarShown >> bars;
    if (in.status() != QDataStream::Ok || version != VERSION)
        return;
    frame.restoreState(bars);
    if (QStatusBar* bar = frame.findChild<QStatusBar*>())
        bar->setVisible(statusBarShown);
}

} // namespace krav
