// Writers for the formats krav_make_art produces (BMP, XPM, PNG, C++ arrays)
// and the small picture helpers they share.

#include "art.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <stdexcept>

namespace art {

// ----------------------------------------------------------------- pictures

Image fromText(int width, int height, const std::vector<Ink>& legend,
               const std::vector<const char*>& rows) {
    if (int(rows.size()) > height)
        throw std::runtime_error("picture text has too many rows");
    Image im(width, height);
    for (int y = 0; y < int(rows.size()); ++y) {
        const std::string row = rows[std::size_t(y)];
        if (int(row.size()) > width)
            throw std::runtime_error("picture row too long: \"" + row + "\"");
        for (int x = 0; x < int(row.size()); ++x) {
            const auto ink = std::find_if(legend.begin(), legend.end(), [&](const Ink& i) {
                return i.key == row[std::size_t(x)];
            });
            if (ink == legend.end())
                throw std::runtime_error(std::string("no colour for '") + row[std::size_t(x)] +
                                         "' in \"" + row + "\"");
            im.set(x, y, ink->colour);
        }
    }
    return im;
}

Image flippedX(const Image& im) {
    Image out(im.width, im.height);
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x)
            out.set(im.width - 1 - x, y, im.get(x, y));
    return out;
}

Image transposed(const Image& im) {
    Image out(im.height, im.width);
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x)
            out.set(y, x, im.get(x, y));
    return out;
}

Image doubled(const Image& im) {
    Image out(im.width * 2, im.height * 2);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.set(x, y, im.get(x / 2, y / 2));
    return out;
}

Image toImage(const Picture& pic, const Palette& pal) {
    Image im(pic.width, pic.height);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            const Rgb c = pal[pic.get(x, y)];
            im.set(x, y, opaque(std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b));
        }
    return im;
}

// ---------------------------------------------------------------------- BMP

namespace {

void put16(std::vector<u8>& out, unsigned v) {
    out.push_back(u8(v)), out.push_back(u8(v >> 8));
}
void put32(std::vector<u8>& out, unsigned v) {
    put16(out, v & 0xffff), put16(out, v >> 16);
}

} // namespace

std::vector<u8> colourTable(const Palette& pal) {
    std::vector<u8> table;
    for (const Rgb& c : pal)
        table.insert(table.end(), {u8(c.b), u8(c.g), u8(c.r), 0});
    return table;
}

// Uncompressed 8-bit BMP, stored bottom row first as the format wants.
std::vector<u8> encodeBmp(const Picture& pic, const Palette& pal) {
    const unsigned stride = (unsigned(pic.width) + 3) & ~3u;
    const unsigned offset = 14 + 40 + 256 * 4;
    std::vector<u8> out{'B', 'M'};
    put32(out, offset + stride * unsigned(pic.height)), put32(out, 0), put32(out, offset);
    put32(out, 40), put32(out, unsigned(pic.width)), put32(out, unsigned(pic.height));
    put16(out, 1), put16(out, 8);
    put32(out, 0), put32(out, 0), put32(out, 2834), put32(out, 2834), put32(out, 0), put32(out, 0);
    const std::vector<u8> table = colourTable(pal);
    out.insert(out.end(), table.begin(), table.end());
    for (int y = pic.height - 1; y >= 0; --y) {
        const auto row = pic.pixels.begin() + std::ptrdiff_t(y) * pic.width;
        out.insert(out.end(), row, row + pic.width);
        out.resize(out.size() + (stride - unsigned(pic.width)), 0);
    }
    return out;
}

// ---------------------------------------------------------------------- XPM

