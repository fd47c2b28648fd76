// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/AlphaPicture.hpp"

#include "pictures/PictureFiles.hpp"
#include "pictures/SimdBlend.hpp"
#include "pictures/StretchBitmap.hpp"

#include <algorithm>
#include <array>
#include <cstring>

using platform::Bitmap;
using platform::PixelFormat;
using platform::Rect;

// ---- AlphaPictureError ----

std::string AlphaPictureError::tekst(int kod) {
    static const char* const nazwy[] = {
        "berrUnknown",  "berrFileOpen",    "berrFileCreate",    "berrBroken", "berrUnknownType",
        "berrLoad",     "berrSave",        "berrSize",          "berrRead",   "berrWrite",
        "berrClose",    "berrWidth",       "berrHeight",        "berrFormat", "berrEmpty",
        "berrBadIndex", "berrPixelFormat", "berrDifferentType",
    };
    if (kod < berrUnknown || kod > berrDifferentType) return "CTransBitmap, Błąd: NIEZNANY!";
    // The first five codes were written with a colon after "Błąd", the rest without.
    const std::string przedrostek = kod <= berrUnknownType ? "CTransBitmap, Błąd: " : "CTransBitmap, Błąd ";
    return przedrostek + nazwy[kod - 1];
}

AlphaPictureError::AlphaPictureError(int kod) : std::runtime_error(tekst(kod)), kod_(kod) {}

AlphaPictureError::AlphaPictureError(int kod, const std::string& plik)
    : std::runtime_error(plik.empty() ? tekst(kod) : tekst(kod) + ", Plik: " + plik), kod_(kod) {}

// ---- helpers ----

platform::Palette paletaSzarosci() {
    return Bitmap::greyPalette();
}

BitmapPtr nowaBitmapa24(int szerokosc, int wysokosc) {
    return std::make_unique<Bitmap>(std::max(szerokosc, 0), std::max(wysokosc, 0), PixelFormat::Bgr24);
}

BitmapPtr nowaBitmapaAlfa(int szerokosc, int wysokosc, std::uint8_t wartosc) {
    auto b = std::make_unique<Bitmap>(0, 0, PixelFormat::Indexed8);
    b->palette() = paletaSzarosci();
    if (szerokosc < 1 || wysokosc < 1) return b;
    b->resize(szerokosc, wysokosc);
    b->fill(wartosc);
    return b;
}

namespace {

// Gives bitmap the format and size, keeping its pixel buffer when both already match.
void przygotuj(Bitmap& b, int w, int h, PixelFormat f) {
    if (b.format() != f)
        b = Bitmap(w, h, f);
    else
        b.resize(w, h);
}

} // namespace

bool wyodrebnijKolorIAlfe(const Bitmap& czarne, const Bitmap& biale, Bitmap& kolor, Bitmap& alfa) {
    if (czarne.format() != PixelFormat::Bgr24 || biale.format() != PixelFormat::Bgr24) return false;
    if (czarne.width() != biale.width() || czarne.height() != biale.height()) return false;
    const int w = czarne.width(), h = czarne.height();
    przygotuj(kolor, w, h, PixelFormat::Bgr24);
    przygotuj(alfa, w, h, PixelFormat::Indexed8);
    alfa.palette() = paletaSzarosci();
    if (w <= 0 || h <= 0) return true;

    for (int y = 0; y < h; ++y) {
        const std::uint8_t* b = czarne.scanline(y);
        const std::uint8_t* wh = biale.scanline(y);
        std::uint8_t* c = kolor.scanline(y);
        std::uint8_t* a = alfa.scanline(y);
        for (int x = 0; x < w; ++x, b += 3, wh += 3, c += 3) {
            if ((b[0] == wh[0] && b[1] == wh[1]) || b[2] == wh[2]) {
                // Looks the same on both backgrounds: opaque.
                c[0] = b[0], c[1] = b[1], c[2] = b[2];
                a[x] = 255;
                continue;
            }
            // How much of the white shows through, judged on the blue channel alone.
            const unsigned d = unsigned(b[0]) + 255u - wh[0];
            a[x] = std::uint8_t(d <= 255 ? d : 255);
            if (d == 0) {
                c[0] = c[1] = c[2] = 0;
            } else {
                for (int k = 0; k < 3; ++k)
                    c[k] = std::uint8_t(std::min(255u, b[k] * 255u / d));
            }
        }
    }
    return true;
}

// ---- blending ----

