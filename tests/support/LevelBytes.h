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
