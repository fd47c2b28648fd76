// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/StretchBitmap.hpp"

#include "pictures/SimdScale.hpp"
#include "platform/core/Cpu.hpp"
#include "platform/graphics/Canvas.hpp"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <utility>
#include <vector>

using platform::Bitmap;
using platform::PixelFormat;

namespace {

// Exact floor(n / d) for every n up to maxValue, by one multiplication and a shift when the product fits
// 64 bits (n * e < 2^s holds for e = m * d - 2^s < d because 2^s >= maxValue * d); plain division otherwise.
struct FastDivider {
    std::uint64_t d = 1;
    std::uint64_t m = 0;
    int s = 0;
    bool useMultiply = false;

    FastDivider(std::uint64_t divisor, std::uint64_t maxValue) : d(divisor) {
        using u128 = unsigned __int128;
        const u128 limit = u128(maxValue) * d;
        while (s < 127 && (u128(1) << s) < limit)
            ++s;
        if (s >= 96) return;
        const u128 mm = ((u128(1) << s) + d - 1) / d;
        if (mm >> 64) return;
        m = std::uint64_t(mm);
        useMultiply = (u128(maxValue) * m) >> 64 == 0;
    }
    std::uint32_t operator()(std::uint64_t n) const {
        return std::uint32_t(useMultiply ? (n * m) >> s : n / d);
    }
};

void copyBlockwise(Bitmap& target, const Bitmap& source) {
    platform::Canvas& canvas = target.canvas();
    const platform::CopyMode mode = canvas.copyMode();
    canvas.setCopyMode(platform::CopyMode::SrcCopy);
    canvas.stretchDraw(platform::Rect{0, 0, target.width(), target.height()}, source);
    canvas.setCopyMode(mode);
}

// ---- bilinear filter ----

// Source index of the left (upper) pixel and the two weights, all over the denominator 2n. Entries whose
// own denominator would be 1 (an edge pixel alone) are given as 2n and 0, which leaves every quotient
// unchanged and lets one divisor serve the whole picture.
using BilinearTapEntry = simd::BilinearTap;

std::vector<BilinearTapEntry> bilinearTable(int s, int n) {
    std::vector<BilinearTapEntry> t(static_cast<std::size_t>(n));
    const std::int64_t dn = 2 * std::int64_t(n);
    for (int x = 0; x < n; ++x) {
        const std::int64_t q = std::int64_t(s) * (2 * std::int64_t(x) + 1);
        const std::int64_t d = (q + n) / dn;
        const std::int64_t i = d - 1;
        if (i < 0) {
            t[x] = {0, std::int32_t(dn), 0, std::int32_t(dn)};
        } else if (d == s) {
            t[x] = {s - 2, 0, std::int32_t(dn), std::int32_t(dn)};
        } else {
            const std::int64_t w2 = q - (2 * i + 1) * n;
            t[x] = {std::int32_t(i), std::int32_t(dn - w2), std::int32_t(w2), std::int32_t(dn)};
        }
    }
    return t;
}

// One source row interpolated along x: three sums per target pixel, each at most 255 * 2dw. out has room
// for one value more than the row needs (the vector path writes a fourth, zero lane).
void horizontalBilinear(const std::uint8_t* row, int sw, const std::vector<BilinearTapEntry>& columnTaps,
                        std::uint32_t* out) {
    const int n = int(columnTaps.size());
    int x = 0;
#if defined(__SSE2__)
    // Pairs (p_k, p_k+3) times (w1, w2) summed by pmaddwd; the weights must fit signed 16 bits, and the
    // 11 bytes read from p must lie within the row (p + 11 <= row end, i.e. i <= sw - 4).
    if (2 * n <= 32767 && platform::simdLevel() != platform::SimdLevel::Scalar) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i threeLanes = _mm_set_epi32(0, -1, -1, -1);
        for (; x < n; ++x) {
            const BilinearTapEntry& e = columnTaps[x];
            if (e.i > sw - 4) break;
            const std::uint8_t* p = row + 3 * e.i;
            std::int64_t lo, hi;
            std::memcpy(&lo, p, 8);
            std::memcpy(&hi, p + 3, 8);
            const __m128i pairs =
                _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi64_si128(lo), _mm_cvtsi64_si128(hi)), zero);
            const __m128i weights = _mm_and_si128(
                _mm_set1_epi32(int(std::uint32_t(e.w1) | std::uint32_t(e.w2) << 16)), threeLanes);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_madd_epi16(pairs, weights));
        }
    }