namespace {

using Wagi = std::array<std::uint16_t, 256>;

Wagi tabelaWag(int krycie) {
    Wagi t{};
    for (int a = 0; a < 256; ++a)
        t[a] = std::uint16_t(wagaMieszania(a, krycie));
    return t;
}

// One row of n pixels. TB, GB, SB, AB: bytes per pixel of target, background, colour and alpha (for 24 and
// 32 bits the alpha is the pixel's first byte). Only the first three bytes of a target pixel are written.
template <int TB, int GB, int SB, int AB>
void mieszajWiersz(std::uint8_t* t, const std::uint8_t* g, const std::uint8_t* s, const std::uint8_t* a,
                   int n, const Wagi& wagi) {
    for (int i = 0; i < n; ++i, t += TB, g += GB, s += SB, a += AB) {
        const unsigned w = wagi[*a];
        const unsigned g0 = g[0], g1 = g[1], g2 = g[2];
        if (w == 1) {
            t[0] = std::uint8_t(g0), t[1] = std::uint8_t(g1), t[2] = std::uint8_t(g2);
        } else if (w == 256) {
            t[0] = s[0], t[1] = s[1], t[2] = s[2];
        } else {
            t[0] = mieszajBajt(g0, s[0], w);
            t[1] = mieszajBajt(g1, s[1], w);
            t[2] = mieszajBajt(g2, s[2], w);
        }
    }
}

template <int TB, int GB> void kopiujTlo(std::uint8_t* t, const std::uint8_t* g, int n) {
    if (t == g) return;
    if constexpr (TB == GB) {
        if constexpr (TB == 3) {
            std::memmove(t, g, std::size_t(n) * 3);
            return;
        }
    }
    for (int i = 0; i < n; ++i, t += TB, g += GB)
        t[0] = g[0], t[1] = g[1], t[2] = g[2];
}

struct Obszar {
    Bitmap* cel;
    int x, y; // target position of picture pixel (i0, j0)
    const Bitmap* tlo;
    int bgX, bgY; // background position of the same pixel
    int i0, j0, kolumny, wiersze;
};

template <int TB, int GB, int SB, int AB>
void mieszajObszar(const Obszar& o, const Bitmap& kolor, const Bitmap& alfa, int krycie) {
    if (krycie == 0) {
        for (int j = 0; j < o.wiersze; ++j)
            kopiujTlo<TB, GB>(o.cel->scanline(o.y + j) + o.x * TB, o.tlo->scanline(o.bgY + j) + o.bgX * GB,
                              o.kolumny);
        return;
    }
    if constexpr (TB == 3 && GB == 3 && SB == 3 && AB == 1) {
        // Blocks are read before they are written, which equals pixel order unless target and background
        // are the same bitmap at different places; that rare case takes the plain loop below.
        if (o.cel != o.tlo || (o.x == o.bgX && o.y == o.bgY)) {
            for (int j = 0; j < o.wiersze; ++j)
                simd::blendRow24(o.cel->scanline(o.y + j) + o.x * 3, o.tlo->scanline(o.bgY + j) + o.bgX * 3,
                                 kolor.scanline(o.j0 + j) + o.i0 * 3, alfa.scanline(o.j0 + j) + o.i0,
                                 o.kolumny, krycie);
            return;
        }
    }
    const Wagi wagi = tabelaWag(krycie);
    for (int j = 0; j < o.wiersze; ++j)
        mieszajWiersz<TB, GB, SB, AB>(
            o.cel->scanline(o.y + j) + o.x * TB, o.tlo->scanline(o.bgY + j) + o.bgX * GB,
            kolor.scanline(o.j0 + j) + o.i0 * SB, alfa.scanline(o.j0 + j) + o.i0 * AB, o.kolumny, wagi);
}

template <int TB, int GB, int SB>
void mieszajWgAlfy(const Obszar& o, const Bitmap& kolor, const Bitmap& alfa, int krycie) {
    switch (alfa.bytesPerPixel()) {
    case 1:
        return mieszajObszar<TB, GB, SB, 1>(o, kolor, alfa, krycie);
    case 3:
        return mieszajObszar<TB, GB, SB, 3>(o, kolor, alfa, krycie);
    default:
        return mieszajObszar<TB, GB, SB, 4>(o, kolor, alfa, krycie);
    }
}

template <int TB, int GB>
void mieszajWgKoloru(const Obszar& o, const Bitmap& kolor, const Bitmap& alfa, int krycie) {
    if (kolor.bytesPerPixel() == 3)
        mieszajWgAlfy<TB, GB, 3>(o, kolor, alfa, krycie);
    else
        mieszajWgAlfy<TB, GB, 4>(o, kolor, alfa, krycie);
}

// Formats were checked by the caller: target and background 24/32, colour 24/32, alpha 8/24/32.
void mieszaj(const Obszar& o, const Bitmap& kolor, const Bitmap& alfa, int krycie) {
    if (o.kolumny <= 0 || o.wiersze <= 0) return;
    const bool t3 = o.cel->bytesPerPixel() == 3, g3 = o.tlo->bytesPerPixel() == 3;
    if (t3 && g3)
        mieszajWgKoloru<3, 3>(o, kolor, alfa, krycie);
    else if (t3)
        mieszajWgKoloru<3, 4>(o, kolor, alfa, krycie);
    else if (g3)
        mieszajWgKoloru<4, 3>(o, kolor, alfa, krycie);
    else
        mieszajWgKoloru<4, 4>(o, kolor, alfa, krycie);
}

bool kolorLubTlo(const Bitmap* b) {
    return b && (b->format() == PixelFormat::Bgr24 || b->format() == PixelFormat::Bgra32);
}

bool pasujeDoMieszania(const Bitmap* kolor, const Bitmap* alfa) {
    return kolorLubTlo(kolor) && alfa && kolor->width() == alfa->width() && kolor->height() == alfa->height();
}

} // namespace

