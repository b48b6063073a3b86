#pragma once

#include "Prompt.h"
#include "document/TileCodes.h"
#include "editing/Geometry.h"

#include <QCursor>
#include <QImage>

namespace krav {

class CKRAVView;
class MainFrameHub;

// What a map view widget needs of the main frame around it.
class ViewFrame {
public:
    virtual ~ViewFrame() = default;

    virtual MainFrameHub& Hub() = 0;
    virtual Prompt& UserPrompt() = 0;
    // The special objects' pictures (index 0 the 6 x 6 object .. 3 the 1 x 1).
    virtual const QImage& ObjectPicture(int index) const = 0;
    virtual QCursor ToolCursor(int tool) const = 0;
    virtual QCursor MoveCursor() const = 0;

    // The view's map changed or moved: the radar window follows the active view.
    virtual void RadarCellsChanged(CKRAVView& view, const Rect& cells) = 0;
    virtual void RadarCellChanged(CKRAVView& view, int x, int y) = 0;
    virtual void RadarViewScrolled(CKRAVView& view, bool vertical) = 0;
    virtual void RadarViewRectChanged(CKRAVView& view) = 0;
    virtual void RadarShowDocument(CKRAVView& view) = 0;

    // The pointer is over a cell of the view's map (EMPTY_CELL when over none): Tile Info
    // shows the code of a kept cell.
    virtual void PointerOverCell(CKRAVView&, Cell) {}

    // The low zooms draw the tiles' own pictures shrunk instead of the radar's colours.
    virtual bool DetailedTilesWhenZoomedOut() const { return false; }
};

} // namespace krav
