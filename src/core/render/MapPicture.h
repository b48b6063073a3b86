#pragma once

#include "editing/Geometry.h"
#include "render/MapRenderer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace krav {

// The zooms a map view has, and so a picture of the map.
struct PictureZoom {
    const char* text; // as the status bar and krav-lvl render name it
    double factor;
    int cellSize; // pixels a side
};

inline constexpr std::array<PictureZoom, 6> PICTURE_ZOOMS{{{"1:16", 0.0625, 1},
                                                           {"1:8", 0.125, 2},
                                                           {"1:4", 0.25, 4},
                                                           {"1:2", 0.5, 8},
                                                           {"1:1", 1.0, 16},
                                                           {"2:1", 2.0, 32}}};

// The widest and tallest picture a PNG file can hold.
inline constexpr long long PICTURE_MAX_SIDE = 0x7FFFFFFF;

// A picture of some cells of the map: exactly the pixels a map view shows for them at the
// zoom, area x cell size. The white map edge lies outside the map's last cell, so it is never
// in the picture; as in the view, the map's last column and row carry no grid line of their
// own, the edge taking their place. The low zooms never show the grid.
struct PictureRequest {
    Rect area{0, 0, MAP_SIZE, MAP_SIZE}; // cells, right and bottom excluded
    PictureZoom zoom = PICTURE_ZOOMS[0];
    bool grid = false;

    long long Width() const { return static_cast<long long>(area.Width()) * zoom.cellSize; }
    long long Height() const { return static_cast<long long>(area.Height()) * zoom.cellSize; }
};

// Receives one band of the picture: rows x width pixels (0xFFRRGGBB, rows width apart), its
// first row being firstRow of the picture. Returns false to stop drawing.
using PictureBandSink = std::function<bool(const std::uint32_t* pixels, int firstRow, int rows)>;

// How many pixels a band holds at most, unless one row of cells is bigger: small enough that a
// picture of any size fits in a few megabytes, large enough that the renderer's work per band
// is negligible.
inline constexpr std::size_t PICTURE_BAND_PIXELS = std::size_t{1} << 20;

// Draws the picture a band of whole cell rows at a time, top to bottom, handing each band to
// sink; only one band is ever held. False when the sink stopped it. The picture's sides must
// be at least 1 and at most PICTURE_MAX_SIDE; the caller checks.
bool DrawMapPicture(const RenderSource& source, const PictureRequest& request,
                    const PictureBandSink& sink, std::size_t bandPixels = PICTURE_BAND_PIXELS);

} // namespace krav
