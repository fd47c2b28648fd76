// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/graphics/Canvas.hpp"

#include <memory>
#include <stdexcept>
#include <string>

// The error codes the alpha picture raises. The message table covers codes 1..kBitmapErrorLast (the text of
// any code is looked up by its number); only these are raised.
enum BitmapErrorCode {
    kBitmapErrorUnknown = 1,
    kBitmapErrorUnknownType = 5, // the last code whose message has a colon after "Błąd"
    kBitmapErrorLoad = 6,
    kBitmapErrorSize = 8,
    kBitmapErrorFormat = 14,
    kBitmapErrorPixelFormat = 17,
    kBitmapErrorLast = 18,
};

class AlphaPictureError : public std::runtime_error {
public:
    explicit AlphaPictureError(int code);
    // A non-empty file name is appended to the message as ", Plik: <name>".
    AlphaPictureError(int code, const std::string& file);

    int code() const { return code_; }

    // The fixed text of a code; codes outside the table get the "unknown" text.
    static std::string text(int code);

private:
    int code_;
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
    void loadFromPairBmp(const std::string& blackPath, const std::string& pathOnWhite);
    // Pair of JPEG files (game paths). Existing colour and alpha bitmaps are reused as targets.
    void loadFromPairJpeg(const std::string& blackPath, const std::string& pathOnWhite);

    // Blends the picture over background (at bgX, bgY) into target at (x, y); the two may be the same
    // bitmap. clip is in the picture's own coordinates. Unsuitable arguments draw nothing.
    void drawOnBitmap(platform::Bitmap* target, int x, int y, int opacity, const platform::Bitmap* background,
                      int bgX, int bgY, const platform::Rect& clip);
    // Blends onto a canvas at (x, y) through the kept work bitmap.
    void drawOnCanvas(platform::Canvas& canvas, int x, int y, int opacity, bool releaseScratch);

    // Takes over other's colour and alpha (other is left without them); work bitmaps stay put.
    void takeOver(AlphaPicture& other);
    // Makes this object's colour and alpha a scaled copy of source's; with bleed the source's colour is
    // first spread into its fully transparent pixels (the source changes).
    void scaleFrom(AlphaPicture& source, int width, int height, bool bleed);

    int width() const { return color_ ? color_->width() : 0; }
    int height() const { return color_ ? color_->height() : 0; }

    platform::Bitmap* color() { return color_.get(); }
    platform::Bitmap* alpha() { return alpha_.get(); }
    platform::Bitmap* workBitmap() { return workBitmap_.get(); }
    const platform::Bitmap* color() const { return color_.get(); }
    const platform::Bitmap* alpha() const { return alpha_.get(); }
    const platform::Bitmap* workBitmap() const { return workBitmap_.get(); }

    // Replaces the colour / alpha bitmaps (used by tests and by code that builds pictures in memory).
    void setColor(BitmapPtr color) { color_ = std::move(color); }
    void setAlpha(BitmapPtr alpha) { alpha_ = std::move(alpha); }

private:
    void loadFromPair(const std::string& blackPath, const std::string& pathOnWhite, bool jpeg);

    BitmapPtr workBitmap_;
    BitmapPtr color_;
    BitmapPtr alpha_;
    // The canvas area under the picture when the canvas is not 24 or 32 bits; kept like the work bitmap.
    BitmapPtr captured_;
};

// Colour and alpha from the pair on black (B) and on white (W), both 24-bit of equal size. The colour
// and alpha bitmaps are (re)made in the pair's size. False when the pair is unsuitable.
bool extractColorAndAlpha(const platform::Bitmap& black, const platform::Bitmap& onWhite,
                          platform::Bitmap& color, platform::Bitmap& alpha);

// One pixel's blend weight: 1..256, from alpha and an opacity already clamped to 0..255 (opacity 0 is
// handled by the caller: the background stays).
constexpr int blendWeight(int a, int opacity) {
    return opacity == 255 ? a + 1 : ((a * (opacity + 1)) >> 8) + 1;
}

// One blended byte: moves from the background g towards the colour s by weight w, truncating towards g.
constexpr std::uint8_t blendByte(unsigned g, unsigned s, unsigned w) {
    return std::uint8_t(g < s ? g + (((s - g) * w) >> 8) : g - (((g - s) * w) >> 8));
}

BitmapPtr newBitmap24(int width, int height);
// 8-bit with the grey palette, every pixel set to value (no pixels when a side is below 1).
BitmapPtr newAlphaBitmap(int width, int height, std::uint8_t value);
// Entry i = (i, i, i).
platform::Palette grayPalette();
