#include "palettes/PaletteWindowFlags.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace krav {

namespace {
// The xcb platform reads the window types it sets from this property of the window whenever
// it sets the window's flags; 0x8 is its "toolbar" type.
const char* const X11_WINDOW_TYPE = "_q_xcb_wm_window_type";
constexpr int X11_TOOLBAR_TYPE = 0x8;
// Room in a title bar for the icon, the close box and the margins around the title.
constexpr int TITLE_BAR_BUTTONS = 64;

// Some window managers (openbox) offer minimise on every "utility" window whatever its hints
// say, and minimising a window there minimises the window it belongs to: the whole editor.
// A "toolbar" cannot be minimised; window managers that do not know the type take the next
// one Qt lists, "utility". The type is read when the window is mapped, so it is set just
// before that, when the native window exists: at the first show.
class ToolbarType : public QObject {
public:
    explicit ToolbarType(QWidget* palette) : QObject(palette), m_palette(palette) {
        palette->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_palette && event->type() == QEvent::Show)
            Apply();
        return QObject::eventFilter(watched, event);
    }

private:
    void Apply() {
        QWindow* window = m_palette->windowHandle();
        if (!window || window->property(X11_WINDOW_TYPE).isValid())
            return;
        window->setProperty(X11_WINDOW_TYPE, X11_TOOLBAR_TYPE);
        // Qt reads the property when the flags change.
        const Qt::WindowFlags flags = window->flags();
        window->setFlags(flags ^ Qt::WindowContextHelpButtonHint);
        window->setFlags(flags);
    }

    QWidget* m_palette;
};
} // namespace

void SetUpPaletteWindow(QWidget* palette) {
    palette->setFocusPolicy(Qt::NoFocus);
    for (QWidget* child : palette->findChildren<QWidget*>())
        child->setFocusPolicy(Qt::NoFocus);
    palette->setAttribute(Qt::WA_ShowWithoutActivating);
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        new ToolbarType(palette); // owned by the palette
}

int TitleFitWidth(const QWidget* palette) {
    QFont bold = palette->font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(palette->windowTitle()) + TITLE_BAR_BUTTONS;
}

} // namespace krav
