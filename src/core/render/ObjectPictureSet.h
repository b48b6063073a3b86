#pragma once

#include "document/TileCodes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace krav {

// The pictures of the four special objects, 16 pixels per footprint cell, as colour indices
// into a 256-entry table. Index 0 is the 6 x 6 object (96 pixels square), 1 the 5 x 5 (80),
// 2 the 2 x 2 (32), 3 the 1 x 1 (16).
struct ObjectPictureSet {
    struct Picture {
        int size = 0;                     // width and height in pixels
        std::vector<std::uint8_t> pixels; // size x size colour indices, top row first
    };
    std::array<Picture, 4> pictures;
    std::array<std::uint32_t, 256> colours{}; // 0xFFRRGGBB
};

// Picture index of an object's base value (500, 600, 700, 800), or -1.
inline constexpr int ObjectPictureIndex(Cell base) {
    const std::optional<SpecialObject> object = SpecialObjectOf(base);
    return object ? object->picture : -1;
}

} // namespace krav