#endif
    for (; x < n; ++x) {
        const BilinearTapEntry& e = columnTaps[x];
        const std::uint8_t* p = row + 3 * e.i;
        const std::uint32_t a = std::uint32_t(e.w1), b = std::uint32_t(e.w2);
        out[3 * x] = p[0] * a + p[3] * b;
        out[3 * x + 1] = p[1] * a + p[4] * b;
        out[3 * x + 2] = p[2] * a + p[5] * b;
    }
}

template <typename SumT>
void verticalBilinear(const std::uint32_t* h0, const std::uint32_t* h1, std::uint32_t a, std::uint32_t b,
                      const FastDivider& divider, std::uint8_t* out, int bytes) {
    if (divider.useMultiply) {
        const std::uint64_t m = divider.m;
        const int s = divider.s;
        for (int k = 0; k < bytes; ++k) {
            const SumT n = SumT(h0[k]) * a + SumT(h1[k]) * b;
            out[k] = std::uint8_t((std::uint64_t(n) * m) >> s);
        }
    } else {
        for (int k = 0; k < bytes; ++k)
            out[k] = std::uint8_t(divider(SumT(h0[k]) * a + SumT(h1[k]) * b));
    }
}

void stretchBilinear(Bitmap& target, const Bitmap& source) {
    const int dw = target.width(), dh = target.height();
    const auto columnTaps = bilinearTable(source.width(), dw);
    const auto rowTaps = bilinearTable(source.height(), dh);
    if (simd::bilinear24(target, source, columnTaps.data(), rowTaps.data())) return;
    const std::uint64_t denominator = std::uint64_t(2 * dw) * std::uint64_t(2 * dh);
    const FastDivider divider(denominator, 255 * denominator);
    // 255 * 2dw * 2dh fits 32 bits below this many target pixels.
    const bool sums64 = std::int64_t(dw) * dh >= 4210752;

    // The two source rows a target row needs, interpolated along x; reused while the next row needs them.
    const int bytes = 3 * dw;
    std::vector<std::uint32_t> buffer(2 * std::size_t(bytes) + 2);
    std::uint32_t* h[2] = {buffer.data(), buffer.data() + bytes + 1};
    int row[2] = {-1, -1};
    for (int y = 0; y < dh; ++y) {
        const BilinearTapEntry& e = rowTaps[y];
        if (row[0] != e.i) {
            if (row[1] == e.i) {
                std::swap(h[0], h[1]);
                std::swap(row[0], row[1]);
            } else {
                horizontalBilinear(source.scanline(e.i), source.width(), columnTaps, h[0]);
                row[0] = e.i;
            }
        }
        if (row[1] != e.i + 1) {
            horizontalBilinear(source.scanline(e.i + 1), source.width(), columnTaps, h[1]);
            row[1] = e.i + 1;
        }
        if (sums64)
            verticalBilinear<std::uint64_t>(h[0], h[1], e.w1, e.w2, divider, target.scanline(y), bytes);
        else
            verticalBilinear<std::uint32_t>(h[0], h[1], e.w1, e.w2, divider, target.scanline(y), bytes);
    }
}

// ---- box filter ----

using BoxTapEntry = simd::BoxTap;

std::vector<BoxTapEntry> boxTable(int s, int n) {
    std::vector<BoxTapEntry> t(static_cast<std::size_t>(n));
    for (int x = 0; x < n; ++x) {
        const std::int64_t xs = std::int64_t(x) * s, x1s = (std::int64_t(x) + 1) * s;
        const std::int64_t firstPos = xs / n;
        const std::int64_t lastPos = (x1s - 1) / n;
        t[x] = {std::int32_t(firstPos), std::int32_t((firstPos + 1) * n - xs), std::int32_t(lastPos),
                std::int32_t(x1s - lastPos * n)};
    }
    return t;
}

