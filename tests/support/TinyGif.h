#pragma once

#include <QByteArray>

namespace krav::test {

// The smallest GIF: a screen of width x height holding one pixel of the first of two colours.
// Qt reads GIFs but cannot write them.
inline QByteArray GifClaiming(int width, int height) {
    QByteArray gif("GIF89a\0\0\0\0\x80\0\0\xff\xff\xff\0\0\0"
                   ",\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;",
                   35);
    gif[6] = static_cast<char>(width & 0xFF);
    gif[7] = static_cast<char>(width >> 8);
    gif[8] = static_cast<char>(height & 0xFF);
    gif[9] = static_cast<char>(height >> 8);
    return gif;
}

} // namespace krav::test
