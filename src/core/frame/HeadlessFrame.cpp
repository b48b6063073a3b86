#include "frame/HeadlessFrame.h"

namespace krav {

void HeadlessFrame::ShowPalette(PaletteWindow palette, bool show) {
    if (show)
        visible.insert(palette);
    else
        visible.erase(palette);
}

void HeadlessFrame::TileChoiceChanged(int tile, bool isFore) {
    (isFore ? shownFore : shownBack) = tile;
}

} // namespace krav
