#include "document/Sectors.h"

#include <algorithm>

namespace krav {

namespace {
int SectorIndex(int coordinate) {
    return std::clamp(coordinate / SECTOR_SIZE, 0, SECTOR_COUNT - 1);
}
} // namespace

char SectorLetter(int x) {
    return static_cast<char>('A' + SectorIndex(x));
}

int SectorNumber(int y) {
    return SectorIndex(y) + 1;
}

} // namespace krav
