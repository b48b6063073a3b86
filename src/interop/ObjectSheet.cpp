#include "ObjectSheet.h"

#include "render/BuiltinObjectPictures.h"

#include <algorithm>

namespace krav {

QImage ObjectSheet() {
    const ObjectPictureSet& set = BuiltinObjectPictures();
    QImage sheet(OBJECT_TILE_SIZE * static_cast<int>(OBJECT_KINDS.size()), OBJECT_TILE_SIZE,
                 QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    for (int tile = 0; tile < static_cast<int>(OBJECT_KINDS.size()); ++tile) {
        const auto& picture = set.pictures[ObjectPictureIndex(OBJECT_KINDS[tile])];
        for (int y = 0; y < picture.size; ++y) {
            auto* line = reinterpret_cast<QRgb*>(sheet.scanLine(y)) + tile * OBJECT_TILE_SIZE;
            for (int x = 0; x < picture.size; ++x)
                line[x] =
                    set.colours[picture.pixels[static_cast<std::size_t>(y) * picture.size + x]];
        }
    }
    return sheet;
}

int ObjectSheetIndex(Cell kind) {
    const auto found = std::find(OBJECT_KINDS.begin(), OBJECT_KINDS.end(), kind);
    return found == OBJECT_KINDS.end() ? -1 : static_cast<int>(found - OBJECT_KINDS.begin());
}

} // namespace krav
