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

// Exact floor(n / d) for every n up to maks, by one multiplication and a shift when the product fits
// 64 bits (n * e < 2^s holds for e = m * d - 2^s < d because 2^s >= maks * d); plain division otherwise.
struct Dzielnik {
    std::uint64_t d = 1;
    std::uint64_t m = 0;
    int s = 0;
    bool mnozenie = false;

    Dzielnik(std::uint64_t dzielnik, std::uint64_t maks) : d(dzielnik) {
        using u128 = unsigned __int128;
        const u128 granica = u128(maks) * d;
        while (s < 127 && (u128(1) << s) < granica)
            ++s;
        if (s >= 96) return;
        const u128 mm = ((u128(1) << s) + d - 1) / d;
        if (mm >> 64) return;
        m = std::uint64_t(mm);
        mnozenie = (u128(maks) * m) >> 64 == 0;
    }
    std::uint32_t operator()(std::uint64_t n) const { return std::uint32_t(mnozenie ? (n * m) >> s : n / d); }
};

void kopiujBlokowo(Bitmap& cel, const Bitmap& zrodlo) {
    platform::Canvas& kanwa = cel.canvas();
    const platform::CopyMode tryb = kanwa.copyMode();
    kanwa.setCopyMode(platform::CopyMode::SrcCopy);
    kanwa.stretchDraw(platform::Rect{0, 0, cel.width(), cel.height()}, zrodlo);
    kanwa.setCopyMode(tryb);
}

// ---- bilinear filter ----

// Source index of the left (upper) pixel and the two weights, all over the denominator 2n. Entries whose
// own denominator would be 1 (an edge pixel alone) are given as 2n and 0, which leaves every quotient
// unchanged and lets one divisor serve the whole picture.
using WpisDwuliniowy = simd::BilinearTap;

std::vector<WpisDwuliniowy> tabelaDwuliniowa(int s, int n) {
    std::vector<WpisDwuliniowy> t(static_cast<std::size_t>(n));
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
void poziomoDwuliniowo(const std::uint8_t* wiersz, int sw, const std::vector<WpisDwuliniowy>& kol,
                       std::uint32_t* out) {
    const int n = int(kol.size());
    int x = 0;
#if defined(__SSE2__)
    // Pairs (p_k, p_k+3) times (w1, w2) summed by pmaddwd; the weights must fit signed 16 bits, and the
    // 11 bytes read from p must lie within the row (p + 11 <= row end, i.e. i <= sw - 4).
    if (2 * n <= 32767 && platform::simdLevel() != platform::SimdLevel::Scalar) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i trzyPasy = _mm_set_epi32(0, -1, -1, -1);
        for (; x < n; ++x) {
            const WpisDwuliniowy& e = kol[x];
            if (e.i > sw - 4) break;
            const std::uint8_t* p = wiersz + 3 * e.i;
            std::int64_t lo, hi;
            std::memcpy(&lo, p, 8);
            std::memcpy(&hi, p + 3, 8);
            const __m128i pary =
                _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi64_si128(lo), _mm_cvtsi64_si128(hi)), zero);
            const __m128i wagi =
                _mm_and_si128(_mm_set1_epi32(int(std::uint32_t(e.w1) | std::uint32_t(e.w2) << 16)), trzyPasy);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_madd_epi16(pary, wagi));
        }
    }
#endif
    for (; x < n; ++x) {
        const WpisDwuliniowy& e = kol[x];
        const std::uint8_t* p = wiersz + 3 * e.i;
        const std::uint32_t a = std::uint32_t(e.w1), b = std::uint32_t(e.w2);
        out[3 * x] = p[0] * a + p[3] * b;
        out[3 * x + 1] = p[1] * a + p[4] * b;
        out[3 * x + 2] = p[2] * a + p[5] * b;
    }
}

template <typename Suma>
void pionowoDwuliniowo(const std::uint32_t* h0, const std::uint32_t* h1, std::uint32_t a, std::uint32_t b,
                       const Dzielnik& dziel, std::uint8_t* out, int bajty) {
    if (dziel.mnozenie) {
        const std::uint64_t m = dziel.m;
        const int s = dziel.s;
        for (int k = 0; k < bajty; ++k) {
            const Suma n = Suma(h0[k]) * a + Suma(h1[k]) * b;
            out[k] = std::uint8_t((std::uint64_t(n) * m) >> s);
        }
    } else {
        for (int k = 0; k < bajty; ++k)
            out[k] = std::uint8_t(dziel(Suma(h0[k]) * a + Suma(h1[k]) * b));
    }
}

