// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/SimdScale.hpp"

#include "platform/core/Bitmap.hpp"
#include "platform/core/Cpu.hpp"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#define WV_X86 1
#endif

namespace simd {

#if WV_X86

namespace {

// The weights of an axis divided by their common factor (they and the denominator are all multiples of
// gcd(source size, target size)), which keeps the sums small: 1280 -> 1024 needs weights up to 8, not 2048.
struct Axis {
    std::vector<BilinearTap> taps;
    std::int32_t den = 1;
};

Axis reduced(const BilinearTap* t, int n) {
    std::int32_t g = t[0].den;
    for (int k = 0; k < n && g > 1; ++k)
        g = std::gcd(g, t[k].w2);
    Axis a;
    a.den = t[0].den / g;
    a.taps.resize(std::size_t(n));
    for (int k = 0; k < n; ++k)
        a.taps[k] = {t[k].i, t[k].w1 / g, t[k].w2 / g, a.den};
    return a;
}

// Exact floor(n / d) for every n <= 255 * d on 32-bit lanes: a shift for powers of two, otherwise
// (n * m) >> s on 64-bit products with m = ceil(2^s / d) and 2^s >= 255 * d * d (then the rounding up
// of m never reaches the next integer).
struct Division {
    bool shift = true;
    bool valid = true; // false when the multiplier would not fit 32 bits
    int s = 0;
    std::uint32_t m = 0;
    explicit Division(std::uint64_t d) {
        if ((d & (d - 1)) == 0) {
            while ((std::uint64_t(1) << s) < d)
                ++s;
            return;
        }
        shift = false;
        while ((std::uint64_t(1) << s) < 255 * d * d)
            ++s;
        const std::uint64_t mm = ((std::uint64_t(1) << s) + d - 1) / d;
        valid = mm >> 32 == 0;
        m = std::uint32_t(mm);
    }
    std::uint32_t operator()(std::uint32_t n) const {
        return shift ? n >> s : std::uint32_t((std::uint64_t(n) * m) >> s);
    }
};

inline __m128i divide(__m128i n, const Division& d) {
    if (d.shift) return _mm_srli_epi32(n, d.s);
    const __m128i m = _mm_set1_epi32(int(d.m)), s = _mm_cvtsi32_si128(d.s);
    const __m128i even = _mm_srl_epi64(_mm_mul_epu32(n, m), s);
    const __m128i odd = _mm_srl_epi64(_mm_mul_epu32(_mm_srli_epi64(n, 32), m), s);
    return _mm_or_si128(even, _mm_slli_epi64(odd, 32));
}

__attribute__((target("avx2"))) inline __m256i divide(__m256i n, const Division& d) {
    if (d.shift) return _mm256_srli_epi32(n, d.s);
    const __m256i m = _mm256_set1_epi32(int(d.m));
    const __m128i s = _mm_cvtsi32_si128(d.s);
    const __m256i even = _mm256_srl_epi64(_mm256_mul_epu32(n, m), s);
    const __m256i odd = _mm256_srl_epi64(_mm256_mul_epu32(_mm256_srli_epi64(n, 32), m), s);
    return _mm256_or_si256(even, _mm256_slli_epi64(odd, 32));
}

// Pixels the vector loops leave at the end of a row.
void horizontalPlain(std::uint8_t* out, const std::int16_t* v, const Axis& x, int from, const Division& d) {
    for (int k = from; k < int(x.taps.size()); ++k) {
        const BilinearTap& t = x.taps[k];
        const std::int16_t* p = v + 3 * t.i;
        for (int c = 0; c < 3; ++c)
            out[3 * k + c] = std::uint8_t(d(std::uint32_t(p[c] * t.w1 + p[c + 3] * t.w2)));
    }
}

// Vertical pass first: the two source rows of a target row are combined into 16-bit sums (at most
// 255 * denY, so they stay below 2^15 for vpmaddwd), then each target pixel takes its six sums (its two
// source pixels) with one unaligned load and one multiply-add.
void bilinearSse2(platform::Bitmap& dst, const platform::Bitmap& src, const Axis& x, const Axis& y,
                  const Division& d) {
    const int sb = 3 * src.width(), dw = dst.width();
    std::vector<std::int16_t> v(std::size_t(sb) + 16);
    // (w1, w2) three times and a zero pair per pixel.
    std::vector<std::int16_t> weights(std::size_t(dw) * 8);
    for (int k = 0; k < dw; ++k)
        for (int c = 0; c < 3; ++c)
            weights[8 * k + 2 * c] = std::int16_t(x.taps[k].w1),
                                weights[8 * k + 2 * c + 1] = std::int16_t(x.taps[k].w2);
    const __m128i zero = _mm_setzero_si128();
    for (int row = 0; row < dst.height(); ++row) {
        const BilinearTap& t = y.taps[row];
        const std::uint8_t* r0 = src.scanline(t.i);
        const std::uint8_t* r1 = src.scanline(t.i + 1);
        const __m128i a = _mm_set1_epi16(short(t.w1)), b = _mm_set1_epi16(short(t.w2));
        int k = 0;
        for (; k + 16 <= sb; k += 16) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0 + k));
            const __m128i q = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1 + k));
            const __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), a),
                                             _mm_mullo_epi16(_mm_unpacklo_epi8(q, zero), b));
            const __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), a),
                                             _mm_mullo_epi16(_mm_unpackhi_epi8(q, zero), b));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(v.data() + k), lo);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(v.data() + k + 8), hi);
        }
        for (; k < sb; ++k)
            v[k] = std::int16_t(r0[k] * t.w1 + r1[k] * t.w2);

        std::uint8_t* out = dst.scanline(row);
        int px = 0;
        // Four pixels at a time, each written as four bytes whose last one the next pixel overwrites; so
        // the group must be followed by one more pixel of the row.
        for (; px + 5 <= dw; px += 4) {
            __m128i r[4];
            for (int j = 0; j < 4; ++j) {
                const __m128i s =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(v.data() + 3 * x.taps[px + j].i));
                const __m128i w =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights.data() + 8 * (px + j)));
                r[j] = divide(_mm_madd_epi16(_mm_unpacklo_epi16(s, _mm_srli_si128(s, 6)), w), d);
            }
            const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(r[0], r[1]), _mm_packs_epi32(r[2], r[3]));
            alignas(16) std::uint32_t four[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(four), bytes);
            for (int j = 0; j < 4; ++j)
                std::memcpy(out + 3 * (px + j), &four[j], 4);
        }
        horizontalPlain(out, v.data(), x, px, d);
    }
}

