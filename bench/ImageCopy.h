#pragma once

#include "ViewUnderTest.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <cstring>

namespace krav::bench {

// One copy of a client-area-sized ARGB32 picture: what showing any picture of the view costs
// at the least.
class ImageCopy {
public:
    ImageCopy()
        : m_from(CLIENT_WIDTH, CLIENT_HEIGHT, QImage::Format_ARGB32),
          m_to(CLIENT_WIDTH, CLIENT_HEIGHT, QImage::Format_ARGB32) {
        m_from.fill(0xFF102030u);
        m_to.fill(0u);
    }
    void operator()() {
        std::memcpy(m_to.bits(), m_from.constBits(),
                    static_cast<std::size_t>(m_from.sizeInBytes()));
        benchmark::DoNotOptimize(m_to.bits());
    }

private:
    QImage m_from, m_to;
};

} // namespace krav::bench
