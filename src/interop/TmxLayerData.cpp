#include "TmxLayerData.h"

#include <algorithm>
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

// Inflates zlib or gzip data (told apart by their headers) into exactly `size` bytes. The output
// starts small: damaged or short data costs no buffer of the whole layer.
bool Inflate(const QByteArray& packed, std::vector<unsigned char>& out, std::size_t size) {
    constexpr std::size_t step = 64 * 1024;
    out.clear();
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    stream.avail_in = static_cast<uInt>(packed.size());
    int status = Z_OK;
    // One byte past size shows data longer than expected. There is always room for output, so
    // Z_BUF_ERROR means that the data ended before its stream did.
    while (status == Z_OK && out.size() <= size) {
        const std::size_t produced = out.size();
        if (produced > 0)
            out.reserve(size + 1); // data that fills a step goes on: room for all of it at once
        out.resize(std::min(produced + step, size + 1));
        stream.next_out = out.data() + produced;
        stream.avail_out = static_cast<uInt>(out.size() - produced);
        status = inflate(&stream, Z_NO_FLUSH);
        out.resize(out.size() - stream.avail_out);
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END && out.size() <= size; // longer: "too long", not a count
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
    std::vector<unsigned char> bytes;
    if (compression.isEmpty()) {
        bytes.assign(decoded.decoded.begin(), decoded.decoded.end());
    } else if (compression == QLatin1String("zlib") || compression == QLatin1String("gzip")) {
        if (!Inflate(*decoded, bytes, cells * 4))
            return {{}, "its " + compression.toStdString() + " data is damaged or too long"};
    } else {
        return {{},
                "its data is " + compression.toStdString() +
                    "-compressed; save the map with CSV, Base64, zlib or gzip layer data"};
    }
    if (bytes.size() != cells * 4)
        return {{}, CountError(bytes.size() / 4, cells)};
    LayerGids result;
    result.gids.resize(cells);
    for (std::size_t i = 0; i < cells; ++i) {
        const unsigned char* p = bytes.data() + i * 4;
        result.gids[i] = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                         static_cast<std::uint32_t>(p[2]) << 16 |
                         static_cast<std::uint32_t>(p[3]) << 24;
    }
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
