#include "support/LevelBytes.h"

#include <fstream>
#include <iterator>
#include <random>
#include <unistd.h>

namespace krav::test {

namespace {
void Put32(Bytes& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
} // namespace

std::uint32_t Record(int code, int x, int y) {
    return static_cast<std::uint32_t>(code) << 24 | static_cast<std::uint32_t>(y) << 12 |
           static_cast<std::uint32_t>(x);
}

void AppendRecord(Bytes& bytes, int code, int x, int y) {
    bytes.resize(bytes.size() + 4);
    Put32(bytes, bytes.size() - 4, Record(code, x, y));
}

Bytes LevelWithUnknownCodes() {
    Bytes bytes = MakeBmp();
    for (int x = 0; x < 40; ++x)
        AppendRecord(bytes, x == 5 ? 241 : x == 6 ? 242 : x + 1, x, 2);
    AppendRecord(bytes, 217, 10, 3);
    AppendRecord(bytes, 241, 20, 3);
    AppendRecord(bytes, 170, 21, 3);
    for (int x = 0; x < 4; ++x)
        AppendRecord(bytes, 100 + x, x, 4);
    AppendRecord(bytes, 242, 0, 10);
    AppendRecord(bytes, 241, 1023, 10);
    AppendRecord(bytes, 242, 1023, 1023);
    return bytes;
}

Bytes MakeBmp(const BmpShape& shape) {
    Bytes bytes(1078 + 48640 + shape.extraBytes);
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    Put32(bytes, 10, shape.offBits);
    Put32(bytes, 14, 40);
    Put32(bytes, 18, static_cast<std::uint32_t>(shape.width));
    Put32(bytes, 22, static_cast<std::uint32_t>(shape.height));
    bytes[26] = 1;
    bytes[28] = static_cast<std::uint8_t>(shape.bitsPerPixel);
    for (std::size_t i = 54; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 300);
    return bytes;
}

ScratchFolder::ScratchFolder() {
    std::random_device random;
    m_root = std::filesystem::temp_directory_path() /
             ("krav-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(m_root);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(m_root, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_root, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const Bytes& bytes) const {
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

Bytes ScratchFolder::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace krav::test