// Sums are at most 255 * sw * sh; SumT is 32-bit whenever that fits.
template <typename SumT> void halve(Bitmap& target, const Bitmap& source) {
    const int sw = source.width(), sh = source.height(), dw = target.width(), dh = target.height();
    const auto columnTaps = boxTable(sw, dw);
    const auto rowTaps = boxTable(sh, dh);
    if (simd::box24(target, source, columnTaps.data(), rowTaps.data())) return;
    const std::uint64_t denominator = std::uint64_t(sw) * std::uint64_t(sh);
    const FastDivider divider(denominator, 255 * denominator);
    const int bytes = 3 * sw;
    // Column sums of the target row's source rows, weighted by row (each at most 255 * sh).
    std::vector<SumT> vertical(static_cast<std::size_t>(bytes));
    for (int y = 0; y < dh; ++y) {
        const BoxTapEntry& r = rowTaps[y];
        {
            const std::uint8_t* p = source.scanline(r.first);
            const SumT w = SumT(r.wFirst);
            for (int k = 0; k < bytes; ++k)
                vertical[k] = p[k] * w;
        }
        for (int j = r.first + 1; j < r.last; ++j) {
            const std::uint8_t* p = source.scanline(j);
            const SumT w = SumT(dh);
            for (int k = 0; k < bytes; ++k)
                vertical[k] += p[k] * w;
        }
        {
            const std::uint8_t* p = source.scanline(r.last);
            const SumT w = SumT(r.wLast);
            for (int k = 0; k < bytes; ++k)
                vertical[k] += p[k] * w;
        }
        std::uint8_t* out = target.scanline(y);
        for (int x = 0; x < dw; ++x) {
            const BoxTapEntry& c = columnTaps[x];
            const SumT* v = vertical.data() + 3 * c.first;
            SumT s0 = v[0] * SumT(c.wFirst), s1 = v[1] * SumT(c.wFirst), s2 = v[2] * SumT(c.wFirst);
            SumT m0 = 0, m1 = 0, m2 = 0;
            for (int i = c.first + 1; i < c.last; ++i) {
                v += 3;
                m0 += v[0], m1 += v[1], m2 += v[2];
            }
            v = vertical.data() + 3 * c.last;
            s0 += m0 * SumT(dw) + v[0] * SumT(c.wLast);
            s1 += m1 * SumT(dw) + v[1] * SumT(c.wLast);
            s2 += m2 * SumT(dw) + v[2] * SumT(c.wLast);
            out[3 * x] = std::uint8_t(divider(s0));
            out[3 * x + 1] = std::uint8_t(divider(s1));
            out[3 * x + 2] = std::uint8_t(divider(s2));
        }
    }
}

} // namespace

void StretchBitmap(Bitmap* target, const Bitmap* source) {
    if (!target || !source || target->format() != PixelFormat::Bgr24 ||
        source->format() != PixelFormat::Bgr24)
        return;
    const int dw = target->width(), dh = target->height(), sw = source->width(), sh = source->height();
    if (dw <= 0 || dh <= 0) return;
    if (target == source) return;

    if (dw == sw && dh == sh) {
        std::memcpy(target->data(), source->data(), target->byteSize());
        return;
    }
    if (dw >= (sw + 1) / 2 && dh >= (sh + 1) / 2) {
        if (dw > 1 && dh > 1 && sw > 1 && sh > 1) return stretchBilinear(*target, *source);
        if (sw < dw || sh < dh) return copyBlockwise(*target, *source);
    }
    // Area routine. With neither axis shrinking the bilinear branch above has already been taken.
    if (sw > 1 && sh > 1) {
        if (dw < sw && dh < sh) {
            if (255 * std::uint64_t(sw) * std::uint64_t(sh) <= UINT32_MAX)
                return halve<std::uint32_t>(*target, *source);
            return halve<std::uint64_t>(*target, *source);
        }
        if (dw < sw || dh < sh) return copyBlockwise(*target, *source);
        return stretchBilinear(*target, *source);
    }
    copyBlockwise(*target, *source);
}

void bleedColorIntoTransparent(Bitmap* color, const Bitmap* alpha) {
    if (!color || !alpha || color->format() != PixelFormat::Bgr24 || alpha->format() != PixelFormat::Indexed8)
        return;
    const int w = color->width(), h = color->height();
    if (alpha->width() != w || alpha->height() != h || w <= 1 || h <= 1) return;

    // Only transparent pixels are written and only opaque ones read, so one pass in place is enough.
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* a = alpha->scanline(y);
        std::uint8_t* c = color->scanline(y);
        for (int x = 0; x < w; ++x) {
            if (a[x] != 0) continue;
            unsigned s0 = 0, s1 = 0, s2 = 0, k = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny) {
                if (ny < 0 || ny >= h) continue;
                const std::uint8_t* na = alpha->scanline(ny);
                const std::uint8_t* nc = color->scanline(ny);
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    if (nx < 0 || nx >= w || (nx == x && ny == y) || na[nx] == 0) continue;
                    s0 += nc[3 * nx], s1 += nc[3 * nx + 1], s2 += nc[3 * nx + 2];
                    ++k;
                }
            }
            if (k == 0) continue;
            c[3 * x] = std::uint8_t(s0 / k);
            c[3 * x + 1] = std::uint8_t(s1 / k);
            c[3 * x + 2] = std::uint8_t(s2 / k);
        }
    }
}
