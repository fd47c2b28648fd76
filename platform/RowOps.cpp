#include "RowOps.hpp"

#include "Cpu.hpp"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#define WV_X86 1
#endif

namespace platform::rows {

namespace {

#if WV_X86

template <bool Or> std::size_t bytesSse2(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + 16));
        const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                         Or ? _mm_or_si128(a0, b0) : _mm_and_si128(a0, b0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 16),
                         Or ? _mm_or_si128(a1, b1) : _mm_and_si128(a1, b1));
    }
    return i;
}

template <bool Or>
__attribute__((target("avx2"))) std::size_t bytesAvx2(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        const __m256i a0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        const __m256i a1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i + 32));
        const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 32));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                            Or ? _mm256_or_si256(a0, b0) : _mm256_and_si256(a0, b0));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i + 32),
                            Or ? _mm256_or_si256(a1, b1) : _mm256_and_si256(a1, b1));
    }
    return i;
}

// Eight 32-bit pixels per gather.
__attribute__((target("avx2"))) int gather32Avx2(std::uint8_t* d, const std::uint8_t* s,
                                                 const std::int32_t* from, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i at = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + 4 * i),
                            _mm256_i32gather_epi32(reinterpret_cast<const int*>(s), at, 1));
    }
    return i;
}

// Eight 24-bit pixels per gather of four bytes each, the fourth bytes squeezed out; every pixel's fourth
// byte must lie within the row (from[] grows, so checking the last of the eight is enough).
__attribute__((target("avx2"))) int gather24Avx2(std::uint8_t* d, const std::uint8_t* s, std::size_t rowBytes,
                                                 const std::int32_t* from, int n) {
    const __m256i squeeze = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2,
                                             4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    int i = 0;
    for (; i + 8 <= n && std::size_t(from[i + 7]) + 4 <= rowBytes; i += 8) {
        const __m256i at = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i));
        const __m256i px = _mm256_i32gather_epi32(reinterpret_cast<const int*>(s), at, 1);
        const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(px, squeeze), join);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 3 * i), _mm256_castsi256_si128(packed));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 3 * i + 16), _mm256_extracti128_si256(packed, 1));
    }
    return i;
}

__attribute__((target("avx2"))) std::size_t copyAvx2(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 32));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), a);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i + 32), b);
    }
    return i;
}

#endif

template <bool Or> void bytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
    std::size_t i = 0;
#if WV_X86
    const SimdLevel level = simdLevel();
    if (level == SimdLevel::Avx2) i = bytesAvx2<Or>(d, s, n);
    if (level >= SimdLevel::Sse2) i += bytesSse2<Or>(d + i, s + i, n - i);
#endif
    for (; i < n; ++i)
        d[i] = Or ? d[i] | s[i] : d[i] & s[i];
}

} // namespace

void orBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
    bytes<true>(d, s, n);
}

void andBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
    bytes<false>(d, s, n);
}

void copyBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
    std::size_t i = 0;
#if WV_X86
    if (simdLevel() == SimdLevel::Avx2) i = copyAvx2(d, s, n);
#endif
    std::memcpy(d + i, s + i, n - i);
}

void gatherPixels(std::uint8_t* d, const std::uint8_t* s, std::size_t rowBytes, const std::int32_t* from,
                  int n, int bpp) {
    int i = 0;
    switch (bpp) {
    case 1:
        for (; i < n; ++i)
            d[i] = s[from[i]];
        break;
    case 3:
#if WV_X86
        if (simdLevel() == SimdLevel::Avx2) i = gather24Avx2(d, s, rowBytes, from, n);
#endif
        // Four bytes per pixel, the fourth overwritten by the next pixel; the last one (and any whose
        // fourth byte lies past the row) byte by byte.
        for (; i + 1 < n && std::size_t(from[i]) + 4 <= rowBytes; ++i)
            std::memcpy(d + 3 * i, s + from[i], 4);
        for (; i < n; ++i)
            d[3 * i] = s[from[i]], d[3 * i + 1] = s[from[i] + 1], d[3 * i + 2] = s[from[i] + 2];
        break;
    default:
#if WV_X86
        if (simdLevel() == SimdLevel::Avx2) i = gather32Avx2(d, s, from, n);
#endif
        for (; i < n; ++i)
            std::memcpy(d + 4 * i, s + from[i], 4);
        break;
    }
}

} // namespace platform::rows
