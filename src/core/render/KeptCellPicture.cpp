#include "render/KeptCellPicture.h"

#include <cstdlib>

namespace krav {

std::uint32_t KeptCellPixel(int x, int y) {
    constexpr int last = KEPT_PICTURE_SIZE - 1;
    if (x == 0 || y == 0 || x == last || y == last)
        return 0xFF000000u;
    // The two diagonals, three pixels wide.
    if (std::abs(x - y) <= 1 || std::abs(x + y - last) <= 1)
        return 0xFFFFFFFFu;
    return 0xFFFF00FFu;
}

} // namespace krav