__attribute__((target("avx2"))) void bilinearAvx2(platform::Bitmap& dst, const platform::Bitmap& src,
                                                  const Axis& x, const Axis& y, const Division& d) {
    const int sb = 3 * src.width(), dw = dst.width(), groups = dw / 8;
    std::vector<std::int16_t> v(std::size_t(sb) + 16);
    // Per group of eight pixels four vectors, each holding pixel j in its low lane and j + 4 in its high
    // one; so the packed bytes come out as pixels 0-3 and 4-7.
    std::vector<std::int16_t> weights(std::size_t(groups) * 64);
    std::vector<std::int32_t> from(std::size_t(groups) * 8);
    for (int g = 0; g < groups; ++g)
        for (int j = 0; j < 4; ++j)
            for (int h = 0; h < 2; ++h) {
                const BilinearTap& p = x.taps[8 * g + j + 4 * h];
                std::int16_t* w = weights.data() + 64 * g + 16 * j + 8 * h;
                for (int c = 0; c < 3; ++c)
                    w[2 * c] = std::int16_t(p.w1), w[2 * c + 1] = std::int16_t(p.w2);
                from[8 * g + 2 * j + h] = 3 * p.i;
            }
    // (v0, v3), (v1, v4), (v2, v5) of the six sums, and a zero pair.
    const __m256i pairs = _mm256_setr_epi8(0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -1, -1, -1, -1, 0, 1, 6, 7,
                                           2, 3, 8, 9, 4, 5, 10, 11, -1, -1, -1, -1);
    const __m256i collapse = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2,
                                              4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i packLanes = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    for (int row = 0; row < dst.height(); ++row) {
        const BilinearTap& t = y.taps[row];
        const std::uint8_t* r0 = src.scanline(t.i);
        const std::uint8_t* r1 = src.scanline(t.i + 1);
        int k = 0;
        if (t.w1 <= 127 && t.w2 <= 127) {
            const __m256i ab = _mm256_set1_epi16(short(t.w1 | t.w2 << 8));
            for (; k + 32 <= sb; k += 32) {
                const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r0 + k));
                const __m256i q = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r1 + k));
                const __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(p, q), ab);
                const __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(p, q), ab);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(v.data() + k),
                                    _mm256_permute2x128_si256(lo, hi, 0x20));
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(v.data() + k + 16),
                                    _mm256_permute2x128_si256(lo, hi, 0x31));
            }
        } else {
            const __m256i zero = _mm256_setzero_si256();
            const __m256i a = _mm256_set1_epi16(short(t.w1)), b = _mm256_set1_epi16(short(t.w2));
            for (; k + 32 <= sb; k += 32) {
                const __m256i p = _mm256_permute4x64_epi64(
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r0 + k)), 0xD8);
                const __m256i q = _mm256_permute4x64_epi64(
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r1 + k)), 0xD8);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(v.data() + k),
                                    _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(p, zero), a),
                                                     _mm256_mullo_epi16(_mm256_unpacklo_epi8(q, zero), b)));
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(v.data() + k + 16),
                                    _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(p, zero), a),
                                                     _mm256_mullo_epi16(_mm256_unpackhi_epi8(q, zero), b)));
            }
        }
        for (; k < sb; ++k)
            v[k] = std::int16_t(r0[k] * t.w1 + r1[k] * t.w2);

        std::uint8_t* out = dst.scanline(row);
        const std::int16_t* vd = v.data();
        for (int g = 0; g < groups; ++g) {
            __m256i r[4];
            for (int j = 0; j < 4; ++j) {
                const __m256i s = _mm256_inserti128_si256(
                    _mm256_castsi128_si256(
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(vd + from[8 * g + 2 * j]))),
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(vd + from[8 * g + 2 * j + 1])), 1);
                const __m256i w =
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights.data() + 64 * g + 16 * j));
                r[j] = divide(_mm256_madd_epi16(_mm256_shuffle_epi8(s, pairs), w), d);
            }
            const __m256i bytes =
                _mm256_packus_epi16(_mm256_packs_epi32(r[0], r[1]), _mm256_packs_epi32(r[2], r[3]));
            const __m256i packed =
                _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(bytes, collapse), packLanes);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 24 * g), _mm256_castsi256_si128(packed));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 24 * g + 16),
                             _mm256_extracti128_si256(packed, 1));
        }
        horizontalPlain(out, vd, x, 8 * groups, d);
    }
}

