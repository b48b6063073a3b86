#pragma once

#include "document/TileCodes.h"

#include <climits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace krav {

// Whether any of count cells holds a value from first to last (both included). All of them
// are looked at, four at a time: it serves whole-row searches where a match is rare.
inline bool AnyCellIn(const Cell* cells, int count, Cell first, Cell last) {
    int i = 0;
    bool found = false;
#if defined(__SSE2__)
    // Unsigned "v - first <= last - first", as a signed compare of both sides with their top
    // bit flipped.
    const __m128i sign = _mm_set1_epi32(INT32_MIN);
    const __m128i base = _mm_set1_epi32(static_cast<int>(first));
    const __m128i limit = _mm_xor_si128(_mm_set1_epi32(static_cast<int>(last - first + 1)), sign);
    __m128i any = _mm_setzero_si128();
    for (; i + 4 <= count; i += 4) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells + i));
        any = _mm_or_si128(any,
                           _mm_cmplt_epi32(_mm_xor_si128(_mm_sub_epi32(four, base), sign), limit));
    }
    found = _mm_movemask_epi8(any) != 0;
#endif
    for (; i < count; ++i)
        found |= cells[i] - first <= last - first;
    return found;
}

} // namespace krav
