#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

class QSettings;
class QWidget;

namespace krav {

// What the profile keeps of one palette window between runs, beside the toolbars' layout:
// whether it was shown and where (its frame's top-left corner and its client size).
struct KeptPalette {
    std::optional<bool> visible;
    std::optional<QPoint> frameTopLeft;
    std::optional<QSize> client;
};

// Anything missing or unusable (not a boolean, not a size a window can have) is left out.
KeptPalette LoadKeptPalette(QSettings& profile, const QString& name);
// Writes the visibility when given, and the place of a palette that has been on the screen
// in this run (a palette never shown keeps the place kept before).
void SaveKeptPalette(QSettings& profile, const QString& name, std::optional<bool> visible,
                     const QWidget& palette);

// Where the Special Objects palette's frame goes the first time it is shown: beside the tile
// set palette, else above it, beside the Radar or under Tile Info, wherever it lies on the
// screen and covers none of them; where it is when no such place is free.
QPoint ObjectsPaletteSpot(const QWidget& objects, const QWidget& tileSet, const QWidget& radar,
                          const QWidget& tileInfo);

} // namespace krav
