#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace krav {

// Filling large parts of a picture too large for the cache (a 1920 x 1080 view is 8 MB):
// streaming stores go straight to memory, where ordinary stores first fetch each line's old
// contents, doubling the traffic for pixels that are only overwritten. Call FinishStreaming()
// before the picture is handed on.

// Spans shorter than this are written the ordinary way.
inline constexpr std::size_t STREAMED_SPAN = 64;

inline void StreamFill(std::uint32_t* to, std::size_t count, std::uint32_t colour) {
#if defined(__SSE2__)
    if (count >= STREAMED_SPAN) {
        for (; reinterpret_cast<std::uintptr_t>(to) % 16 != 0; --count)
            *to++ = colour;
        const __m128i four = _mm_set1_epi32(static_cast<int>(colour));
        for (; count >= 4; count -= 4, to += 4)
            _mm_stream_si128(reinterpret_cast<__m128i*>(to), four);
    }
#endif
    std::fill_n(to, count, colour);
}

// Makes the streamed pixels visible to every reader, as ordinary stores are.
inline void FinishStreaming() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

} // namespace krav
