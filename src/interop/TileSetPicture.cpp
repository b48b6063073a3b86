#include "TileSetPicture.h"

#include "document/LittleEndian.h"
#include "document/LoadTileSet.h"

#include <QImageReader>
#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

namespace krav {

namespace {

constexpr int BMP_HEADERS_SIZE = BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE;

// Only red, green and blue tell colours apart.
constexpr std::uint32_t RGB_BITS = 0xFFFFFFu;

// Every pixel of the picture as RGB32, top row first; alpha bits left in (see RGB_BITS). A
// picture that is RGB32 already is not copied.
class RgbPixels {
public:
    explicit RgbPixels(const QImage& image) : m_rgb(image.convertToFormat(QImage::Format_RGB32)) {
        if (m_rgb.bytesPerLine() != TILESET_WIDTH * 4)
            m_rgb = m_rgb.copy(); // rows one after the other
        m_pixels = std::span(reinterpret_cast<const std::uint32_t*>(m_rgb.constBits()),
                             TILESET_PIXEL_BYTES);
    }
    RgbPixels(const RgbPixels&) = delete;
    RgbPixels& operator=(const RgbPixels&) = delete;
    std::span<const std::uint32_t> Pixels() const { return m_pixels; }

private:
    QImage m_rgb;
    std::span<const std::uint32_t> m_pixels;
};

// The picture's colours in the order they first appear, and each pixel as its colour's place
// in that order; `tooMany` when there are more than 256 colours (then the rest is not filled).
struct ColoursInOrder {
    std::vector<std::uint32_t> colours;
    std::vector<std::uint8_t> indices;
    bool tooMany = false;
};

// A picture has few colours, often in runs: a small open-addressing table, and the last colour
// remembered, beat a general hash map.
ColoursInOrder OrderColours(std::span<const std::uint32_t> pixels) {
    constexpr std::uint32_t NONE = 0xFFFFFFFFu; // no colour: pixels have 24 bits
    constexpr std::size_t SLOTS = 1024;         // a power of two, four times 256
    std::vector<std::uint32_t> keys(SLOTS, NONE);
    std::vector<std::uint8_t> values(SLOTS);
    ColoursInOrder result;
    result.indices.resize(pixels.size());
    std::uint32_t last = NONE;
    std::uint8_t lastIndex = 0;
    for (std::size_t p = 0; p < pixels.size(); ++p) {
        const std::uint32_t rgb = pixels[p] & RGB_BITS;
        if (rgb != last) {
            std::size_t slot = (rgb * 0x9E3779B1u) >> 22; // the top 10 bits
            while (keys[slot] != NONE && keys[slot] != rgb)
                slot = (slot + 1) % SLOTS;
            if (keys[slot] == NONE) {
                if (result.colours.size() == 256) {
                    result.tooMany = true;
                    return result;
                }
                keys[slot] = rgb;
                values[slot] = static_cast<std::uint8_t>(result.colours.size());
                result.colours.push_back(rgb);
            }
            last = rgb;
            lastIndex = values[slot];
        }
        result.indices[p] = lastIndex;
    }
    return result;
}

// Decoding a tile set's picture takes less than 1 MiB in any format Qt reads to.
constexpr int PICTURE_ALLOCATION_LIMIT_MB = 1;

std::string SizeNote(int width, int height) {
    return "is " + std::to_string(width) + " x " + std::to_string(height) +
           "; a tile set is 304 x 160";
}

// 1204 as "1,204".
std::string WithThousands(int number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

int CountColours(std::span<const std::uint32_t> pixels) {
    std::vector<std::uint32_t> sorted(pixels.begin(), pixels.end());
    for (std::uint32_t& pixel : sorted)
        pixel &= RGB_BITS;
    std::sort(sorted.begin(), sorted.end());
    return static_cast<int>(std::unique(sorted.begin(), sorted.end()) - sorted.begin());
}

// Stores the picture's colour indices (top row first) as the bottom-up rows a BMP holds.
void StoreBottomUp(TileSetBitmap& tileSet, const std::vector<std::uint8_t>& indices) {
    for (int y = 0; y < TILESET_HEIGHT; ++y)
        std::memcpy(
            &tileSet.pixels[static_cast<std::size_t>(TILESET_HEIGHT - 1 - y) * TILESET_WIDTH],
            &indices[static_cast<std::size_t>(y) * TILESET_WIDTH], TILESET_WIDTH);
    tileSet.topDown = false;
}

// The picture's own indices, when it is an indexed picture whose colours are the table's.
std::optional<std::vector<std::uint8_t>> IndicesOfMatchingPalette(const QImage& image,
                                                                  const TileSetBitmap& tileSet) {
    if (image.format() != QImage::Format_Indexed8)
        return std::nullopt;
    const QList<QRgb> palette = image.colorTable();
    if (palette.size() > 256)
        return std::nullopt;
    for (int i = 0; i < palette.size(); ++i)
        if ((palette[i] & 0xFFFFFFu) != tileSet.ColourRgb(i))
            return std::nullopt;
    std::vector<std::uint8_t> indices;
    indices.reserve(TILESET_PIXEL_BYTES);
    for (int y = 0; y < TILESET_HEIGHT; ++y) {
        const uchar* line = image.constScanLine(y);
        indices.insert(indices.end(), line, line + TILESET_WIDTH);
    }
    return indices;
}

// Each pixel as the first table entry of its colour; nothing when a colour is not in it.
std::optional<std::vector<std::uint8_t>> IndicesInTable(const ColoursInOrder& picture,
                                                        const TileSetBitmap& tileSet) {
    std::vector<std::uint8_t> entryOf(picture.colours.size());
    for (std::size_t c = 0; c < picture.colours.size(); ++c) {
        int entry = 0;
        while (entry < 256 && tileSet.ColourRgb(entry) != picture.colours[c])
            ++entry;
        if (entry == 256)
            return std::nullopt;
        entryOf[c] = static_cast<std::uint8_t>(entry);
    }
    std::vector<std::uint8_t> indices(picture.indices.size());
    for (std::size_t p = 0; p < indices.size(); ++p)
        indices[p] = entryOf[picture.indices[p]];
    return indices;
}

// The BMP described by parts, with the picture's pixels; nothing when the parts are not those
// of a tile set or the picture uses colours their table does not hold.
std::unique_ptr<TileSetBitmap> FromBmpParts(const QImage& image, const ColoursInOrder& picture,
                                            const QByteArray& parts) {
    if (parts.size() < BMP_PIXELS_OFFSET)
        return nullptr;
    auto tileSet = std::make_unique<TileSetBitmap>();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(parts.constData());
    std::memcpy(tileSet->fileHeader.data(), bytes, BMP_FILE_HEADER_SIZE);
    std::memcpy(tileSet->infoHeader.data(), bytes + BMP_FILE_HEADER_SIZE, BMP_INFO_HEADER_SIZE);
    std::memcpy(tileSet->colourTable.data(), bytes + BMP_HEADERS_SIZE, BMP_COLOUR_TABLE_SIZE);
    tileSet->trailingBytes.assign(bytes + BMP_PIXELS_OFFSET, bytes + parts.size());
    // The level reader would refuse anything else.
    const std::uint8_t* info = tileSet->infoHeader.data();
    if (tileSet->fileHeader[0] != 'B' || tileSet->fileHeader[1] != 'M' ||
        ReadI32(info + 4) != TILESET_WIDTH || ReadI32(info + 8) != TILESET_HEIGHT ||
        ReadU16(info + 14) != 8)
        return nullptr;
    auto indices = IndicesOfMatchingPalette(image, *tileSet);
    if (!indices)
        indices = IndicesInTable(picture, *tileSet);
    if (!indices)
        return nullptr;
    StoreBottomUp(*tileSet, *indices);
    return tileSet;
}

bool ShowsBuiltInTileSet(std::span<const std::uint32_t> pixels) {
    static const std::vector<std::uint32_t> builtInPixels = [] {
        const auto builtIn = LoadBuiltInTileSet();
        std::vector<std::uint32_t> rgb;
        rgb.reserve(TILESET_PIXEL_BYTES);
        for (int y = 0; y < TILESET_HEIGHT; ++y)
            for (int x = 0; x < TILESET_WIDTH; ++x)
                rgb.push_back(builtIn->ColourRgb(builtIn->PixelAt(x, y)));
        return rgb;
    }();
    return std::equal(
        pixels.begin(), pixels.end(), builtInPixels.begin(), builtInPixels.end(),
        [](std::uint32_t pixel, std::uint32_t rgb) { return (pixel & RGB_BITS) == rgb; });
}

// A plain 8-bit BMP of the picture: colours in the order they first appear, unused entries
// black.
std::unique_ptr<TileSetBitmap> NewBitmap(const ColoursInOrder& picture) {
    auto tileSet = std::make_unique<TileSetBitmap>();
    std::uint8_t* file = tileSet->fileHeader.data();
    file[0] = 'B';
    file[1] = 'M';
    WriteU32(file + 2, BMP_STANDARD_SIZE);
    WriteU32(file + 10, BMP_PIXELS_OFFSET);
    std::uint8_t* info = tileSet->infoHeader.data();
    WriteU32(info + 0, BMP_INFO_HEADER_SIZE);
    WriteU32(info + 4, TILESET_WIDTH);
    WriteU32(info + 8, TILESET_HEIGHT);
    WriteU16(info + 12, 1);
    WriteU16(info + 14, 8);
    WriteU32(info + 20, TILESET_PIXEL_BYTES);
    WriteU32(info + 24, 2834);
    WriteU32(info + 28, 2834);
    WriteU32(info + 32, 256);
    for (std::size_t c = 0; c < picture.colours.size(); ++c) {
        const std::uint32_t rgb = picture.colours[c];
        std::uint8_t* colour = tileSet->colourTable.data() + c * 4;
        colour[0] = rgb & 0xFF;
        colour[1] = (rgb >> 8) & 0xFF;
        colour[2] = (rgb >> 16) & 0xFF;
    }
    StoreBottomUp(*tileSet, picture.indices);
    return tileSet;
}

} // namespace

QImage TileSetToImage(const TileSetBitmap& tileSet) {
    QImage image(TILESET_WIDTH, TILESET_HEIGHT, QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(0xFF000000u | tileSet.ColourRgb(i));
    image.setColorTable(palette);
    for (int y = 0; y < TILESET_HEIGHT; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < TILESET_WIDTH; ++x)
            line[x] = tileSet.PixelAt(x, y);
    }
    return image;
}

QByteArray BmpPartsOf(const TileSetBitmap& tileSet) {
    QByteArray parts;
    const auto append = [&parts](const auto& bytes) {
        parts.append(reinterpret_cast<const char*>(bytes.data()),
                     static_cast<qsizetype>(bytes.size()));
    };
    append(tileSet.fileHeader);
    append(tileSet.infoHeader);
    append(tileSet.colourTable);
    append(tileSet.trailingBytes);
    return parts;
}

TileSetChoice TileSetFromImage(const QImage& image, const QByteArray& bmpParts) {
    if (image.isNull())
        return {nullptr, "cannot be read as a picture"};
    if (image.width() != TILESET_WIDTH || image.height() != TILESET_HEIGHT)
        return {nullptr, SizeNote(image.width(), image.height())};
    const RgbPixels rgb(image);
    const std::span<const std::uint32_t> pixels = rgb.Pixels();
    const ColoursInOrder picture = OrderColours(pixels);
    if (picture.tooMany)
        return {nullptr, "has " + WithThousands(CountColours(pixels)) +
                             " colours; a tile set holds at most 256"};
    if (!bmpParts.isEmpty()) {
        if (auto tileSet = FromBmpParts(image, picture, bmpParts))
            return {std::move(tileSet), {}};
    } else if (ShowsBuiltInTileSet(pixels)) {
        return {nullptr, {}};
    }
    return {NewBitmap(picture), {}};
}

TileSetChoice TileSetFromPicture(QImageReader& reader, const QByteArray& bmpParts) {
    const QSize size = reader.size();
    if (size.isValid() && size != QSize(TILESET_WIDTH, TILESET_HEIGHT))
        return {nullptr, SizeNote(size.width(), size.height())};
    reader.setAllocationLimit(PICTURE_ALLOCATION_LIMIT_MB);
    const QImage image = reader.read();
    TileSetChoice choice = TileSetFromImage(image, bmpParts);
    choice.unreadable = image.isNull();
    return choice;
}

} // namespace krav
