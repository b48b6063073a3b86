#include "palettes/RadarOverview.h"

#include "editing/RadarPicture.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace krav {

namespace {

// The colour indices from the most important down. The 2 x 2 and 1 x 1 objects share grey
// with the plain tiles in the radar picture, so they rank as plain tiles. Kept cells (white)
// come first: a level holds few, and each is something to look at.
constexpr std::array<std::uint8_t, RadarPicture::COLOUR_COUNT> IMPORTANCE{
    RADAR_WHITE, RADAR_YELLOW, RADAR_RED,    RADAR_MAGENTA, RADAR_BLUE,
    RADAR_GREEN, RADAR_CYAN,   RADAR_PURPLE, RADAR_GREY,    RADAR_BLACK};

using ColourSet = std::uint16_t; // bit i: colour index i occurs
static_assert(RadarPicture::COLOUR_COUNT <= 16);
constexpr std::size_t COLOUR_SETS = std::size_t{1} << RadarPicture::COLOUR_COUNT;

// A block is reduced by joining the bits of its cells' colours (cheap enough for a million
// cells) and then looking up the winner of the set once per pixel.
std::array<ColourSet, 256> MakeBitsOfKinds() {
    std::array<ColourSet, 256> bits{};
    for (int kind = 0; kind < 256; ++kind)
        bits[kind] =
            static_cast<ColourSet>(1u << RadarColourOfKind(static_cast<std::uint8_t>(kind)));
    return bits;
}

constexpr std::array<std::uint8_t, COLOUR_SETS> MakeWinners() {
    std::array<std::uint8_t, COLOUR_SETS> winners{};
    for (std::size_t set = 0; set < COLOUR_SETS; ++set) {
        winners[set] = RADAR_BLACK;
        for (const std::uint8_t index : IMPORTANCE) {
            if (set & (std::size_t{1} << index)) {
                winners[set] = index;
                break;
            }
        }
    }
    return winners;
}

const std::array<ColourSet, 256> BITS_OF_KINDS = MakeBitsOfKinds();
constexpr std::array<std::uint8_t, COLOUR_SETS> WINNERS = MakeWinners();

} // namespace

void RadarOverview::Resize(int width, int height) {
    m_side = std::clamp(std::min(width, height), 0, MAP_SIZE);
    m_origin = {std::max(width - m_side, 0) / 2, std::max(height - m_side, 0) / 2};
    m_starts.resize(static_cast<std::size_t>(m_side) + 1);
    for (int i = 0; i <= m_side; ++i)
        m_starts[i] = m_side == 0 ? MAP_SIZE : i * MAP_SIZE / m_side;
    m_pixelOf.assign(MAP_SIZE, 0);
    for (int i = 0; i < m_side; ++i)
        std::fill(m_pixelOf.begin() + m_starts[i], m_pixelOf.begin() + m_starts[i + 1], i);
    m_pixels.assign(static_cast<std::size_t>(m_side) * m_side, RADAR_BLACK);
}

void RadarOverview::Build(const RadarPicture& picture) {
    Reduce(picture, 0, m_side, 0, m_side);
}

Rect RadarOverview::Update(const RadarPicture& picture, const Rect& cells) {
    const Rect onMap = ClipToMap(cells);
    if (m_side == 0 || onMap.IsEmpty())
        return {};
    const int firstX = m_pixelOf[onMap.left];
    const int endX = m_pixelOf[onMap.right - 1] + 1;
    const int firstY = m_pixelOf[onMap.top];
    const int endY = m_pixelOf[onMap.bottom - 1] + 1;
    Reduce(picture, firstX, endX, firstY, endY);
    return Rect{firstX, firstY, endX, endY}.Offset(m_origin.x, m_origin.y);
}

void RadarOverview::Reduce(const RadarPicture& picture, int firstX, int endX, int firstY,
                           int endY) {
    std::vector<ColourSet> sets(static_cast<std::size_t>(endX - firstX));
    for (int py = firstY; py < endY; ++py) {
        std::fill(sets.begin(), sets.end(), ColourSet{0});
        for (int y = m_starts[py]; y < m_starts[py + 1]; ++y) {
            const std::uint8_t* row = picture.KindRow(y);
            for (int px = firstX; px < endX; ++px) {
                ColourSet set = 0;
                for (int x = m_starts[px]; x < m_starts[px + 1]; ++x)
                    set |= BITS_OF_KINDS[row[x]];
                sets[px - firstX] |= set;
            }
        }
        std::uint8_t* out = m_pixels.data() + static_cast<std::size_t>(py) * m_side;
        for (int px = firstX; px < endX; ++px)
            out[px] = WINNERS[sets[px - firstX]];
    }
}

Rect RadarOverview::CellsOnClient(const Rect& cells) const {
    const Rect onMap = ClipToMap(cells);
    if (m_side == 0 || onMap.IsEmpty())
        return {};
    return Rect{m_pixelOf[onMap.left], m_pixelOf[onMap.top], m_pixelOf[onMap.right - 1] + 1,
                m_pixelOf[onMap.bottom - 1] + 1}
        .Offset(m_origin.x, m_origin.y);
}

Point RadarOverview::CellAt(int x, int y) const {
    if (m_side == 0)
        return {MAP_SIZE / 2, MAP_SIZE / 2};
    const auto middle = [this](int pixel) {
        const int i = std::clamp(pixel, 0, m_side - 1);
        return (m_starts[i] + m_starts[i + 1]) / 2;
    };
    return {middle(x - m_origin.x), middle(y - m_origin.y)};
}

} // namespace krav