// Colours get keys in the order they first appear, so the text is stable;
// see-through is always blank. Two characters a pixel once one runs short.
std::string encodeXpm(const Image& im, const std::string& name, const std::string& comment) {
    static const std::string kKeys = ".#+@$%&*=-;:>,<')!~^/(_[]{}|0123456789"
                                     "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    bool clear = false;
    std::vector<std::uint32_t> colours; // opaque ones, 0xRRGGBB
    std::map<std::uint32_t, std::size_t> index;
    for (const std::uint32_t p : im.pixels) {
        if (p >> 24 < 128)
            clear = true;
        else if (index.emplace(p & 0xffffff, colours.size()).second)
            colours.push_back(p & 0xffffff);
    }
    const int perPixel = colours.size() <= kKeys.size() ? 1 : 2;
    auto key = [&](std::size_t i) {
        return perPixel == 1 ? std::string(1, kKeys[i])
                             : std::string{kKeys[i / kKeys.size()], kKeys[i % kKeys.size()]};
    };
    const std::string blank(std::size_t(perPixel), ' ');

    std::string out = "/* XPM */\n";
    if (!comment.empty())
        out += "/* " + comment + " */\n";
    out += "static const char* const " + name + "[] = {\n";
    out += "\"" + std::to_string(im.width) + " " + std::to_string(im.height) + " " +
           std::to_string(colours.size() + (clear ? 1 : 0)) + " " + std::to_string(perPixel) +
           "\",\n";
    if (clear)
        out += "\"" + blank + " c None\",\n";
    char hex[8];
    for (std::size_t i = 0; i < colours.size(); ++i) {
        std::snprintf(hex, sizeof hex, "%06X", unsigned(colours[i]));
        out += "\"" + key(i) + " c #" + hex + "\",\n";
    }
    for (int y = 0; y < im.height; ++y) {
        out += '"';
        for (int x = 0; x < im.width; ++x) {
            const std::uint32_t p = im.get(x, y);
            out += p >> 24 < 128 ? blank : key(index.at(p & 0xffffff));
        }
        out += y + 1 < im.height ? "\",\n" : "\"\n";
    }
    out += "};\n";
    return out;
}

// ---------------------------------------------------------------------- PNG

// Without a compressor we use zlib's stored blocks: larger files, but any
// reader takes them.
namespace {

std::uint32_t crc32(const u8* data, std::size_t size, std::uint32_t crc = 0) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
    return ~crc;
}

void putBig32(std::vector<u8>& out, std::uint32_t v) {
    out.insert(out.end(), {u8(v >> 24), u8(v >> 16), u8(v >> 8), u8(v)});
}

void chunk(std::vector<u8>& out, const char* type, const std::vector<u8>& data) {
    putBig32(out, std::uint32_t(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBig32(out, crc32(out.data() + start, out.size() - start));
}

} // namespace

std::vector<u8> encodePng(const Image& im) {
    std::vector<u8> raw; // each row: filter type 0, then RGBA
    for (int y = 0; y < im.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < im.width; ++x) {
            const std::uint32_t p = im.get(x, y);
            raw.insert(raw.end(), {u8(p >> 16), u8(p >> 8), u8(p), u8(p >> 24)});
        }
    }
    std::vector<u8> z{0x78, 0x01};
    std::uint32_t a = 1, b = 0; // Adler-32
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
        const bool last = pos + n == raw.size();
        z.insert(z.end(), {u8(last), u8(n), u8(n >> 8), u8(~n), u8(~n >> 8)});
        z.insert(z.end(), raw.begin() + std::ptrdiff_t(pos), raw.begin() + std::ptrdiff_t(pos + n));
        pos += n;
    } while (pos < raw.size());
    for (const u8 v : raw)
        a = (a + v) % 65521, b = (b + a) % 65521;
    putBig32(z, b << 16 | a);

    std::vector<u8> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<u8> header;
    putBig32(header, std::uint32_t(im.width)), putBig32(header, std::uint32_t(im.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, no interlace
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", {});
    return out;
}

// ---------------------------------------------------------------------- C++

void writeArray(std::string& out, const char* name, const std::vector<u8>& data,
                std::size_t perLine) {
    out +=
        "const unsigned char " + std::string(name) + "[" + std::to_string(data.size()) + "] = {\n";
    char hex[8];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(hex, sizeof hex, "0x%02x,", data[i]);
        out += (i % perLine == 0 ? "    " : " ") + std::string(hex);
        if (i % perLine == perLine - 1 || i + 1 == data.size())
            out += '\n';
    }
    out += "};\n";
}

// --------------------------------------------------------------------- files

namespace {

bool sameAsOnDisk(const std::string& path, const char* data, std::size_t size) {
    std::ifstream file(path, std::ios::binary);
    const std::string old{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return file && old.size() == size && std::equal(old.begin(), old.end(), data);
}

// An unchanged file keeps its time stamp, so the build does not redo what depends on it.
bool writeBytes(const std::string& path, const char* data, std::size_t size) {
    if (sameAsOnDisk(path, data, size))
        return true;
    std::ofstream file(path, std::ios::binary);
    file.write(data, std::streamsize(size));
    file.close();
    if (!file)
        std::cerr << "krav_make_art: cannot write " << path << '\n';
    return bool(file);
}

} // namespace

bool writeFile(const std::string& path, const std::string& text) {
    return writeBytes(path, text.data(), text.size());
}
bool writeFile(const std::string& path, const std::vector<u8>& data) {
    return writeBytes(path, reinterpret_cast<const char*>(data.data()), data.size());
}

} // namespace art
