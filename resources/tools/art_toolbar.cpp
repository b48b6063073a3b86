// The toolbar buttons: 16 x 16 pixel art, written out as text so that each
// button can be read and touched up here. One legend for all keeps the
// colours and the dark outline the same from button to button.

#include "art_toolbar.h"

#include "art.h"

namespace art {
namespace {

using namespace toolbar;

// clang-format off
const std::vector<Ink> kLegend = {
    {' ', 0},
    {'k', opaque(0x1E2226)}, // outline
    {'d', opaque(0x5A6470)}, // dark grey
    {'g', opaque(0x98A2AE)}, // grey
    {'l', opaque(0xD4D9DE)}, // light grey
    {'w', opaque(0xFFFFFF)}, // white
    {'n', opaque(0x1E3F8F)}, // dark blue: shapes
    {'b', opaque(0x3B7DE0)}, // blue
    {'B', opaque(0xA8CBFF)}, // light blue
    {'r', opaque(0xC8302A)}, // red
    {'R', opaque(0xF49080)}, // light red
    {'y', opaque(0xF0BC1C)}, // yellow
    {'Y', opaque(0xFFE680)}, // pale yellow
    {'u', opaque(0xC08A10)}, // dark yellow
    {'o', opaque(0x8A5426)}, // brown
    {'O', opaque(0xDCA468)}, // tan
    {'e', opaque(0x2E9A3E)}, // green
    {'E', opaque(0x9BE38E)}, // light green
    {'c', opaque(0x1AAFC4)}, // cyan
    {'C', opaque(0xC4F4FA)}, // pale cyan
    {'v', opaque(0x8A48CC)}, // violet
    {'V', opaque(0xD49CF4)}, // light violet
    {'p', opaque(0xF4A8BC)}, // pink
    {'P', opaque(0xC05A74)}, // dark pink
    {'s', opaque(0x243040)}, // radar screen
};

const std::vector<const char*> kNew = {
    "                ",
    "  kkkkkkkkk     ",
    "  kwwwwwwwkk    ",
    "  kwwwwwwwklk   ",
    "  kwwwwwwwkllk  ",
    "  kwwwwwwwkkkkk ",
    "  kwwwwwwwwwwlk ",
    "  kwwwwwwwwwwlk ",
    "  kwwwwwwwwwwlk ",
    "  kwwwwwwwwwwlk ",
    "  kwwwwwwwwwwlk ",
    "  kwwwwwwwwwwlk ",
    "  kwwwwwwwwwwlk ",
    "  kwwwwwwwwwwlk ",
    "  kllllllllllk  ",
    "  kkkkkkkkkkkk  ",
};

const std::vector<const char*> kOpen = {
    "                ",
    "                ",
    " kkkk           ",
    "kuuuuk          ",
    "kuuuuukkkkkkkk  ",
    "kuuuuuuuuuuuuuk ",
    "kuuukkkkkkkkkkkk",
    "kuuukYYYYYYYYYYk",
    "kuuukyyyyyyyyyyk",
    "kuukyyyyyyyyyyk ",
    "kuukyyyyyyyyyyk ",
    "kukyyyyyyyyyyk  ",
    "kukyyyyyyyyyyk  ",
    "kkyyyyyyyyyyk   ",
    "kkkkkkkkkkkk    ",
    "                ",
};

const std::vector<const char*> kSave = {
    "                ",
    " kkkkkkkkkkkkkk ",
    " kbbkllllllkbbk ",
    " kbbklldlllkbbk ",
    " kbbklldlllkbbk ",
    " kbbkllllllkbbk ",
    " kbbbkkkkkkbbbk ",
    " kbbbbbbbbbbbbk ",
    " kbkkkkkkkkkkbk ",
    " kbkwwwwwwwwkbk ",
    " kbkwddddddwkbk ",
    " kbkwwwwwwwwkbk ",
    " kbkwddddddwkbk ",
    " kbkwwwwwwwwkbk ",
    " kkkkkkkkkkkkkk ",
    "                ",
};

const std::vector<const char*> kCut = {
    "                ",
    " kk          kk ",
    " klk        klk ",
    "  klk      klk  ",
    "   klk    klk   ",
    "    klk  klk    ",
    "     klkklk     ",
    "      kddk      ",
    "      kddk      ",
    "     krkkrk     ",
    "   kkrk  krkk   ",
    "  krrrk  krrrk  ",
    " kr  rk  kr  rk ",
    " kr  rk  kr  rk ",
    " krrrrk  krrrrk ",
    "  kkkk    kkkk  ",
};

const std::vector<const char*> kCopy = {
    "kkkkkkk         ",
    "kwwwwwkk        ",
    "kwwwwwklk       ",
    "kwdddwkkkk      ",
    "kwwwwkkkkkkk    ",
    "kwdddkwwwwwkk   ",
    "kwwwwkwwwwwklk  ",
    "kwdddkwddddkkkk ",
    "kwwwwkwwwwwwwwk ",
    "kwdddkwdddddddk ",
    "kwwwwkwwwwwwwwk ",
    "kkkkkkwdddddddk ",
    "     kwwwwwwwwk ",
    "     kwdddddwwk ",
    "     kwwwwwwwwk ",
    "     kkkkkkkkkk ",
};

const std::vector<const char*> kPaste = {
    "    kkkkkk      ",
    " kkkkllllkkkk   ",
    " kOOkggggkOOk   ",
    " kOOkkkkkkOOk   ",
    " kOOOOOOOOOOk   ",
    " kOOOOOOOOOOk   ",
    " kOOOkkkkkkkk   ",
    " kOOOkwwwwwkk   ",
    " kOOOkwwwwwklk  ",
    " kOOOkwwwwwkkkk ",
    " kOOOkwdddddwwk ",
    " kOOOkwwwwwwwwk ",
    " kOOOkwddddddwk ",
    " kOOOkwwwwwwwwk ",
    " kOOOkwdddddwwk ",
    " kkkkkkkkkkkkkk ",
};

const std::vector<const char*> kUndo = {
    "                ",
    "    kk          ",
    "   kBk          ",
    "  kBbkkkkkkk    ",
    " kBbbBBBBBBbkk  ",
    "kBbbbbbbbbbbbbk ",
    " kbbbbbbbbbbbbbk",
    "  kbbkkkkkkkbbbk",
    "   kbk      kbbk",
    "    kk      kbbk",
    "            kbbk",
    "      kkkkkkbbbk",
    "      kbbbbbbbk ",
    "      kbbbbbbk  ",
    "      kkkkkkk   ",
    "                ",
};

const std::vector<const char*> kPrint = {
    "                ",
    "   kkkkkkkkkk   ",
    "   kwwwwwwwwk   ",
    "   kwddddddwk   ",
    "   kwwwwwwwwk   ",
    " kkkkkkkkkkkkkk ",
    " kllllllllllllk ",
    " klggggggggggEk ",
    " kggggggggggggk ",
    " kgkkkkkkkkkkgk ",
    " kgkwwwwwwwwkgk ",
    " kdkwddddddwkdk ",
    " kkkwwwwwwwwkkk ",
    "   kwddddddwk   ",
    "   kwwwwwwwwk   ",
    "   kkkkkkkkkk   ",
};

const std::vector<const char*> kAbout = {
    "     kkkkkk     ",
    "   kkbbbbbbkk   ",
    "  kbBBbbbbbbbk  ",
    " kbBbbbwwbbbbbk ",
    " kBbbbbwwbbbbbk ",
    "kbbbbbbbbbbbbbbk",
    "kbbbbwwwwbbbbbbk",
    "kbbbbbbwwbbbbbbk",
    "kbbbbbbwwbbbbbbk",
    "kbbbbbbwwbbbbbbk",
    "kbbbbbbwwbbbbbbk",
    " kbbbbbwwbbbbbk ",
    " kbbbwwwwwwbbbk ",
    "  kbbbbbbbbbbk  ",
    "   kkbbbbbbkk   ",
    "     kkkkkk     ",
};
// clang-format on

struct Button {
    const char* name;
    Image image;
};

std::vector<Button> buttons() {
    auto im = [](const std::vector<const char*>& rows) { return fromText(16, 16, kLegend, rows); };
    return {
        {"new", im(kNew)},
        {"open", im(kOpen)},
        {"save", im(kSave)},
        {"cut", im(kCut)},
        {"copy", im(kCopy)},
        {"paste", im(kPaste)},
        {"undo", im(kUndo)},
        {"redo", flippedX(im(kUndo))},
        {"print", im(kPrint)},
        {"about", im(kAbout)},
        {"pencil", im(kPencil)},
        {"select", im(kSelect)},
        {"eraser", im(kEraser)},
        {"dropper", im(kDropper)},
        {"stamp", im(kStamp)},
        {"magnify", im(kMagnify)},
        {"fill", im(kFill)},
        {"flip_horizontal", im(kFlipHorizontal)},
        {"flip_vertical", transposed(im(kFlipHorizontal))},
        {"line", im(kLine)},
        {"connected_line", im(kConnectedLine)},
        {"rectangle", im(kRectangle)},
        {"filled_rectangle", im(kFilledRectangle)},
        {"ellipse", im(kEllipse)},
        {"filled_ellipse", im(kFilledEllipse)},
        {"grid", im(kGrid)},
        {"radar", im(kRadar)},
        {"objects_palette", im(kSpecialObjects)},
        {"tileset", im(kTileset)},
        {"tile_info", im(kTileInfo)},
    };
}

} // namespace

bool writeToolbar(const OutDirs& out) {
    bool ok = true;
    for (const Button& b : buttons()) {
        const std::string path = out.art + "/toolbar/" + b.name;
        const std::string name = std::string("toolbar_") + b.name;
        // QIcon takes NAME@2x.xpm for screens of device pixel ratio 2 by itself.
        ok = writeFile(path + ".xpm", encodeXpm(b.image, name)) && ok;
        ok = writeFile(path + "@2x.xpm", encodeXpm(doubled(b.image), name + "_2x")) && ok;
    }
    return ok;
}

} // namespace art
