#pragma once

// Builders for level and BMP files in tests, and a scratch folder to put them in.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace krav::test {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Record(int code, int x, int y);
void AppendRecord(Bytes& bytes, int code, int x, int y);

struct BmpShape {
    int width = 304;
    int height = 160;
    int bitsPerPixel = 8;
    std::uint32_t offBits = 1078;
    std::uint32_t extraBytes = 0; // after the pixels, counted in bfSize
};

// A BMP with a recognisable colour table and pixels; bfSize = 1078 + 48640 + extraBytes.
Bytes MakeBmp(const BmpShape& shape = {});

// A level as made outside this project, with records of codes no tile or object has, row by
// row as the writer puts them (so that saving it gives the same bytes): a tile set; row 2
// tiles at x = 0..39 but codes 241 and 242 at x = 5 and 6; row 3 a 2 x 2 object at x = 10, code
// 241 at x = 20, a flag at x = 21; row 4 tiles at x = 0..3; row 10 code 242 at x = 0 and code
// 241 at x = 1023; row 1023 code 242 at x = 1023. Six unknown records, the first (byte 49738)
// cell (5, 2) code 241.
Bytes LevelWithUnknownCodes();
inline constexpr std::uint64_t UNKNOWN_RECORDS = 6;
inline constexpr std::uint64_t FIRST_UNKNOWN_OFFSET = 49718 + 5 * 4;

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const { return (m_root / name).string(); }
    std::string Write(const std::string& name, const Bytes& bytes) const;
    static Bytes Read(const std::string& path);

private:
    std::filesystem::path m_root;
};

} // namespace krav::test
