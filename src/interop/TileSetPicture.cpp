#include "TileSetPicture.h"

#include "document/LittleEndian.h"
#include "document/LoadTileSet.h"

#include <QImageReader>
#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

namespace krav {

namespace {

constexpr int BMP_HEADERS_SIZE = BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE;

// Red, green and blue of every pixel of the picture, top row first.
std::vector<std::uint32_t> RgbPixels(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<std::uint32_t> pixels;
    pixels.reserve(TILESET_PIXEL_BYTES);
    for (int y = 0; y < TILESET_HEIGHT; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < TILESET_WIDTH; ++x)
            pixels.push_back(line[x] & 0xFFFFFFu);
    }
    return pixels;
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

int CountColours(const std::vector<std::uint32_t>& pixels) {
    std::vector<std::uint32_t> sorted = pixels;
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
std::optional<std::vector<std::uint8_t>> IndicesInTable(const std::vector<std::uint32_t>& pixels,
                                                        const TileSetBitmap& tileSet) {
    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    for (int i = 255; i >= 0; --i)
        indexOf[tileSet.ColourRgb(i)] = static_cast<std::uint8_t>(i);
    std::vector<std::uint8_t> indices;
    indices.reserve(pixels.size());
    for (const std::uint32_t rgb : pixels) {
        const auto found = indexOf.find(rgb);
        if (found == indexOf.end())
            return std::nullopt;
        indices.push_back(found->second);
    }
    return indices;
}

// The BMP described by parts, with the picture's pixels; nothing when the parts are not those
// of a tile set or the picture uses colours their table does not hold.
std::unique_ptr<TileSetBitmap> FromBmpParts(const QImage& image,
                                            const std::vector<std::uint32_t>& pixels,
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
        indices = IndicesInTable(pixels, *tileSet);
    if (!indices)
        return nullptr;
    StoreBottomUp(*tileSet, *indices);
    return tileSet;
}

bool ShowsBuiltInTileSet(const std::vector<std::uint32_t>& pixels) {
    const auto builtIn = LoadBuiltInTileSet();
    for (int y = 0; y < TILESET_HEIGHT; ++y)
        for (int x = 0; x < TILESET_WIDTH; ++x)
            if (pixels[static_cast<std::size_t>(y) * TILESET_WIDTH + x] !=
                builtIn->ColourRgb(builtIn->PixelAt(x, y)))
                return false;
    return true;
}

// A plain 8-bit BMP of the picture: colours in the order they first appear, unused entries
// black.
std::unique_ptr<TileSetBitmap> NewBitmap(const std::vector<std::uint32_t>& pixels) {
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

    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    std::vector<std::uint8_t> indices;
    indices.reserve(pixels.size());
    for (const std::uint32_t rgb : pixels) {
        auto [entry, added] = indexOf.try_emplace(rgb, static_cast<std::uint8_t>(indexOf.size()));
        if (added) {
            std::uint8_t* colour = tileSet->colourTable.data() + entry->second * 4;
            colour[0] = rgb & 0xFF;
            colour[1] = (rgb >> 8) & 0xFF;
            colour[2] = (rgb >> 16) & 0xFF;
        }
        indices.push_back(entry->second);
    }
    StoreBottomUp(*tileSet, indices);
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
    const std::vector<std::uint32_t> pixels = RgbPixels(image);
    const int colours = CountColours(pixels);
    if (colours > 256)
        return {nullptr,
                "has " + WithThousands(colours) + " colours; a tile set holds at most 256"};
    if (!bmpParts.isEmpty()) {
        if (auto tileSet = FromBmpParts(image, pixels, bmpParts))
            return {std::move(tileSet), {}};
    } else if (ShowsBuiltInTileSet(pixels)) {
        return {nullptr, {}};
    }
    return {NewBitmap(pixels), {}};
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
