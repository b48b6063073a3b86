// libFuzzer target: any bytes as a tile set BMP. The loader must refuse exactly the bitmaps it
// cannot use, with the message for the first check that fails, and what it accepts must be the
// input's own bytes: headers, colour table, 48,640 pixels (black past the end of a short file)
// and the trailing bytes up to bfSize, never beyond the input.
#include "document/LittleEndian.h"
#include "document/LoadTileSet.h"
#include "document/Messages.h"
#include "document/ReadError.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

namespace {

using namespace krav;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "tileset_fuzzer: %s\n", what);
    std::abort();
}

void Require(bool condition, const char* what) {
    if (!condition)
        Fail(what);
}

// The message the loader must give for these bytes, or empty when it must accept them.
std::string ExpectedRefusal(const std::uint8_t* data, std::size_t size) {
    const std::string contact = messages::CONTACT_ADDRESS;
    if (size < BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE)
        return messages::BMP_TRUNCATED;
    const std::uint8_t* info = data + BMP_FILE_HEADER_SIZE;
    if (ReadI32(info + 4) != TILESET_WIDTH)
        return messages::WIDTH_NOT_304 + contact;
    if (ReadI32(info + 8) != TILESET_HEIGHT)
        return messages::HEIGHT_NOT_160 + contact;
    if (ReadU16(info + 14) != 8)
        return messages::NOT_256_COLOURS;
    if (size < static_cast<std::size_t>(BMP_PIXELS_OFFSET))
        return messages::BMP_TRUNCATED;
    if (ReadU32(data + 2) < static_cast<std::uint32_t>(BMP_STANDARD_SIZE))
        return messages::BMP_SIZE_TOO_SMALL;
    return {};
}

// Whether bytes equal the input's from offset on (and lie inside it).
bool SameBytes(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> input,
               std::size_t offset) {
    if (bytes.empty())
        return true;
    return offset <= input.size() && bytes.size() <= input.size() - offset &&
           std::memcmp(bytes.data(), input.data() + offset, bytes.size()) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string refusal = ExpectedRefusal(data, size);
    std::unique_ptr<TileSetBitmap> tileSet;
    try {
        tileSet = LoadTileSet(MemorySource({data, size}));
    } catch (const ReadError& error) {
        Require(!refusal.empty(), "refused a usable bitmap");
        Require(error.what() == refusal, "refused with the wrong message");
        return 0;
    }
    Require(refusal.empty(), "accepted a bitmap it must refuse");
    Require(tileSet != nullptr, "no tile set and no error");
    const std::span<const std::uint8_t> input(data, size);

    Require(SameBytes(tileSet->fileHeader, input, 0), "file header is not the input's");
    Require(SameBytes(tileSet->infoHeader, input, BMP_FILE_HEADER_SIZE),
            "info header is not the input's");
    Require(SameBytes(tileSet->colourTable, input, BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE),
            "colour table is not the input's");
    Require(!tileSet->topDown, "a bitmap from a file is held top-down");

    Require(tileSet->pixels.size() == TILESET_PIXEL_BYTES, "not 48,640 pixels");
    const std::size_t present =
        std::min<std::size_t>(size - BMP_PIXELS_OFFSET, TILESET_PIXEL_BYTES);
    Require(SameBytes({tileSet->pixels.data(), present}, input, BMP_PIXELS_OFFSET),
            "pixels are not the input's");
    Require(std::all_of(tileSet->pixels.begin() + static_cast<std::ptrdiff_t>(present),
                        tileSet->pixels.end(), [](std::uint8_t p) { return p == 0; }),
            "pixels past the end of the input are not black");

    // Trailing bytes run from the end of the pixels to bfSize or the end of the input.
    const std::uint64_t bmpEnd = std::min<std::uint64_t>(tileSet->FileSize(), size);
    const std::size_t trailing =
        bmpEnd > BMP_STANDARD_SIZE ? static_cast<std::size_t>(bmpEnd - BMP_STANDARD_SIZE) : 0;
    Require(tileSet->trailingBytes.size() == trailing, "wrong number of trailing bytes");
    Require(SameBytes(tileSet->trailingBytes, input, BMP_STANDARD_SIZE),
            "trailing bytes are not the input's");
    return 0;
}
