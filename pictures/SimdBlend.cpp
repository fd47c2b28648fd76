// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/SimdBlend.hpp"

#include "pictures/AlphaPicture.hpp"
#include "platform/core/Cpu.hpp"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#define WV_X86 1
#endif

namespace simd {

namespace {

void blendPlain(std::uint8_t* t, const std::uint8_t* g, const std::uint8_t* s, const std::uint8_t* a, int n,
                int o) {
    for (int i = 0; i < n; ++i, t += 3, g += 3, s += 3) {
        const unsigned w = unsigned(blendWeight(a[i], o));
        if (w == 1) {
            t[0] = g[0], t[1] = g[1], t[2] = g[2];
        } else if (w == 256) {
            t[0] = s[0], t[1] = s[1], t[2] = s[2];
        } else {
            t[0] = blendByte(g[0], s[0], w);
            t[1] = blendByte(g[1], s[1], w);
            t[2] = blendByte(g[2], s[2], w);
        }
    }
}

#if WV_X86

// Both vector paths compute each byte as (g * (256 - w) + s * w + (g > s ? 255 : 0)) >> 8, which equals
// blendByte: for g < s it is g + floor((s - g) w / 256), for g > s the added 255 turns the floor into
// the ceiling of g - (g - s) w / 256. The sum never exceeds 65535.

// Sixteen pixels' weights (two vectors of eight 16-bit lanes) spread over 48 lanes, one per byte.
inline void spreadWeights(__m128i w, __m128i out[3]) {
    const __m128i a = _mm_shufflelo_epi16(w, _MM_SHUFFLE(1, 0, 0, 0));
    const __m128i b = _mm_shufflelo_epi16(w, _MM_SHUFFLE(2, 2, 1, 1));
    out[0] = _mm_unpacklo_epi64(a, b);
    const __m128i c = _mm_shufflelo_epi16(w, _MM_SHUFFLE(3, 3, 3, 2));
    const __m128i d = _mm_shufflehi_epi16(w, _MM_SHUFFLE(1, 0, 0, 0));
    out[1] = _mm_castpd_si128(_mm_move_sd(_mm_castsi128_pd(d), _mm_castsi128_pd(c)));
    const __m128i e = _mm_shufflehi_epi16(w, _MM_SHUFFLE(2, 2, 1, 1));
    const __m128i f = _mm_shufflehi_epi16(w, _MM_SHUFFLE(3, 3, 3, 2));
    out[2] = _mm_unpackhi_epi64(e, f);
}

int blendSse2(std::uint8_t* t, const std::uint8_t* g, const std::uint8_t* s, const std::uint8_t* a, int n,
              int o) {
    const __m128i zero = _mm_setzero_si128(), k80 = _mm_set1_epi8(char(0x80)), one = _mm_set1_epi16(1);
    const __m128i k256 = _mm_set1_epi16(256), scale = _mm_set1_epi16(short((o + 1) << 8));
    const bool full = o == 255;
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const std::size_t b = std::size_t(i) * 3;
        const __m128i al = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(al, zero)) == 0xFFFF) {
            if (t != g) std::memcpy(t + b, g + b, 48);
            continue;
        }
        if (full && _mm_movemask_epi8(_mm_cmpeq_epi8(al, _mm_set1_epi8(char(0xFF)))) == 0xFFFF) {
            std::memcpy(t + b, s + b, 48);
            continue;
        }
        __m128i w0 = _mm_unpacklo_epi8(al, zero), w1 = _mm_unpackhi_epi8(al, zero);
        if (!full) w0 = _mm_mulhi_epu16(w0, scale), w1 = _mm_mulhi_epu16(w1, scale);
        __m128i wv[6];
        spreadWeights(_mm_add_epi16(w0, one), wv);
        spreadWeights(_mm_add_epi16(w1, one), wv + 3);
        for (int v = 0; v < 3; ++v) {
            const __m128i gv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g + b + 16 * v));
            const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + b + 16 * v));
            const __m128i bias = _mm_cmpgt_epi8(_mm_xor_si128(gv, k80), _mm_xor_si128(sv, k80));
            const __m128i wl = wv[2 * v], wh = wv[2 * v + 1];
            __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(gv, zero), _mm_sub_epi16(k256, wl)),
                                       _mm_mullo_epi16(_mm_unpacklo_epi8(sv, zero), wl));
            __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(gv, zero), _mm_sub_epi16(k256, wh)),
                                       _mm_mullo_epi16(_mm_unpackhi_epi8(sv, zero), wh));
            lo = _mm_srli_epi16(_mm_add_epi16(lo, _mm_unpacklo_epi8(bias, zero)), 8);
            hi = _mm_srli_epi16(_mm_add_epi16(hi, _mm_unpackhi_epi8(bias, zero)), 8);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(t + b + 16 * v), _mm_packus_epi16(lo, hi));
        }
    }
    return i;
}

// Shuffle controls of the AVX2 path, which takes 32 pixels (three 32-byte vectors) at a time. Each 16-byte
// lane of an output vector needs the weights of at most six pixels; they are first moved into a window
// (pair windows start at pixel pairBase, mask windows at byte maskBase) and then spread per byte.
struct Avx2Controls {
    alignas(32) std::uint8_t pairLo[3][32], pairHi[3][32], mask[3][32];
    Avx2Controls() {
        static const int pairBase[3][2] = {{0, 4}, {8, 16}, {20, 24}};
        static const int maskBase[3][2] = {{0, 0}, {0, 16}, {16, 16}};
        for (int v = 0; v < 3; ++v)
            for (int l = 0; l < 2; ++l)
                for (int j = 0; j < 16; ++j) {
                    const int p = (16 * (2 * v + l) + j) / 3, q = p - pairBase[v][l];
                    std::uint8_t* pair = j < 8 ? pairLo[v] : pairHi[v];
                    pair[16 * l + 2 * (j % 8)] = std::uint8_t(2 * q);
                    pair[16 * l + 2 * (j % 8) + 1] = std::uint8_t(2 * q + 1);
                    mask[v][16 * l + j] = std::uint8_t(p - maskBase[v][l]);
                }
    }
};

