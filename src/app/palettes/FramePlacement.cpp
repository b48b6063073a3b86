#include "palettes/FramePlacement.h"

#include <QEvent>
#include <QMargins>
#include <QWidget>
#include <QWindow>

namespace krav {

namespace {

QMargins OwnFrameMargins(const QWidget* window) {
    const QWindow* own = window->windowHandle();
    return own ? own->frameMargins() : QMargins();
}

// The decoration the window manager puts around a palette window. Until a palette has been
// shown its own is unknown; the main frame's is the best guess then (same window manager,
// usually the same title bar), and none at all before the main frame is shown.
QMargins FrameMarginsOf(const QWidget* window) {
    const QMargins own = OwnFrameMargins(window);
    if (!own.isNull())
        return own;
    if (const QWidget* parent = window->parentWidget()) {
        if (const QWindow* frame = parent->window()->windowHandle())
            return frame->frameMargins();
    }
    return {};
}

QPoint FrameTopLeft(QSize client, const QMargins& m, Qt::Corner corner, QPoint point) {
    QPoint topLeft = point;
    if (corner == Qt::TopRightCorner || corner == Qt::BottomRightCorner)
        topLeft.rx() -= client.width() + m.left() + m.right();
    if (corner == Qt::BottomLeftCorner || corner == Qt::BottomRightCorner)
        topLeft.ry() -= client.height() + m.top() + m.bottom();
    return topLeft;
}

// Remembers the last placement of its window and repeats it once the window manager has
// told the window's real decoration, if that differs from the one it was placed with.
class FramePlacer : public QObject {
public:
    explicit FramePlacer(QWidget* window) : QObject(window), m_window(window) {
        setObjectName(QStringLiteral("FramePlacer"));
        window->installEventFilter(this);
    }

    void Place(QSize client, Qt::Corner corner, QPoint point) {
        m_client = client;
        m_corner = corner;
        m_point = point;
        m_used = FrameMarginsOf(m_window);
        m_waitingForFrame = true;
        Apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (m_waitingForFrame && watched == m_window &&
            (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize)) {
            const QMargins real = OwnFrameMargins(m_window);
            if (!real.isNull()) {
                m_waitingForFrame = false;
                if (real != m_used) {
                    m_used = real;
                    Apply();
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Apply() {
        m_window->resize(m_client);
        // A window's position is its frame's: the window manager puts the decoration's corner
        // there (before the window exists), or Qt subtracts the known decoration (after).
        m_window->move(FrameTopLeft(m_client, m_used, m_corner, m_point));
    }

    QWidget* m_window;
    QSize m_client;
    Qt::Corner m_corner = Qt::TopLeftCorner;
    QPoint m_point;
    QMargins m_used;
    bool m_waitingForFrame = false;
};

} // namespace

void PlaceFrameCorner(QWidget* window, QSize client, Qt::Corner corner, QPoint point) {
    auto* placer =
        window->findChild<FramePlacer*>(QStringLiteral("FramePlacer"), Qt::FindDirectChildrenOnly);
    if (!placer)
        placer = new FramePlacer(window);
    placer->Place(client, corner, point);
}

} // namespace krav
