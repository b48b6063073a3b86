#pragma once

#include "document/TileCodes.h"

#include <vector>

namespace krav::bench {

// A busy map: tiles everywhere, some empty cells, a 2 x 2 object every few cells.
inline std::vector<Cell> DenseMap() {
    std::vector<Cell> cells(MAP_CELLS);
    for (int i = 0; i < MAP_CELLS; ++i)
        cells[i] = i % 97 == 0 ? EMPTY_CELL : static_cast<Cell>(i * 7 % TILE_COUNT);
    for (int y = 0; y + 1 < MAP_SIZE; y += 9)
        for (int x = 0; x + 1 < MAP_SIZE; x += 11)
            for (int d = 0; d < 4; ++d)
                cells[(y + d / 2) * MAP_SIZE + x + d % 2] = OBJECT_2X2 + d;
    return cells;
}

} // namespace krav::bench
