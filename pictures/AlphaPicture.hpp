// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/graphics/Canvas.hpp"

#include <memory>
#include <stdexcept>
#include <string>

// Error codes of the transparent bitmap; the numbers are fixed (messages are looked up by them).
enum TBitmapError {
    berrUnknown = 1,
    berrFileOpen,
    berrFileCreate,
    berrBroken,
    berrUnknownType,
    berrLoad,
    berrSave,
    berrSize,
    berrRead,
    berrWrite,
    berrClose,
    berrWidth,
    berrHeight,
    berrFormat,
    berrEmpty,
    berrBadIndex,
    berrPixelFormat,
    berrDifferentType,
};

class AlphaPictureError : public std::runtime_error {
public:
    explicit AlphaPictureError(int kod);
    // A non-empty file name is appended to the message as ", Plik: <name>".
    AlphaPictureError(int kod, const std::string& plik);

    int kod() const { return kod_; }

    // The fixed text of a code; codes outside the table get the "unknown" text.
    static std::string tekst(int kod);

private:
    int kod_;
};

using BitmapPtr = std::unique_ptr<platform::Bitmap>;

// A picture with per-pixel alpha, derived from two renderings of it: on black and on white.
class AlphaPicture {
public:
    AlphaPicture();
    AlphaPicture(const AlphaPicture&) = delete;
    AlphaPicture& operator=(const AlphaPicture&) = delete;
    AlphaPicture(AlphaPicture&&) noexcept;
    AlphaPicture& operator=(AlphaPicture&&) noexcept;
    ~AlphaPicture();

    // Pair of 24-bit BMP files (game paths). Releases all bitmaps first.
    void wczytajZParyBmp(const std::string& sciezkaCzarne, const std::string& sciezkaBiale);
    // Pair of JPEG files (game paths). Existing colour and alpha bitmaps are reused as targets.
    void wczytajZParyJpeg(const std::string& sciezkaCzarne, const std::string& sciezkaBiale);

    // Blends the picture over background (at bgX, bgY) into target at (x, y); the two may be the same
    // bitmap. clip is in the picture's own coordinates. Unsuitable arguments draw nothing.
    void rysujNaBitmapie(platform::Bitmap* cel, int x, int y, int krycie, const platform::Bitmap* tlo,
                         int bgX, int bgY, const platform::Rect& clip);
    // Blends onto a canvas at (x, y) through the kept work bitmap.
    void rysujNaKanwie(platform::Canvas& kanwa, int x, int y, int krycie, bool zwolnijRobocza);

    // Takes over other's colour and alpha (other is left without them); work bitmaps stay put.
    void przejmij(AlphaPicture& inny);
    // Makes this object's colour and alpha a scaled copy of source's; with bleed the source's colour is
    // first spread into its fully transparent pixels (the source changes).
    void przeskaluj(AlphaPicture& zrodlo, int szerokosc, int wysokosc, bool rozlej);

    int szerokosc() const { return kolor_ ? kolor_->width() : 0; }
    int wysokosc() const { return kolor_ ? kolor_->height() : 0; }

    platform::Bitmap* kolor() { return kolor_.get(); }
    platform::Bitmap* alfa() { return alfa_.get(); }
    platform::Bitmap* robocza() { return robocza_.get(); }
    const platform::Bitmap* kolor() const { return kolor_.get(); }
    const platform::Bitmap* alfa() const { return alfa_.get(); }
    const platform::Bitmap* robocza() const { return robocza_.get(); }

    // Replaces the colour / alpha bitmaps (used by tests and by code that builds pictures in memory).
    void ustawKolor(BitmapPtr kolor) { kolor_ = std::move(kolor); }
    void ustawAlfe(BitmapPtr alfa) { alfa_ = std::move(alfa); }

private:
    void wczytajZPary(const std::string& sciezkaCzarne, const std::string& sciezkaBiale, bool jpeg);

    BitmapPtr robocza_;
    BitmapPtr kolor_;
    BitmapPtr alfa_;
    // The canvas area under the picture when the canvas is not 24 or 32 bits; kept like the work bitmap.
    BitmapPtr przechwycona_;
};

// Colour and alpha from the pair on black (B) and on white (W), both 24-bit of equal size. The colour
// and alpha bitmaps are (re)made in the pair's size. False when the pair is unsuitable.
bool wyodrebnijKolorIAlfe(const platform::Bitmap& czarne, const platform::Bitmap& biale,
                          platform::Bitmap& kolor, platform::Bitmap& alfa);

// One pixel's blend weight: 1..256, from alpha and an opacity already clamped to 0..255 (opacity 0 is
// handled by the caller: the background stays).
constexpr int wagaMieszania(int a, int krycie) {
    return krycie == 255 ? a + 1 : ((a * (krycie + 1)) >> 8) + 1;
}

// One blended byte: moves from the background g towards the colour s by weight w, truncating towards g.
constexpr std::uint8_t mieszajBajt(unsigned g, unsigned s, unsigned w) {
    return std::uint8_t(g < s ? g + (((s - g) * w) >> 8) : g - (((g - s) * w) >> 8));
}

BitmapPtr nowaBitmapa24(int szerokosc, int wysokosc);
// 8-bit with the grey palette, every pixel set to wartosc (no pixels when a side is below 1).
BitmapPtr nowaBitmapaAlfa(int szerokosc, int wysokosc, std::uint8_t wartosc);
// Entry i = (i, i, i).
platform::Palette paletaSzarosci();
