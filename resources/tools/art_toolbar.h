// The pictures of the toolbar's tool and view buttons, drawn as text rows in the legend of
// art_toolbar.cpp, which writes every button out: the drawing tools in
// art_toolbar_tools.cpp, the grid and the palette windows in art_toolbar_view.cpp.

#pragma once

#include <vector>

namespace art::toolbar {

extern const std::vector<const char*> kPencil, kSelect, kEraser, kDropper, kStamp, kMagnify, kFill,
    kFlipHorizontal, kLine, kConnectedLine, kRectangle, kFilledRectangle, kEllipse, kFilledEllipse;
extern const std::vector<const char*> kGrid, kRadar, kSpecialObjects, kTileset, kTileInfo;

} // namespace art::toolbar
