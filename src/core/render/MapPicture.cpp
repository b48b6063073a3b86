#include "render/MapPicture.h"

#include "editing/ViewGeometry.h"

#include <algorithm>
#include <vector>

namespace krav {

bool DrawMapPicture(const RenderSource& source, const PictureRequest& request,
                    const PictureBandSink& sink, std::size_t bandPixels) {
    const int width = static_cast<int>(request.Width());
    const int height = static_cast<int>(request.Height());
    const int cell = request.zoom.cellSize;
    const bool grid = request.grid && request.zoom.factor > LOW_ZOOM_LIMIT;
    // One client area the size of the whole picture, scrolled to the area's corner; each band
    // is a clip of it, so the bands join exactly as the view's own repaints do.
    const ViewGeometry view =
        ViewGeometry::OfArea(width, height, request.zoom.factor, cell, request.area, grid);

    const std::size_t cellRowPixels = static_cast<std::size_t>(width) * cell;
    const int bandCellRows = static_cast<int>(std::max<std::size_t>(1, bandPixels / cellRowPixels));
    const int bandRows = std::min(height, bandCellRows * cell);
    std::vector<std::uint32_t> band(static_cast<std::size_t>(width) * bandRows);

    MapRenderer renderer;
    for (int top = 0; top < height; top += bandRows) {
        const int rows = std::min(bandRows, height - top);
        renderer.Render(source, view, {0, top, width, top + rows}, band.data(), width);
        if (!sink(band.data(), top, rows))
            return false;
    }
    return true;
}

} // namespace krav
