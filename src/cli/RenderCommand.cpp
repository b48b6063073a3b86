// krav-lvl render: a picture of part of a level, drawn by the map view's own renderer.
#include "Commands.h"
#include "LevelFiles.h"
#include "MapPicturePng.h"
#include "OutputFiles.h"
#include "document/CKRAVDoc.h"
#include "editing/RadarPicture.h"
#include "render/BuiltinObjectPictures.h"
#include "render/MapPicture.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace krav::cli {

namespace {

const char* const RENDER_USAGE =
    "usage: krav-lvl render LEVEL OUT.png [--zoom 1:16|1:8|1:4|1:2|1:1|2:1]\n"
    "                       [--area LEFT,TOP,RIGHT,BOTTOM] [--grid]\n";

struct RenderOptions {
    std::string level;
    std::string out;
    PictureRequest picture; // by default the whole map at 1:16
};

int UsageError(const std::string& why) {
    std::cerr << "krav-lvl render: " << why << '\n' << RENDER_USAGE;
    return EXIT_USAGE;
}

std::optional<Rect> ParseArea(const std::string& text) {
    std::array<int, 4> values{};
    const char* p = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            if (p == end || *p != ',')
                return std::nullopt;
            ++p;
        }
        const auto [next, error] = std::from_chars(p, end, values[i]);
        if (error != std::errc() || next == p)
            return std::nullopt;
        p = next;
    }
    if (p != end)
        return std::nullopt;
    const Rect area{values[0], values[1], values[2], values[3]};
    for (const int v : values)
        if (v < 0 || v > MAP_SIZE)
            return std::nullopt;
    if (area.left >= area.right || area.top >= area.bottom)
        return std::nullopt;
    return area;
}

// Fills options from the arguments; on a usage error returns the exit code after saying why.
std::optional<int> ParseOptions(const Arguments& args, RenderOptions& options) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--grid") {
            options.picture.grid = true;
        } else if (arg == "--zoom" || arg == "--area") {
            if (i + 1 == args.size())
                return UsageError(arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--zoom") {
                const auto zoom =
                    std::find_if(PICTURE_ZOOMS.begin(), PICTURE_ZOOMS.end(),
                                 [&](const PictureZoom& z) { return value == z.text; });
                if (zoom == PICTURE_ZOOMS.end())
                    return UsageError("unknown zoom '" + value + "'");
                options.picture.zoom = *zoom;
            } else {
                const auto area = ParseArea(value);
                if (!area)
                    return UsageError("the area '" + value +
                                      "' is not LEFT,TOP,RIGHT,BOTTOM cells from 0 to 1024 "
                                      "with LEFT < RIGHT and TOP < BOTTOM");
                options.picture.area = *area;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option '" + arg + "'");
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2)
        return UsageError("needs a level and an output file");
    options.level = files[0];
    options.out = files[1];
    return std::nullopt;
}

} // namespace

// The picture holds exactly the pixels the view shows for the area's cells (see
// PictureRequest), drawn and encoded a band at a time.
int RunRender(const Arguments& args) {
    RenderOptions options;
    if (const auto failed = ParseOptions(args, options))
        return *failed;

    const long long width = options.picture.Width();
    const long long height = options.picture.Height();
    if (width > PICTURE_MAX_SIDE || height > PICTURE_MAX_SIDE)
        return UsageError("the picture would be " + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels; a PNG holds at most " +
                          std::to_string(PICTURE_MAX_SIDE) +
                          " a side: choose a smaller area or zoom");

    if (!OutputsSpareInputs({options.level}, {options.out}))
        return EXIT_FAILED;
    CKRAVDoc doc;
    std::vector<std::string> warnings;
    if (!ReadLevelFile(doc, options.level, warnings))
        return EXIT_FAILED;
    for (const auto& text : warnings)
        std::cerr << "warning: " << text << '\n';

    RadarPicture radar;
    radar.Build(doc.GetCells());
    const RenderSource source{doc.GetCells(), doc.GetTileSet(), &radar, &BuiltinObjectPictures()};
    AtomicFileWriter file;
    if (!OpenOutput(file, options.out))
        return EXIT_FAILED;
    if (!WriteMapPicturePng(source, options.picture, file).Written()) {
        PrintFileError(options.out, CANNOT_WRITE, file.Reason());
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

} // namespace krav::cli
