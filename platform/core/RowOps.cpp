// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/RowOps.hpp"

#include "platform/core/Cpu.hpp"

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

// Blocks of eight 24-bit pixels, each half gathered from one 16-byte window of the source by a byte shuffle.
__attribute__((target("avx2"))) int windowsAvx2(std::uint8_t* d, const std::uint8_t* s,
                                                const std::int32_t* from, const std::uint8_t* shuffles,
                                                const std::uint8_t* windowed, int n) {
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        if (!windowed[i / 8]) {
            for (int k = i; k < i + 8; ++k)
                std::memcpy(d + 3 * k, s + from[k], 3);
            continue;
        }
        const __m256i w = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + from[i]))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + from[i + 4])), 1);
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(shuffles + 4 * i));
        const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(w, c), join);
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

// Eight 24-bit pixels at a time widened to 32 bits with an opaque fourth byte; reads 4 bytes past the
// last pixel it converts, so it stops 10 pixels before the end.
__attribute__((target("avx2"))) std::size_t widenAvx2(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -128, 3, 4, 5, -128, 6, 7, 8, -128, 9, 10, 11, -128, 0,
                                            1, 2, -128, 3, 4, 5, -128, 6, 7, 8, -128, 9, 10, 11, -128);
    const __m256i alpha = _mm256_set1_epi32(int(0xFF000000u));
    std::size_t i = 0;
    for (; i + 10 <= n; i += 8) {
        const __m256i w = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 3 * i))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 3 * i + 12)), 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + 4 * i),
                            _mm256_or_si256(_mm256_shuffle_epi8(w, spread), alpha));
    }
    return i;
}

std::size_t opaqueSse2(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * i),
                         _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * i)), alpha));
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

void widenOpaque(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
    std::size_t i = 0;
#if WV_X86
    if (simdLevel() == SimdLevel::Avx2) i = widenAvx2(d, s, n);
#endif
    for (; i < n; ++i)
        d[4 * i] = s[3 * i], d[4 * i + 1] = s[3 * i + 1], d[4 * i + 2] = s[3 * i + 2], d[4 * i + 3] = 255;
}

void copyOpaque(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
    std::size_t i = 0;
#if WV_X86
    if (simdLevel() >= SimdLevel::Sse2) i = opaqueSse2(d, s, n);
#endif
    for (; i < n; ++i)
        d[4 * i] = s[4 * i], d[4 * i + 1] = s[4 * i + 1], d[4 * i + 2] = s[4 * i + 2], d[4 * i + 3] = 255;
}

void Gather::prepare(const std::int32_t* from, int n, int bpp, std::size_t rowBytes) {
    from_.assign(from, from + n);
    n_ = n, bpp_ = bpp, rowBytes_ = rowBytes;
    windowed_.assign(std::size_t(n / 8), 0);
    shuffles_.assign(std::size_t(n / 8) * 32, 0x80);
    if (bpp != 3) return;
    for (int b = 0; b < n / 8; ++b) {
        bool fits = true;
        for (int h = 0; h < 2; ++h) {
            const int first = 8 * b + 4 * h;
            const std::int32_t base = from[first];
            fits = fits && std::size_t(base) + 16 <= rowBytes && from[first + 3] + 3 - base <= 16;
            for (int j = 0; j < 12 && fits; ++j)
                shuffles_[32 * b + 16 * h + j] = std::uint8_t(from[first + j / 3] - base + j % 3);
        }
        windowed_[b] = fits;
    }
}

void Gather::apply(std::uint8_t* d, const std::uint8_t* s) const {
    const std::int32_t* from = from_.data();
    const int n = n_;
    int i = 0;
    if (bpp_ == 3) {
#if WV_X86
        if (simdLevel() == SimdLevel::Avx2)
            i = windowsAvx2(d, s, from, shuffles_.data(), windowed_.data(), n);
#endif
        // Four bytes per pixel, the fourth overwritten by the next pixel; the last one (and any whose
        // fourth byte lies past the row) byte by byte.
        for (; i + 1 < n && std::size_t(from[i]) + 4 <= rowBytes_; ++i)
            std::memcpy(d + 3 * i, s + from[i], 4);
        for (; i < n; ++i)
            std::memcpy(d + 3 * i, s + from[i], 3);
        return;
    }
#if WV_X86
    if (simdLevel() == SimdLevel::Avx2) i = gather32Avx2(d, s, from, n);
#endif
    for (; i < n; ++i)
        std::memcpy(d + 4 * i, s + from[i], 4);
}

} // namespace platform::rows
