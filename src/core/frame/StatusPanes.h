#pragma once

#include <array>
#include <string>

namespace krav {

class MapViewEngine;

// The texts of the status bar's five view panes (cell under the pointer, visible area,
// selection or line, zoom, flags) for the active view; one space each without a view.
std::array<std::string, 5> StatusPaneTexts(const MapViewEngine* view);

} // namespace krav
