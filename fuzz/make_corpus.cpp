// Writes the seed corpus of the fuzz targets: small valid levels and bitmaps, and the edge cases
// the readers have to get right, into OUT/level and OUT/tileset. The bytes come from the test
// suite's builders, so that records and bitmaps are encoded in one place.
//
// Usage: krav_fuzz_corpus OUT
#include "support/LevelBytes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <string>

namespace {

using krav::test::AppendRecord;
using krav::test::BmpShape;
using krav::test::Bytes;
using krav::test::MakeBmp;

using Files = std::map<std::string, Bytes>;

constexpr std::uint32_t kStandardSize = 1078 + 304 * 160; // 49,718

struct Rec {
    int code, x, y;
};

Bytes Records(std::initializer_list<Rec> records) {
    Bytes bytes;
    for (const Rec& r : records)
        AppendRecord(bytes, r.code, r.x, r.y);
    return bytes;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void Put32(Bytes& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A bitmap whose header claims another file size (bfSize) than it has.
Bytes WithFileSize(Bytes bmp, std::uint32_t size) {
    Put32(bmp, 2, size);
    return bmp;
}

Bytes Cut(const Bytes& bytes, std::size_t size) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

// One of every kind of code, in the order the writer emits them.
const Rec kEveryCode[] = {{1, 0, 0},      {190, 1023, 0}, {219, 10, 20},
                          {220, 300, 20}, {217, 5, 400},  {216, 6, 400},
                          {170, 7, 400},  {218, 9, 400},  {171, 1023, 1023}};

Bytes EveryCode(bool reversed = false) {
    Bytes bytes;
    for (std::size_t i = 0; i < std::size(kEveryCode); ++i) {
        const Rec& r = kEveryCode[reversed ? std::size(kEveryCode) - 1 - i : i];
        AppendRecord(bytes, r.code, r.x, r.y);
    }
    return bytes;
}

Files LevelCorpus() {
    Bytes flags;
    for (int x = 0; x < 257; ++x)
        AppendRecord(flags, 170, x, 0);
    AppendRecord(flags, 170, 2000, 0);
    Bytes notABitmap{'B', 'M'};
    notABitmap.resize(6);
    Put32(notABitmap, 2, 8);

    Files files = {
        {"empty", {}},
        {"five-bytes", Records({{12, 7, 9}}) + Bytes{'x'}},
        {"one-tile", Records({{5, 1, 1}})},
        {"every-code", EveryCode()},
        {"every-code-reversed", EveryCode(true)},
        {"objects-at-the-edges", Records({{219, 1020, 5},
                                          {220, 40, 1021},
                                          {219, 1023, 1023},
                                          {217, 1023, 0},
                                          {220, 0, 1023},
                                          {216, 1023, 1023}})},
        {"outside-the-grid",
         Records({{0, 1024, 0}, {255, 0, 4095}, {3, 4095, 4095}, {3, 1023, 1023}})},
        {"flags-257", flags},
        {"overlapping-objects",
         Records({{219, 3, 3}, {217, 2, 2}, {220, 6, 6}, {5, 6, 6}, {219, 0, 1}, {217, 4, 0}})},
        {"tile-on-anchor", Records({{219, 10, 10}, {40, 10, 10}, {217, 20, 20}, {41, 21, 21}})},
        {"bm-six-bytes", Bytes{'B', 'M', 0, 0, 0, 0}},
        {"bm-not-a-bitmap", notABitmap + Records({{5, 0, 0}})},
        {"tile-set", MakeBmp()},
        {"tile-set-and-records", MakeBmp() + EveryCode()},
        {"tile-set-trailing-34", MakeBmp({.extraBytes = 34}) + EveryCode()},
        {"tile-set-offbits-1100", MakeBmp({.offBits = 1100, .extraBytes = 22}) + EveryCode()},
        {"tile-set-bfsize-past-end", WithFileSize(MakeBmp({.extraBytes = 8}), 0x100000)},
        {"tile-set-bfsize-too-small", WithFileSize(MakeBmp(), kStandardSize - 1) + EveryCode()},
        {"tile-set-bfsize-odd", MakeBmp({.extraBytes = 3}) + EveryCode() + Bytes{1, 2}},
        {"tile-set-cut-in-pixels", Cut(MakeBmp(), 2000)},
        {"tile-set-cut-in-colours", Cut(MakeBmp(), 600)},
        {"tile-set-cut-in-header", Cut(MakeBmp(), 40)},
        {"tile-set-top-down", MakeBmp({.height = -160})},
        {"tile-set-16-colours", MakeBmp({.bitsPerPixel = 4})},
    };
    for (const int code : {0, 191, 215, 221, 255})
        files["code-" + std::to_string(code)] = Records({{code, 3, 3}});
    return files;
}

Files TileSetCorpus() {
    const Bytes plain = MakeBmp();
    Bytes coloursUsed16 = plain;
    Put32(coloursUsed16, 46, 16);
    return {
        {"plain", plain},
        {"trailing-34", MakeBmp({.extraBytes = 34})},
        {"trailing-358", MakeBmp({.extraBytes = 358})},
        {"offbits-1100", MakeBmp({.offBits = 1100, .extraBytes = 22})},
        {"offbits-0", MakeBmp({.offBits = 0})},
        {"colours-used-16", coloursUsed16},
        {"bfsize-past-end", WithFileSize(MakeBmp({.extraBytes = 8}), 0xFFFFFFFF)},
        {"bfsize-too-small", WithFileSize(plain, kStandardSize - 1)},
        {"bfsize-short-file", WithFileSize(plain, kStandardSize + 100)},
        {"cut-6", Cut(plain, 6)},
        {"cut-14", Cut(plain, 14)},
        {"cut-53", Cut(plain, 53)},
        {"cut-54", Cut(plain, 54)},
        {"cut-1077", Cut(plain, 1077)},
        {"cut-1078", Cut(plain, 1078)},
        {"cut-in-pixels", Cut(plain, 30000)},
        {"cut-last-pixel", Cut(plain, plain.size() - 1)},
        {"top-down", MakeBmp({.height = -160})},
        {"width-305", MakeBmp({.width = 305, .height = 161})},
        {"height-161", MakeBmp({.height = 161})},
        {"16-colours", MakeBmp({.bitsPerPixel = 4})},
        {"24-bit", MakeBmp({.bitsPerPixel = 24})},
        {"empty", {}},
    };
}

bool WriteAll(const std::filesystem::path& folder, const Files& files) {
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : files) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "krav_fuzz_corpus: cannot write %s\n", (folder / name).c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: krav_fuzz_corpus OUT\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    if (!WriteAll(out / "level", LevelCorpus()) || !WriteAll(out / "tileset", TileSetCorpus()))
        return 1;
    std::printf("corpus written to %s\n", out.c_str());
    return 0;
}
