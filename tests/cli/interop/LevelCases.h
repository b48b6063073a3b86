#pragma once

// Levels of every kind the editor or an older file can give: objects at and past the map's
// edge, over tiles and over each other, as many flags as a level takes and one more, odd tile
// set headers, a dense map. Each as our writer makes it, or as a file of such a level is.
#include "support/LevelBytes.h"

#include <functional>
#include <string>
#include <vector>

namespace krav::test {

struct RoundTripCase {
    const char* name;
    std::function<Bytes()> level;
    std::string refusal = {}; // what import-tmx says of the exported map; empty: it takes it
};

const std::vector<RoundTripCase>& LevelCases();

} // namespace krav::test
