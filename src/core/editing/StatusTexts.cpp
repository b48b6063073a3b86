#include "editing/StatusTexts.h"

#include "document/Sectors.h"

#include <cstdio>

namespace krav {

namespace {

// Long enough for every text even with the widest int values.
constexpr int TEXT_SIZE = 128;

std::string SectorRow(int y) {
    return std::to_string(SectorNumber(y));
}

} // namespace

std::string CursorText(int column, int row) {
    char text[TEXT_SIZE];
    std::snprintf(text, sizeof text, "%4d, %4d :: %-1c%-2s", column, row, SectorLetter(column),
                  SectorRow(row).c_str());
    return text;
}

std::string VisibleAreaText(int left, int top, int right, int bottom) {
    char text[TEXT_SIZE];
    std::snprintf(text, sizeof text, "%d, %d --> %d, %d :: %c%s --> %c%s", left, top, right, bottom,
                  SectorLetter(left), SectorRow(top).c_str(), SectorLetter(right),
                  SectorRow(bottom).c_str());
    return text;
}

std::string ExtentText(int x0, int y0, int x1, int y1) {
    char text[TEXT_SIZE];
    std::snprintf(text, sizeof text, "%d,%d --> %d,%d :: %c%s --> %c%s", x0, y0, x1, y1,
                  SectorLetter(x0), SectorRow(y0).c_str(), SectorLetter(x1), SectorRow(y1).c_str());
    return text;
}

std::string ZoomText(double zoom) {
    // The zoom levels are exact binary fractions, so exact comparison is safe.
    struct Level {
        double zoom;
        const char* name;
    };
    static constexpr Level levels[] = {{0.0625, "1:16"}, {0.125, "1:8"}, {0.25, "1:4"},
                                       {0.5, "1:2"},     {1.0, "1:1"},   {2.0, "2:1"}};
    const char* name = "OOPS!";
    for (const Level& level : levels) {
        if (zoom == level.zoom) {
            name = level.name;
        }
    }
    char text[TEXT_SIZE];
    std::snprintf(text, sizeof text, "Zoom: %s", name);
    return text;
}

std::string FlagsText(int flags) {
    char text[TEXT_SIZE];
    std::snprintf(text, sizeof text, "Flags: %-4d", flags);
    return text;
}

} // namespace krav
