#include "render/WideStores.h"

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define KRAV_WIDE_STORES 1
#include <immintrin.h>
#endif

namespace krav {

namespace {

bool g_allowed = true;

bool ProcessorHasWideStores() {
#if defined(KRAV_WIDE_STORES)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

} // namespace

bool WideStoresAvailable() {
    static const bool has = ProcessorHasWideStores();
    return has && g_allowed;
}

void AllowWideStores(bool allowed) {
    g_allowed = allowed;
}

#if defined(KRAV_WIDE_STORES)

namespace {

template <int N>
__attribute__((target("avx2"))) void CopyCellWide(std::uint32_t* to, std::ptrdiff_t stride,
                                                  const std::uint32_t* picture) {
    for (int row = 0; row < N; ++row, to += stride, picture += N)
        for (int x = 0; x < N; x += 8)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + x),
                                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(picture + x)));
}

} // namespace

__attribute__((target("avx2"))) void CopyCellWide(std::uint32_t* to, std::ptrdiff_t stride,
                                                  const std::uint32_t* picture, int size) {
    switch (size) {
    case 8:
        return CopyCellWide<8>(to, stride, picture);
    case 16:
        return CopyCellWide<16>(to, stride, picture);
    default:
        return CopyCellWide<32>(to, stride, picture);
    }
}

__attribute__((target("avx2"))) int CopyTwoByTwoCellsWide(const std::uint32_t* pictures,
                                                          const std::uint8_t* kinds, int column,
                                                          int endColumn, std::uint32_t* to,
                                                          std::ptrdiff_t stride) {
    // A cell's whole picture is one 16-byte load: its top line the low half, its bottom the
    // high one. Cells 0 and 2 side by side with 1 and 3 give both lines of all four.
    const auto whole = [&](int c) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pictures + kinds[c] * 4));
    };
    for (; column + 4 <= endColumn; column += 4, to += 8) {
        const __m256i evens = _mm256_setr_m128i(whole(column), whole(column + 2));
        const __m256i odds = _mm256_setr_m128i(whole(column + 1), whole(column + 3));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), _mm256_unpacklo_epi64(evens, odds));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + stride),
                            _mm256_unpackhi_epi64(evens, odds));
    }
    return column;
}

#else

void CopyCellWide(std::uint32_t*, std::ptrdiff_t, const std::uint32_t*, int) {}

int CopyTwoByTwoCellsWide(const std::uint32_t*, const std::uint8_t*, int column, int,
                          std::uint32_t*, std::ptrdiff_t) {
    return column;
}

#endif

} // namespace krav
