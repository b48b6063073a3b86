#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

struct png_struct_def;
struct png_info_def;

namespace krav {

// Encodes a PNG (8-bit RGB) a few rows at a time and hands its bytes to an output as they come,
// so that a picture of any size needs only one row of memory. Compression is chosen for speed:
// zlib's fast deflate without row filters (on a dense map at 1:1 both faster and smaller than
// with the Sub or Up filter; the run-length strategy is four times slower).
class PngRowWriter {
public:
    // Receives the next encoded bytes; false when they could not be written.
    using Output = std::function<bool(std::span<const std::uint8_t>)>;

    explicit PngRowWriter(Output output);
    ~PngRowWriter();
    PngRowWriter(const PngRowWriter&) = delete;
    PngRowWriter& operator=(const PngRowWriter&) = delete;

    // Writes the header; false when PNG cannot hold that size (1 to 2^31 - 1 a side) or the
    // output failed.
    bool Start(long long width, long long height);
    // rows rows of width pixels 0xFFRRGGBB, stride pixels apart; false once anything failed.
    bool WriteRows(const std::uint32_t* pixels, int rows, int stride);
    // Ends the file; false if it does not have all its rows or anything failed.
    bool Finish();

private:
    static void WriteBytes(png_struct_def* png, unsigned char* data, std::size_t size);
    static void Flush(png_struct_def* png);

    Output m_output;
    png_struct_def* m_png = nullptr;
    png_info_def* m_info = nullptr;
    std::vector<std::uint8_t> m_row;
    long long m_width = 0;
    long long m_rowsLeft = 0;
    bool m_failed = false;
};

} // namespace krav
