#pragma once

namespace krav {

// The map is named for display in 20 x 20 sectors of 52 x 52 cells: columns "A".."T",
// rows 1..20. Positions past the last sector (the last ones are only 36 cells wide,
// but a pointer may be beyond the map) belong to the last sector.
inline constexpr int SECTOR_SIZE = 52;
inline constexpr int SECTOR_COUNT = 20;

char SectorLetter(int x);
int SectorNumber(int y);

} // namespace krav
