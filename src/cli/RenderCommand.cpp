// krav-lvl render: a picture of part of a level, drawn by the map view's own renderer.
#include "Commands.h"
#include "LevelFiles.h"
#include "document/CKRAVDoc.h"
#include "editing/RadarPicture.h"
#include "editing/ViewGeometry.h"
#include "render/BuiltinObjectPictures.h"
#include "render/MapRenderer.h"

#include <QImage>
#include <QString>
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

// A bigger picture would take gigabytes; the whole map at 1:1 is exactly this wide.
constexpr int MAX_IMAGE_SIDE = 16384;

struct Zoom {
    const char* text;
    double factor;
    int cellSize;
};

constexpr std::array<Zoom, 6> ZOOMS{{{"1:16", 0.0625, 1},
                                     {"1:8", 0.125, 2},
                                     {"1:4", 0.25, 4},
                                     {"1:2", 0.5, 8},
                                     {"1:1", 1.0, 16},
                                     {"2:1", 2.0, 32}}};

struct RenderOptions {
    std::string level;
    std::string out;
    Zoom zoom = ZOOMS[0];
    Rect area{0, 0, MAP_SIZE, MAP_SIZE}; // cells, right and bottom excluded
    bool grid = false;
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
            options.grid = true;
        } else if (arg == "--zoom" || arg == "--area") {
            if (i + 1 == args.size())
                return UsageError(arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--zoom") {
                const auto zoom = std::find_if(ZOOMS.begin(), ZOOMS.end(),
                                               [&](const Zoom& z) { return value == z.text; });
                if (zoom == ZOOMS.end())
                    return UsageError("unknown zoom '" + value + "'");
                options.zoom = *zoom;
            } else {
                const auto area = ParseArea(value);
                if (!area)
                    return UsageError("the area '" + value +
                                      "' is not LEFT,TOP,RIGHT,BOTTOM cells from 0 to 1024 "
                                      "with LEFT < RIGHT and TOP < BOTTOM");
                options.area = *area;
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

// The picture holds exactly the pixels the view shows for the area's cells: area x cell size.
// The white map edge lies outside the map's last cell, so it is never in the picture; as in
// the view, the map's last column and row carry no grid line of their own, the edge taking
// their place.
int RunRender(const Arguments& args) {
    RenderOptions options;
    if (const auto failed = ParseOptions(args, options))
        return *failed;

    const int cell = options.zoom.cellSize;
    const long long width = static_cast<long long>(options.area.Width()) * cell;
    const long long height = static_cast<long long>(options.area.Height()) * cell;
    if (width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE)
        return UsageError("the picture would be " + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels; at most " +
                          std::to_string(MAX_IMAGE_SIDE) +
                          " a side: choose a smaller area or zoom");

    CKRAVDoc doc;
    std::vector<std::string> warnings;
    if (!ReadLevelFile(doc, options.level, warnings))
        return EXIT_FAILED;
    for (const auto& text : warnings)
        std::cerr << "warning: " << text << '\n';

    const bool lowZoom = options.zoom.factor <= LOW_ZOOM_LIMIT;
    const ViewGeometry view =
        ViewGeometry::OfArea(static_cast<int>(width), static_cast<int>(height), options.zoom.factor,
                             cell, options.area, options.grid && !lowZoom);

    RadarPicture radar;
    radar.Build(doc.GetCells());

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull()) {
        std::cerr << "Out of memory!\n";
        return EXIT_FAILED;
    }
    // Format_RGB32 keeps each pixel as 0xFFRRGGBB, as the renderer writes them.
    MapRenderer renderer;
    renderer.Render({doc.GetCells(), doc.GetTileSet(), &radar, &BuiltinObjectPictures()}, view,
                    view.ClientRect(), reinterpret_cast<std::uint32_t*>(image.bits()),
                    static_cast<int>(image.bytesPerLine() / 4));
    if (!image.save(QString::fromStdString(options.out), "PNG")) {
        std::cerr << "Couldn't write " << options.out << '\n';
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

} // namespace krav::cli
