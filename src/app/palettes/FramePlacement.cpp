#include "palettes/FramePlacement.h"

#include <QEvent>
#include <QMargins>
#include <QRect>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <optional>

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

// While the window manager takes a window in, Qt may work the decoration out from a frame
// that is not laid out yet: the client at the frame's corner, or a 1 x 1 frame (negative
// margins). Such a reading is no decoration at all.
bool IsDecoration(const QMargins& m) {
    return !m.isNull() && m.left() >= 0 && m.top() >= 0 && m.right() >= 0 && m.bottom() >= 0;
}

// Remembers the last placement of its window and repeats it whenever the decoration the
// window manager reports differs from the one it was placed with, until the window manager
// has put the window where it was asked to with the decoration it reports. A reading taken
// mid-way through the window manager's work can look sound; the next one then mends it.
class FramePlacer : public QObject {
public:
    explicit FramePlacer(QWidget* window) : QObject(window), m_window(window) {
        setObjectName(QStringLiteral("FramePlacer"));
        window->installEventFilter(this);
    }

    void Place(QSize client, Qt::Corner corner, QPoint point, std::optional<QRect> inside) {
        m_client = client;
        m_corner = corner;
        m_point = point;
        m_inside = inside;
        m_used = FrameMarginsOf(m_window);
        m_settling = true;
        Apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (m_settling && !m_applying && watched == m_window &&
            (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize))
            Settle();
        return QObject::eventFilter(watched, event);
    }

private:
    void Settle() {
        const QMargins real = OwnFrameMargins(m_window);
        if (!IsDecoration(real))
            return;
        if (real != m_used) {
            m_used = real;
            Apply();
        } else if (m_window->geometry() == ClientAsked()) {
            m_settling = false; // where it was asked to be: from now on the user moves it
        }
    }

    // Moved as little as needed to lie inside the area when there is one; a frame larger than
    // the area keeps its top-left corner in it.
    QPoint FramePoint() const {
        QPoint frame = FrameTopLeft(m_client, m_used, m_corner, m_point);
        if (m_inside) {
            const QSize size = m_client.grownBy(m_used);
            frame.setX(std::max(std::min(frame.x(), m_inside->right() + 1 - size.width()),
                                m_inside->left()));
            frame.setY(std::max(std::min(frame.y(), m_inside->bottom() + 1 - size.height()),
                                m_inside->top()));
        }
        return frame;
    }

    QRect ClientAsked() const {
        return {FramePoint() + QPoint(m_used.left(), m_used.top()), m_client};
    }

    void Apply() {
        // Our own move and resize report back at once; only the window manager's answers count.
        m_applying = true;
        m_window->resize(m_client);
        // A window's position is its frame's: the window manager puts the decoration's corner
        // there (before the window exists), or Qt subtracts the known decoration (after).
        m_window->move(FramePoint());
        m_applying = false;
    }

    QWidget* m_window;
    QSize m_client;
    Qt::Corner m_corner = Qt::TopLeftCorner;
    QPoint m_point;
    std::optional<QRect> m_inside;
    QMargins m_used;
    bool m_settling = false;
    bool m_applying = false;
};

} // namespace

QRect FrameRectOf(const QWidget* window) {
    const QMargins m = FrameMarginsOf(window);
    // Until the window exists, the position asked for is its frame's (see Apply).
    if (!window->testAttribute(Qt::WA_WState_Created))
        return {window->geometry().topLeft(), window->size().grownBy(m)};
    return window->geometry().marginsAdded(m);
}

namespace {
void Place(QWidget* window, QSize client, Qt::Corner corner, QPoint point,
           std::optional<QRect> inside) {
    auto* placer =
        window->findChild<FramePlacer*>(QStringLiteral("FramePlacer"), Qt::FindDirectChildrenOnly);
    if (!placer)
        placer = new FramePlacer(window);
    placer->Place(client, corner, point, inside);
}
} // namespace

void PlaceFrameCorner(QWidget* window, QSize client, Qt::Corner corner, QPoint point) {
    Place(window, client, corner, point, std::nullopt);
}

void PlaceFrameInside(QWidget* window, QSize client, QPoint frameTopLeft, const QRect& area) {
    Place(window, client, Qt::TopLeftCorner, frameTopLeft,
          area.isEmpty() ? std::nullopt : std::optional<QRect>(area));
}

} // namespace krav