// ---- AlphaPicture ----

AlphaPicture::AlphaPicture() = default;
AlphaPicture::~AlphaPicture() = default;
AlphaPicture::AlphaPicture(AlphaPicture&&) noexcept = default;
AlphaPicture& AlphaPicture::operator=(AlphaPicture&&) noexcept = default;

void AlphaPicture::wczytajZParyBmp(const std::string& sciezkaCzarne, const std::string& sciezkaBiale) {
    robocza_.reset();
    kolor_.reset();
    alfa_.reset();
    wczytajZPary(sciezkaCzarne, sciezkaBiale, false);
}

void AlphaPicture::wczytajZParyJpeg(const std::string& sciezkaCzarne, const std::string& sciezkaBiale) {
    wczytajZPary(sciezkaCzarne, sciezkaBiale, true);
}

void AlphaPicture::wczytajZPary(const std::string& sciezkaCzarne, const std::string& sciezkaBiale,
                                bool jpeg) {
    // The temporaries are locals, so they go on every path.
    Bitmap czarne, biale;
    auto wczytaj = [jpeg](Bitmap& b, const std::string& sciezka) {
        try {
            if (jpeg)
                wczytajJpeg(b, sciezka);
            else
                wczytajPoprawionaBmp(b, sciezka);
        } catch (...) {
            throw AlphaPictureError(berrLoad, sciezka);
        }
    };
    wczytaj(czarne, sciezkaCzarne);
    wczytaj(biale, sciezkaBiale);
    if (czarne.width() != biale.width() || czarne.height() != biale.height())
        throw AlphaPictureError(berrSize);
    if (czarne.format() != PixelFormat::Bgr24 || biale.format() != PixelFormat::Bgr24)
        throw AlphaPictureError(berrPixelFormat);
    if (!kolor_) kolor_ = std::make_unique<Bitmap>();
    if (!alfa_) alfa_ = std::make_unique<Bitmap>(0, 0, PixelFormat::Indexed8);
    if (!wyodrebnijKolorIAlfe(czarne, biale, *kolor_, *alfa_)) throw AlphaPictureError(berrFormat);
}

void AlphaPicture::rysujNaBitmapie(Bitmap* cel, int x, int y, int krycie, const Bitmap* tlo, int bgX, int bgY,
                                   const Rect& clip) {
    // Every bitmap here is device-independent already; there is no device format to switch from.
    if (!cel || !tlo || !pasujeDoMieszania(kolor_.get(), alfa_.get()) || !kolorLubTlo(cel) ||
        !kolorLubTlo(tlo))
        return;
    krycie = std::clamp(krycie, 0, 255);

    // Visible region in the picture's coordinates: columns [t, t + g), rows [u, h). 64-bit so that
    // absurd positions cannot overflow.
    std::int64_t X = x, Y = y, BX = bgX, BY = bgY;
    std::int64_t t = 0, g = kolor_->width(), u = 0, h = kolor_->height();
    g = std::min({g, tlo->width() - BX, cel->width() - X});
    h = std::min({h, tlo->height() - BY, cel->height() - Y});
    if (BX < 0) {
        t = -BX;
        g += BX;
        X += t;
        BX = 0;
    }
    if (X < 0) {
        t -= X;
        g += X;
        BX -= X;
        X = 0;
    }
    u = BY < 0 ? -BY : 0;
    if (Y + u < 0) u = -Y;
    if (t < clip.left) {
        const std::int64_t d = clip.left - t;
        t += d, X += d, BX += d, g -= d;
    }
    u = std::max<std::int64_t>(u, clip.top);
    if (t + g > clip.right) g = clip.right - t;
    h = std::min<std::int64_t>(h, clip.bottom);
    if (u >= h || g <= 0) return;

    const Obszar o{cel, int(X), int(Y + u), tlo, int(BX), int(BY + u), int(t), int(u), int(g), int(h - u)};
    mieszaj(o, *kolor_, *alfa_, krycie);
}

