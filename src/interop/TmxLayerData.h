#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace krav {

struct LayerGids {
    std::vector<std::uint32_t> gids; // row by row, flip bits included
    std::string error;               // why the data could not be read, or empty
};

// The gids of a tile layer's <data> text: encoding "csv" or "base64", the latter
// uncompressed, zlib or gzip. There must be exactly `cells` of them.
LayerGids DecodeLayerData(const QString& encoding, const QString& compression,
                          const QByteArray& text, std::size_t cells);

} // namespace krav