const Avx2Controls& avx2Controls() {
    static const Avx2Controls c;
    return c;
}

// As above with the pixels and weights as signed and unsigned bytes for vpmaddubsw: with g' = g - 128 and
// s' = s - 128, (256 - w) g' + w s' = g (256 - w) + s w - 32768 fits 16 bits for w <= 255. Full weight
// 256 (opaque at full opacity) is the colour itself and is blended in afterwards.
__attribute__((target("avx2"))) int blendAvx2(std::uint8_t* t, const std::uint8_t* g, const std::uint8_t* s,
                                              const std::uint8_t* a, int n, int o) {
    const Avx2Controls& c = avx2Controls();
    const __m256i zero = _mm256_setzero_si256(), k80 = _mm256_set1_epi8(char(0x80));
    const __m256i ones = _mm256_set1_epi8(char(0xFF)), one = _mm256_set1_epi8(1);
    const __m256i scale = _mm256_set1_epi16(short((o + 1) << 8));
    const __m256i window0 = _mm256_setr_epi32(0, 1, 2, 3, 2, 3, 4, 5),
                  window2 = _mm256_setr_epi32(2, 3, 4, 5, 4, 5, 6, 7);
    const bool full = o == 255;
    int i = 0;
    for (; i + 32 <= n; i += 32) {
        const std::size_t b = std::size_t(i) * 3;
        const __m256i al = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(al, zero)) == -1) {
            if (t != g) std::memcpy(t + b, g + b, 96);
            continue;
        }
        const __m256i opaque = full ? _mm256_cmpeq_epi8(al, ones) : zero;
        if (full && _mm256_movemask_epi8(opaque) == -1) {
            std::memcpy(t + b, s + b, 96);
            continue;
        }
        __m256i w;
        if (full) {
            w = _mm256_adds_epu8(al, one);
        } else {
            const __m256i lo = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(al, zero), scale);
            const __m256i hi = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(al, zero), scale);
            w = _mm256_add_epi8(_mm256_packus_epi16(lo, hi), one);
        }
        const __m256i wc = _mm256_sub_epi8(zero, w);
        const __m256i pLo = _mm256_unpacklo_epi8(wc, w), pHi = _mm256_unpackhi_epi8(wc, w);
        const __m256i pA = _mm256_permute2x128_si256(pLo, pHi, 0x20),
                      pB = _mm256_permute2x128_si256(pLo, pHi, 0x31);
        const __m256i windows[3] = {_mm256_permutevar8x32_epi32(pA, window0),
                                    _mm256_permute2x128_si256(pA, pB, 0x21),
                                    _mm256_permutevar8x32_epi32(pB, window2)};
        const __m256i masks[3] = {_mm256_permute4x64_epi64(opaque, 0x44), opaque,
                                  _mm256_permute4x64_epi64(opaque, 0xEE)};
        for (int v = 0; v < 3; ++v) {
            const __m256i gv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g + b + 32 * v));
            const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + b + 32 * v));
            const __m256i gx = _mm256_xor_si256(gv, k80), sx = _mm256_xor_si256(sv, k80);
            const __m256i bias = _mm256_cmpgt_epi8(gx, sx);
            const __m256i wl = _mm256_shuffle_epi8(
                windows[v], _mm256_load_si256(reinterpret_cast<const __m256i*>(c.pairLo[v])));
            const __m256i wh = _mm256_shuffle_epi8(
                windows[v], _mm256_load_si256(reinterpret_cast<const __m256i*>(c.pairHi[v])));
            __m256i lo = _mm256_maddubs_epi16(wl, _mm256_unpacklo_epi8(gx, sx));
            __m256i hi = _mm256_maddubs_epi16(wh, _mm256_unpackhi_epi8(gx, sx));
            lo = _mm256_srli_epi16(_mm256_add_epi16(lo, _mm256_unpacklo_epi8(bias, k80)), 8);
            hi = _mm256_srli_epi16(_mm256_add_epi16(hi, _mm256_unpackhi_epi8(bias, k80)), 8);
            __m256i r = _mm256_packus_epi16(lo, hi);
            if (full)
                r = _mm256_blendv_epi8(
                    r, sv,
                    _mm256_shuffle_epi8(masks[v],
                                        _mm256_load_si256(reinterpret_cast<const __m256i*>(c.mask[v]))));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(t + b + 32 * v), r);
        }
    }
    return i;
}

#endif

} // namespace

void blendRow24(std::uint8_t* t, const std::uint8_t* g, const std::uint8_t* s, const std::uint8_t* a, int n,
                int opacity) {
    int done = 0;
#if WV_X86
    switch (platform::simdLevel()) {
    case platform::SimdLevel::Avx2:
        done = blendAvx2(t, g, s, a, n, opacity);
        [[fallthrough]]; // the last whole block of 16 pixels
    case platform::SimdLevel::Sse2: {
        const std::size_t b = std::size_t(done) * 3;
        done += blendSse2(t + b, g + b, s + b, a + done, n - done, opacity);
        break;
    }
    default:
        break;
    }
#endif
    const std::size_t b = std::size_t(done) * 3;
    blendPlain(t + b, g + b, s + b, a + done, n - done, opacity);
}

} // namespace simd
