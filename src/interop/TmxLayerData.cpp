#include "TmxLayerData.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <zlib.h>

namespace krav {

namespace {

std::string CountError(std::size_t got, std::size_t cells) {
    return "its data holds " + std::to_string(got) + " cells; a level has " + std::to_string(cells);
}

LayerGids FromCsv(const QByteArray& text, std::size_t cells) {
    LayerGids result;
    result.gids.reserve(cells);
    std::uint64_t value = 0;
    bool inNumber = false;
    const auto finish = [&] {
        if (inNumber)
            result.gids.push_back(static_cast<std::uint32_t>(value));
        value = 0;
        inNumber = false;
    };
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<unsigned>(c - '0');
            if (value > 0xFFFFFFFFu)
                return {{}, "its CSV data holds a number past 4294967295"};
            inNumber = true;
        } else if (c == ',') {
            if (!inNumber)
                return {{}, "its CSV data has an empty value"};
            finish();
        } else if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
            // Tiled ends each row with a line break; the number itself is done.
        } else {
            return {{}, std::string("its CSV data holds '") + c + "'"};
        }
        if (result.gids.size() > cells)
            break;
    }
    finish();
    if (result.gids.size() != cells)
        return {{}, CountError(result.gids.size(), cells)};
    return result;
}

// Gids are stored little-endian, as the host most likely holds them already.
void FromLittleEndian(std::vector<std::uint32_t>& gids) {
    if constexpr (std::endian::native == std::endian::big)
        for (std::uint32_t& gid : gids)
            gid = (gid >> 24) | ((gid >> 8) & 0xFF00u) | ((gid << 8) & 0xFF0000u) | (gid << 24);
}

// Inflates zlib or gzip data (told apart by their headers) straight into the gids of `cells`
// cells; the number of bytes it gave, or nothing when the data is damaged or gives more. The
// gids grow a step at a time: damaged or short data costs no buffer of the whole layer.
std::optional<std::size_t> Inflate(const QByteArray& packed, std::vector<std::uint32_t>& gids,
                                   std::size_t cells) {
    constexpr std::size_t step = 64 * 1024;
    const std::size_t size = cells * 4;
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    stream.avail_in = static_cast<uInt>(packed.size());
    unsigned char past = 0; // a byte past the layer shows data longer than expected
    std::size_t produced = 0;
    int status = Z_OK;
    // There is always room for output, so Z_BUF_ERROR means that the data ended before its
    // stream did.
    while (status == Z_OK && produced <= size) {
        if (produced == gids.size() * 4 && produced < size) {
            if (!gids.empty())
                gids.reserve(cells); // data that fills a step goes on: room for all of it at once
            gids.resize(std::min(gids.size() + step / 4, cells)); // only what the step may fill
        }
        const std::size_t room = std::min(gids.size() * 4 - produced, step);
        stream.next_out = room > 0 ? reinterpret_cast<Bytef*>(gids.data()) + produced : &past;
        stream.avail_out = static_cast<uInt>(room > 0 ? room : 1);
        const uInt before = stream.avail_out;
        status = inflate(&stream, Z_NO_FLUSH);
        produced += before - stream.avail_out;
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END || produced > size) // longer: "too long", not a count
        return std::nullopt;
    return produced;
}

LayerGids FromBase64(const QByteArray& text, const QString& compression, std::size_t cells) {
    QByteArray compact;
    compact.reserve(text.size());
    for (const char c : text)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t')
            compact.append(c);
    const auto decoded = QByteArray::fromBase64Encoding(
        compact, QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return {{}, "its Base64 data is not valid Base64"};
    LayerGids result;
    std::size_t bytes = 0;
    if (compression.isEmpty()) {
        bytes = static_cast<std::size_t>(decoded.decoded.size());
        if (bytes == cells * 4) {
            result.gids.resize(cells);
            std::memcpy(result.gids.data(), decoded.decoded.constData(), bytes);
        }
    } else if (compression == QLatin1String("zlib") || compression == QLatin1String("gzip")) {
        const auto inflated = Inflate(*decoded, result.gids, cells);
        if (!inflated)
            return {{}, "its " + compression.toStdString() + " data is damaged or too long"};
        bytes = *inflated;
    } else {
        return {{},
                "its data is " + compression.toStdString() +
                    "-compressed; save the map with CSV, Base64, zlib or gzip layer data"};
    }
    if (bytes != cells * 4)
        return {{}, CountError(bytes / 4, cells)};
    FromLittleEndian(result.gids);
    return result;
}

} // namespace

LayerGids DecodeLayerData(const QString& encoding, const QString& compression,
                          const QByteArray& text, std::size_t cells) {
    if (encoding == QLatin1String("csv"))
        return FromCsv(text, cells);
    if (encoding == QLatin1String("base64"))
        return FromBase64(text, compression, cells);
    return {{}, "its data encoding \"" + encoding.toStdString() + "\" is not CSV or Base64"};
}

} // namespace krav