// ---- area average ----

// Column sums of a target row's source rows, weighted by row: sum[k] += row[k] * w (w below 2^15, so
// vpmaddwd of (byte, 0) by (w, 0) gives the product).
void accumulateSse2(std::uint32_t* sum, const std::uint8_t* row, int n, std::uint32_t w) {
    const __m128i zero = _mm_setzero_si128(), wv = _mm_set1_epi32(int(w));
    int k = 0;
    for (; k + 16 <= n; k += 16) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + k));
        const __m128i lo = _mm_unpacklo_epi8(p, zero), hi = _mm_unpackhi_epi8(p, zero);
        const __m128i q[4] = {_mm_unpacklo_epi16(lo, zero), _mm_unpackhi_epi16(lo, zero),
                              _mm_unpacklo_epi16(hi, zero), _mm_unpackhi_epi16(hi, zero)};
        for (int j = 0; j < 4; ++j) {
            __m128i* at = reinterpret_cast<__m128i*>(sum + k + 4 * j);
            _mm_storeu_si128(at, _mm_add_epi32(_mm_loadu_si128(at), _mm_madd_epi16(q[j], wv)));
        }
    }
    for (; k < n; ++k)
        sum[k] += row[k] * w;
}

__attribute__((target("avx2"))) void accumulateAvx2(std::uint32_t* sum, const std::uint8_t* row, int n,
                                                    std::uint32_t w) {
    const __m256i wv = _mm256_set1_epi32(int(w));
    int k = 0;
    for (; k + 16 <= n; k += 16) {
        const __m256i p0 = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + k)));
        const __m256i p1 =
            _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + k + 8)));
        __m256i* a0 = reinterpret_cast<__m256i*>(sum + k);
        __m256i* a1 = reinterpret_cast<__m256i*>(sum + k + 8);
        _mm256_storeu_si256(a0, _mm256_add_epi32(_mm256_loadu_si256(a0), _mm256_madd_epi16(p0, wv)));
        _mm256_storeu_si256(a1, _mm256_add_epi32(_mm256_loadu_si256(a1), _mm256_madd_epi16(p1, wv)));
    }
    for (; k < n; ++k)
        sum[k] += row[k] * w;
}

void boxRowPlain(std::uint8_t* out, const std::uint32_t* vertical, const std::vector<BoxTap>& columnTaps,
                 std::uint32_t dw, const Division& d) {
    for (std::size_t x = 0; x < columnTaps.size(); ++x) {
        const BoxTap& c = columnTaps[x];
        const std::uint32_t* v = vertical + 3 * c.first;
        std::uint32_t s[3], m[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k)
            s[k] = v[k] * std::uint32_t(c.wFirst);
        for (int i = c.first + 1; i < c.last; ++i) {
            v += 3;
            m[0] += v[0], m[1] += v[1], m[2] += v[2];
        }
        v = vertical + 3 * c.last;
        for (int k = 0; k < 3; ++k)
            out[3 * x + k] = std::uint8_t(d(s[k] + m[k] * dw + v[k] * std::uint32_t(c.wLast)));
    }
}

