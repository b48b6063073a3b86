#pragma once

// Names both directions of the Tiled map exchange agree on.
namespace krav::tmx {

inline constexpr char TILE_LAYER[] = "tiles";
inline constexpr char TILE_SET[] = "tiles";
inline constexpr char OBJECT_GROUP[] = "special objects";
inline constexpr char OBJECT_TILE_SET[] = "special objects";
inline constexpr char KIND_PROPERTY[] = "kind";
// Base64 of what an embedded tile set's BMP holds besides its pixels (see BmpPartsOf).
inline constexpr char BMP_PROPERTY[] = "krav-bmp";
inline constexpr int TILE_PIXELS = 16;

} // namespace krav::tmx