void dwuliniowo(Bitmap& cel, const Bitmap& zrodlo) {
    const int dw = cel.width(), dh = cel.height();
    const auto kol = tabelaDwuliniowa(zrodlo.width(), dw);
    const auto wie = tabelaDwuliniowa(zrodlo.height(), dh);
    if (simd::bilinear24(cel, zrodlo, kol.data(), wie.data())) return;
    const std::uint64_t mianownik = std::uint64_t(2 * dw) * std::uint64_t(2 * dh);
    const Dzielnik dziel(mianownik, 255 * mianownik);
    // 255 * 2dw * 2dh fits 32 bits below this many target pixels.
    const bool sumy64 = std::int64_t(dw) * dh >= 4210752;

    // The two source rows a target row needs, interpolated along x; reused while the next row needs them.
    const int bajty = 3 * dw;
    std::vector<std::uint32_t> bufor(2 * std::size_t(bajty) + 2);
    std::uint32_t* h[2] = {bufor.data(), bufor.data() + bajty + 1};
    int wiersz[2] = {-1, -1};
    for (int y = 0; y < dh; ++y) {
        const WpisDwuliniowy& e = wie[y];
        if (wiersz[0] != e.i) {
            if (wiersz[1] == e.i) {
                std::swap(h[0], h[1]);
                std::swap(wiersz[0], wiersz[1]);
            } else {
                poziomoDwuliniowo(zrodlo.scanline(e.i), zrodlo.width(), kol, h[0]);
                wiersz[0] = e.i;
            }
        }
        if (wiersz[1] != e.i + 1) {
            poziomoDwuliniowo(zrodlo.scanline(e.i + 1), zrodlo.width(), kol, h[1]);
            wiersz[1] = e.i + 1;
        }
        if (sumy64)
            pionowoDwuliniowo<std::uint64_t>(h[0], h[1], e.w1, e.w2, dziel, cel.scanline(y), bajty);
        else
            pionowoDwuliniowo<std::uint32_t>(h[0], h[1], e.w1, e.w2, dziel, cel.scanline(y), bajty);
    }
}

// ---- box filter ----

using WpisPola = simd::BoxTap;

std::vector<WpisPola> tabelaPola(int s, int n) {
    std::vector<WpisPola> t(static_cast<std::size_t>(n));
    for (int x = 0; x < n; ++x) {
        const std::int64_t xs = std::int64_t(x) * s, x1s = (std::int64_t(x) + 1) * s;
        const std::int64_t pierwszy = xs / n;
        const std::int64_t ostatni = (x1s - 1) / n;
        t[x] = {std::int32_t(pierwszy), std::int32_t((pierwszy + 1) * n - xs), std::int32_t(ostatni),
                std::int32_t(x1s - ostatni * n)};
    }
    return t;
}

