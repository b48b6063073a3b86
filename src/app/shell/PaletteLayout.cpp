#include "shell/PaletteLayout.h"

#include "palettes/FramePlacement.h"
#include "palettes/PalettePlaces.h"

#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace krav {

namespace {
// Larger than any screen; a kept size beyond it is not one a palette ever had.
constexpr int MAX_SIDE = 16384;

QString Key(const QString& name, const char* what) {
    return QStringLiteral("Palettes/%1/%2").arg(name, QLatin1String(what));
}

Rect ToRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Rect ScreenArea(const QWidget& palette) {
    const QWidget* owner = palette.parentWidget() ? palette.parentWidget()->window() : &palette;
    const QScreen* screen = owner->screen();
    return screen ? ToRect(screen->availableGeometry()) : Rect{};
}
} // namespace

KeptPalette LoadKeptPalette(QSettings& profile, const QString& name) {
    KeptPalette kept;
    const QVariant visible = profile.value(Key(name, "Visible"));
    if (visible.typeId() == QMetaType::Bool ||
        (visible.typeId() == QMetaType::QString && (visible.toString() == QLatin1String("true") ||
                                                    visible.toString() == QLatin1String("false"))))
        kept.visible = visible.toBool();
    const QVariant at = profile.value(Key(name, "FrameTopLeft"));
    const QVariant size = profile.value(Key(name, "Client"));
    if (at.typeId() == QMetaType::QPoint && size.typeId() == QMetaType::QSize) {
        const QPoint p = at.toPoint();
        const QSize s = size.toSize();
        if (s.width() > 0 && s.height() > 0 && s.width() <= MAX_SIDE && s.height() <= MAX_SIDE &&
            std::abs(p.x()) <= MAX_SIDE && std::abs(p.y()) <= MAX_SIDE) {
            kept.frameTopLeft = p;
            kept.client = s;
        }
    }
    return kept;
}

void SaveKeptPalette(QSettings& profile, const QString& name, std::optional<bool> visible,
                     const QWidget& palette) {
    if (visible)
        profile.setValue(Key(name, "Visible"), *visible);
    if (!palette.testAttribute(Qt::WA_WState_Created))
        return;
    // Qt keeps the decoration a window last had: the frame is right also once it is hidden.
    profile.setValue(Key(name, "FrameTopLeft"), palette.frameGeometry().topLeft());
    profile.setValue(Key(name, "Client"), palette.size());
}

QPoint ObjectsPaletteSpot(const QWidget& objects, const QWidget& tileSet, const QWidget& radar,
                          const QWidget& tileInfo) {
    const QRect own = FrameRectOf(&objects);
    const QRect tiles = FrameRectOf(&tileSet);
    const QRect beside = FrameRectOf(&radar);
    const QRect info = FrameRectOf(&tileInfo);
    const int w = own.width();
    const int h = own.height();
    const std::vector<Point> candidates = {
        {tiles.left() + tiles.width(), tiles.top() + tiles.height() - h},
        {tiles.left(), tiles.top() - h},
        {beside.left() - w, beside.top() + beside.height() - h},
        {info.left() + info.width() - w, info.top() + info.height()},
        {own.left(), own.top()},
    };
    const Point at = FirstClearSpot(candidates, w, h, {ToRect(tiles), ToRect(beside), ToRect(info)},
                                    ScreenArea(objects));
    return {at.x, at.y};
}

} // namespace krav