// Each target pixel's three sums in one vector (a fourth lane rides along unused).
__attribute__((target("avx2"))) void boxRowAvx2(std::uint8_t* out, const std::uint32_t* vertical,
                                                const std::vector<BoxTap>& columnTaps, std::uint32_t dw,
                                                const Division& d) {
    const __m128i dwv = _mm_set1_epi32(int(dw));
    const int n = int(columnTaps.size());
    for (int x = 0; x < n; ++x) {
        const BoxTap& c = columnTaps[x];
        const auto at = [&](int i) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(vertical + 3 * i));
        };
        __m128i m = _mm_setzero_si128();
        for (int i = c.first + 1; i < c.last; ++i)
            m = _mm_add_epi32(m, at(i));
        const __m128i s = _mm_add_epi32(
            _mm_add_epi32(_mm_mullo_epi32(at(c.first), _mm_set1_epi32(c.wFirst)), _mm_mullo_epi32(m, dwv)),
            _mm_mullo_epi32(at(c.last), _mm_set1_epi32(c.wLast)));
        const __m128i q = divide(s, d);
        const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(q, q), q));
        if (x + 1 < n)
            std::memcpy(out + 3 * x, &bytes, 4); // the fourth byte is the next pixel's, written next
        else
            std::memcpy(out + 3 * x, &bytes, 3);
    }
}

} // namespace

bool box24(platform::Bitmap& dst, const platform::Bitmap& src, const BoxTap* cols, const BoxTap* rows) {
    const platform::SimdLevel level = platform::simdLevel();
    if (level == platform::SimdLevel::Scalar) return false;
    const int sw = src.width(), sh = src.height(), dw = dst.width(), dh = dst.height();
    const std::uint64_t total = std::uint64_t(sw) * std::uint64_t(sh);
    if (255 * total > UINT32_MAX || dh > 32767) return false;
    const Division d(total);
    if (!d.valid) return false;
    const std::vector<BoxTap> columnTaps(cols, cols + dw);
    const int bytes = 3 * sw;
    // One lane more than the row, for the last pixel's vector load.
    std::vector<std::uint32_t> vertical(std::size_t(bytes) + 4);
    const bool avx2 = level == platform::SimdLevel::Avx2;
    for (int y = 0; y < dh; ++y) {
        const BoxTap& r = rows[y];
        std::fill(vertical.begin(), vertical.end(), 0u);
        for (int j = r.first; j <= r.last; ++j) {
            const std::uint32_t w = j == r.first ? r.wFirst : j == r.last ? r.wLast : std::uint32_t(dh);
            if (avx2)
                accumulateAvx2(vertical.data(), src.scanline(j), bytes, w);
            else
                accumulateSse2(vertical.data(), src.scanline(j), bytes, w);
        }
        if (avx2)
            boxRowAvx2(dst.scanline(y), vertical.data(), columnTaps, std::uint32_t(dw), d);
        else
            boxRowPlain(dst.scanline(y), vertical.data(), columnTaps, std::uint32_t(dw), d);
    }
    return true;
}

bool bilinear24(platform::Bitmap& dst, const platform::Bitmap& src, const BilinearTap* cols,
                const BilinearTap* rows) {
    const platform::SimdLevel level = platform::simdLevel();
    if (level == platform::SimdLevel::Scalar) return false;
    const Axis x = reduced(cols, dst.width()), y = reduced(rows, dst.height());
    // Vertical sums must stay below 2^15 and the weights must be 16-bit for vpmaddwd.
    if (255 * std::int64_t(y.den) > 32767 || x.den > 32767) return false;
    const Division d(std::uint64_t(x.den) * std::uint64_t(y.den));
    if (!d.valid) return false;
    if (level == platform::SimdLevel::Avx2)
        bilinearAvx2(dst, src, x, y, d);
    else
        bilinearSse2(dst, src, x, y, d);
    return true;
}

#else

bool bilinear24(platform::Bitmap&, const platform::Bitmap&, const BilinearTap*, const BilinearTap*) {
    return false;
}

bool box24(platform::Bitmap&, const platform::Bitmap&, const BoxTap*, const BoxTap*) {
    return false;
}

#endif

} // namespace simd
