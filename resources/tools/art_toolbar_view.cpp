// Toolbar buttons of the view: the grid and the palette windows (radar, special objects,
// tile set and tile information).

#include "art_toolbar.h"

namespace art::toolbar {

// clang-format off
const std::vector<const char*> kGrid = {
    "dddddddddddddddd",
    "d    d    d    d",
    "d    d    d    d",
    "d    d    d    d",
    "d    d    d    d",
    "dddddddddddddddd",
    "d    d    d    d",
    "d    d    d    d",
    "d    d    d    d",
    "d    d    d    d",
    "dddddddddddddddd",
    "d    d    d    d",
    "d    d    d    d",
    "d    d    d    d",
    "d    d    d    d",
    "dddddddddddddddd",
};

const std::vector<const char*> kRadar = {
    "      kkkk      ",
    "    kkseeskk    ",
    "   kssseeeeek   ",
    "  ksssseeeeeEk  ",
    " kssseeeeeYEssk ",
    " kssessseeEessk ",
    "ksssessseEsesssk",
    "kssesssEEsssessk",
    "kssesssEEsssessk",
    "ksssessssssesssk",
    " kssYsssssseYsk ",
    " kssseesseesssk ",
    "  ksssseessssk  ",
    "   kssssssssk   ",
    "    kksssskk    ",
    "      kkkk      ",
};

const std::vector<const char*> kSpecialObjects = {
    "                ",
    "    kkkkkkkk    ",
    "   kRRRrrrrrk   ",
    "  kRRRrrrrrrrk  ",
    " kRRRrPPPPrrrrk ",
    " kRRrPyyyyPrrrk ",
    " kRrPyyYYyyPrrk ",
    " krrPyYYYYyPrrk ",
    " krrPyYYYYyPrrk ",
    " krrPyyYYyyPrrk ",
    " krrrPyyyyPrrrk ",
    " krrrrPPPPrrrrk ",
    "  krrrrrrrrrrk  ",
    "   krrrrrrrrk   ",
    "    kkkkkkkk    ",
    "                ",
};

const std::vector<const char*> kTileset = {
    "kkkkkkkkkkkkkkkk",
    "kllllkBBBBkYYYYk",
    "klgggkBbbbkYyyyk",
    "klgggkBbbbkYyyyk",
    "klgggkBbbbkYyyyk",
    "kkkkkkkkkkkkkkkk",
    "kCCCCkwwwwkRRRRk",
    "kCccckwlllkRrrrk",
    "kCccckwlllkRrrrk",
    "kCccckwlllkRrrrk",
    "kkkkkkkkkkkkkkkk",
    "kEEEEkOOOOkVVVVk",
    "kEeeekOoookVvvvk",
    "kEeeekOoookVvvvk",
    "kEeeekOoookVvvvk",
    "kkkkkkkkkkkkkkkk",
};

const std::vector<const char*> kTileInfo = {
    "kkkkkkkkkkk     ",
    "klllllllllk     ",
    "klgggggggdk     ",
    "klgwgggwgdk     ",
    "klgggggggdk     ",
    "klgggggggdkkkkkk",
    "klgggggggdkBBBBk",
    "klgwgggwgdkbbbnk",
    "klgggggggdkbbbnk",
    "klddddddddkbbbnk",
    "kkkkkkkkkkkbbbnk",
    "     kBbbbbbbbnk",
    "     kBbbbbbbbnk",
    "     kBbbbbbbbnk",
    "     kBnnnnnnnnk",
    "     kkkkkkkkkkk",
};
// clang-format on

} // namespace art::toolbar