void AlphaPicture::rysujNaKanwie(platform::Canvas& kanwa, int x, int y, int krycie, bool zwolnijRobocza) {
    if (pasujeDoMieszania(kolor_.get(), alfa_.get())) {
        const int w = kolor_->width(), h = kolor_->height();
        if (!robocza_)
            robocza_ = std::make_unique<Bitmap>(w, h, PixelFormat::Bgr24);
        else
            przygotuj(*robocza_, w, h, PixelFormat::Bgr24);

        // Only the part of the picture that lies on the canvas's bitmap is captured and blended.
        Bitmap& ekran = kanwa.bitmap();
        const Rect pole = Rect::fromSize(x, y, w, h).intersect(Rect{0, 0, ekran.width(), ekran.height()});
        if (!pole.empty()) {
            const Bitmap* tlo = &ekran;
            int gx = pole.left, gy = pole.top;
            if (!kolorLubTlo(tlo)) {
                // A palette canvas: bring the area to 32 bits first, into a bitmap kept for the next draw.
                if (!przechwycona_)
                    przechwycona_ = std::make_unique<Bitmap>(w, h, PixelFormat::Bgra32);
                else
                    przygotuj(*przechwycona_, w, h, PixelFormat::Bgra32);
                gx = pole.left - x, gy = pole.top - y;
                przechwycona_->canvas().copyRect(Rect::fromSize(gx, gy, pole.width(), pole.height()), ekran,
                                                 pole);
                tlo = przechwycona_.get();
            }
            const Obszar o{robocza_.get(), pole.left - x, pole.top - y, tlo,          gx, gy,
                           pole.left - x,  pole.top - y,  pole.width(), pole.height()};
            mieszaj(o, *kolor_, *alfa_, std::clamp(krycie, 0, 255));
        }
    }
    if (robocza_) kanwa.draw(x, y, *robocza_);
    if (zwolnijRobocza) robocza_.reset();
}

void AlphaPicture::przejmij(AlphaPicture& inny) {
    if (&inny == this) return;
    kolor_ = std::move(inny.kolor_);
    alfa_ = std::move(inny.alfa_);
}

void AlphaPicture::przeskaluj(AlphaPicture& zrodlo, int szerokosc, int wysokosc, bool rozlej) {
    if (&zrodlo == this) {
        // Scaling onto itself: set the pictures aside as the source first.
        AlphaPicture kopia;
        kopia.przejmij(*this);
        przeskaluj(kopia, szerokosc, wysokosc, rozlej);
        return;
    }
    const int w = std::max(szerokosc, 0), h = std::max(wysokosc, 0);
    if (zrodlo.kolor_ && zrodlo.alfa_) {
        // Pictures already of the wanted size are reused; a missing or odd-sized alpha is made anew, so
        // colour and alpha always come out together and of one size.
        const bool kolorPasuje =
            kolor_ && kolor_->format() == PixelFormat::Bgr24 && kolor_->width() == w && kolor_->height() == h;
        if (!kolorPasuje) kolor_ = nowaBitmapa24(w, h);
        if (!kolorPasuje || !alfa_ || alfa_->width() != w || alfa_->height() != h)
            alfa_ = nowaBitmapaAlfa(w, h, 255);
    } else if (zrodlo.kolor_) {
        alfa_.reset();
        kolor_ = nowaBitmapa24(w, h);
    } else {
        kolor_.reset();
        alfa_ = nowaBitmapaAlfa(w, h, 255);
    }
    robocza_.reset();

    if (kolor_ && zrodlo.kolor_) {
        if (rozlej && alfa_ && zrodlo.alfa_)
            rozlejKolorNaPrzezroczyste(zrodlo.kolor_.get(), zrodlo.alfa_.get());
        StretchBitmap(kolor_.get(), zrodlo.kolor_.get());
    }
    if (alfa_ && zrodlo.alfa_) {
        const Bitmap& za = *zrodlo.alfa_;
        // Alpha is scaled as a grey 24-bit picture; its blue byte is the new alpha.
        Bitmap tymczasowa(za.width(), za.height(), PixelFormat::Bgr24);
        const int bpp = za.bytesPerPixel();
        for (int j = 0; j < za.height(); ++j) {
            const std::uint8_t* s = za.scanline(j);
            std::uint8_t* d = tymczasowa.scanline(j);
            for (int i = 0; i < za.width(); ++i, d += 3)
                d[0] = d[1] = d[2] = s[i * bpp];
        }
        Bitmap cel24(w, h, PixelFormat::Bgr24);
        StretchBitmap(&cel24, &tymczasowa);
        alfa_ = nowaBitmapaAlfa(w, h, 0);
        for (int j = 0; j < h; ++j) {
            const std::uint8_t* s = cel24.scanline(j);
            std::uint8_t* d = alfa_->scanline(j);
            for (int i = 0; i < w; ++i)
                d[i] = s[3 * i];
        }
    }
}