// Sums are at most 255 * sw * sh; Suma is 32-bit whenever that fits.
template <typename Suma> void polowo(Bitmap& cel, const Bitmap& zrodlo) {
    const int sw = zrodlo.width(), sh = zrodlo.height(), dw = cel.width(), dh = cel.height();
    const auto kol = tabelaPola(sw, dw);
    const auto wie = tabelaPola(sh, dh);
    if (simd::box24(cel, zrodlo, kol.data(), wie.data())) return;
    const std::uint64_t mianownik = std::uint64_t(sw) * std::uint64_t(sh);
    const Dzielnik dziel(mianownik, 255 * mianownik);
    const int bajty = 3 * sw;
    // Column sums of the target row's source rows, weighted by row (each at most 255 * sh).
    std::vector<Suma> pion(static_cast<std::size_t>(bajty));
    for (int y = 0; y < dh; ++y) {
        const WpisPola& r = wie[y];
        {
            const std::uint8_t* p = zrodlo.scanline(r.first);
            const Suma w = Suma(r.wFirst);
            for (int k = 0; k < bajty; ++k)
                pion[k] = p[k] * w;
        }
        for (int j = r.first + 1; j < r.last; ++j) {
            const std::uint8_t* p = zrodlo.scanline(j);
            const Suma w = Suma(dh);
            for (int k = 0; k < bajty; ++k)
                pion[k] += p[k] * w;
        }
        {
            const std::uint8_t* p = zrodlo.scanline(r.last);
            const Suma w = Suma(r.wLast);
            for (int k = 0; k < bajty; ++k)
                pion[k] += p[k] * w;
        }
        std::uint8_t* out = cel.scanline(y);
        for (int x = 0; x < dw; ++x) {
            const WpisPola& c = kol[x];
            const Suma* v = pion.data() + 3 * c.first;
            Suma s0 = v[0] * Suma(c.wFirst), s1 = v[1] * Suma(c.wFirst), s2 = v[2] * Suma(c.wFirst);
            Suma m0 = 0, m1 = 0, m2 = 0;
            for (int i = c.first + 1; i < c.last; ++i) {
                v += 3;
                m0 += v[0], m1 += v[1], m2 += v[2];
            }
            v = pion.data() + 3 * c.last;
            s0 += m0 * Suma(dw) + v[0] * Suma(c.wLast);
            s1 += m1 * Suma(dw) + v[1] * Suma(c.wLast);
            s2 += m2 * Suma(dw) + v[2] * Suma(c.wLast);
            out[3 * x] = std::uint8_t(dziel(s0));
            out[3 * x + 1] = std::uint8_t(dziel(s1));
            out[3 * x + 2] = std::uint8_t(dziel(s2));
        }
    }
}

} // namespace

void StretchBitmap(Bitmap* cel, const Bitmap* zrodlo) {
    if (!cel || !zrodlo || cel->format() != PixelFormat::Bgr24 || zrodlo->format() != PixelFormat::Bgr24)
        return;
    const int dw = cel->width(), dh = cel->height(), sw = zrodlo->width(), sh = zrodlo->height();
    if (dw <= 0 || dh <= 0) return;
    if (cel == zrodlo) return;

    if (dw == sw && dh == sh) {
        std::memcpy(cel->data(), zrodlo->data(), cel->byteSize());
        return;
    }
    if (dw >= (sw + 1) / 2 && dh >= (sh + 1) / 2) {
        if (dw > 1 && dh > 1 && sw > 1 && sh > 1) return dwuliniowo(*cel, *zrodlo);
        if (sw < dw || sh < dh) return kopiujBlokowo(*cel, *zrodlo);
    }
    // Area routine. With neither axis shrinking the bilinear branch above has already been taken.
    if (sw > 1 && sh > 1) {
        if (dw < sw && dh < sh) {
            if (255 * std::uint64_t(sw) * std::uint64_t(sh) <= UINT32_MAX)
                return polowo<std::uint32_t>(*cel, *zrodlo);
            return polowo<std::uint64_t>(*cel, *zrodlo);
        }
        if (dw < sw || dh < sh) return kopiujBlokowo(*cel, *zrodlo);
        return dwuliniowo(*cel, *zrodlo);
    }
    kopiujBlokowo(*cel, *zrodlo);
}

void rozlejKolorNaPrzezroczyste(Bitmap* kolor, const Bitmap* alfa) {
    if (!kolor || !alfa || kolor->format() != PixelFormat::Bgr24 || alfa->format() != PixelFormat::Indexed8)
        return;
    const int w = kolor->width(), h = kolor->height();
    if (alfa->width() != w || alfa->height() != h || w <= 1 || h <= 1) return;

    // Only transparent pixels are written and only opaque ones read, so one pass in place is enough.
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* a = alfa->scanline(y);
        std::uint8_t* c = kolor->scanline(y);
        for (int x = 0; x < w; ++x) {
            if (a[x] != 0) continue;
            unsigned s0 = 0, s1 = 0, s2 = 0, k = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny) {
                if (ny < 0 || ny >= h) continue;
                const std::uint8_t* na = alfa->scanline(ny);
                const std::uint8_t* nc = kolor->scanline(ny);
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
