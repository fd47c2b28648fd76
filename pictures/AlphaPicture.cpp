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

std::string AlphaPictureError::text(int code) {
    static const char* const names[] = {
        "berrUnknown",  "berrFileOpen",    "berrFileCreate",    "berrBroken", "berrUnknownType",
        "berrLoad",     "berrSave",        "berrSize",          "berrRead",   "berrWrite",
        "berrClose",    "berrWidth",       "berrHeight",        "berrFormat", "berrEmpty",
        "berrBadIndex", "berrPixelFormat", "berrDifferentType",
    };
    if (code < kBitmapErrorUnknown || code > kBitmapErrorLast) return "CTransBitmap, Błąd: NIEZNANY!";
    // The first five codes were written with a colon after "Błąd", the rest without.
    const std::string errorPrefix =
        code <= kBitmapErrorUnknownType ? "CTransBitmap, Błąd: " : "CTransBitmap, Błąd ";
    return errorPrefix + names[code - 1];
}

AlphaPictureError::AlphaPictureError(int code) : std::runtime_error(text(code)), code_(code) {}

AlphaPictureError::AlphaPictureError(int code, const std::string& file)
    : std::runtime_error(file.empty() ? text(code) : text(code) + ", Plik: " + file), code_(code) {}

// ---- helpers ----

platform::Palette grayPalette() {
    return Bitmap::greyPalette();
}

BitmapPtr newBitmap24(int width, int height) {
    return std::make_unique<Bitmap>(std::max(width, 0), std::max(height, 0), PixelFormat::Bgr24);
}

BitmapPtr newAlphaBitmap(int width, int height, std::uint8_t value) {
    auto b = std::make_unique<Bitmap>(0, 0, PixelFormat::Indexed8);
    b->palette() = grayPalette();
    if (width < 1 || height < 1) return b;
    b->resize(width, height);
    b->fill(value);
    return b;
}

namespace {

// Gives bitmap the format and size, keeping its pixel buffer when both already match.
void prepare(Bitmap& b, int w, int h, PixelFormat f) {
    if (b.format() != f)
        b = Bitmap(w, h, f);
    else
        b.resize(w, h);
}

} // namespace

bool extractColorAndAlpha(const Bitmap& black, const Bitmap& onWhite, Bitmap& color, Bitmap& alpha) {
    if (black.format() != PixelFormat::Bgr24 || onWhite.format() != PixelFormat::Bgr24) return false;
    if (black.width() != onWhite.width() || black.height() != onWhite.height()) return false;
    const int w = black.width(), h = black.height();
    prepare(color, w, h, PixelFormat::Bgr24);
    prepare(alpha, w, h, PixelFormat::Indexed8);
    alpha.palette() = grayPalette();
    if (w <= 0 || h <= 0) return true;

    for (int y = 0; y < h; ++y) {
        const std::uint8_t* b = black.scanline(y);
        const std::uint8_t* wh = onWhite.scanline(y);
        std::uint8_t* c = color.scanline(y);
        std::uint8_t* a = alpha.scanline(y);
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

using BlendWeights = std::array<std::uint16_t, 256>;

BlendWeights weightTable(int opacity) {
    BlendWeights t{};
    for (int a = 0; a < 256; ++a)
        t[a] = std::uint16_t(blendWeight(a, opacity));
    return t;
}

// One row of n pixels. TB, GB, SB, AB: bytes per pixel of target, background, colour and alpha (for 24 and
// 32 bits the alpha is the pixel's first byte). Only the first three bytes of a target pixel are written.
template <int TB, int GB, int SB, int AB>
void blendRow(std::uint8_t* t, const std::uint8_t* g, const std::uint8_t* s, const std::uint8_t* a, int n,
              const BlendWeights& weights) {
    for (int i = 0; i < n; ++i, t += TB, g += GB, s += SB, a += AB) {
        const unsigned w = weights[*a];
        const unsigned g0 = g[0], g1 = g[1], g2 = g[2];
        if (w == 1) {
            t[0] = std::uint8_t(g0), t[1] = std::uint8_t(g1), t[2] = std::uint8_t(g2);
        } else if (w == 256) {
            t[0] = s[0], t[1] = s[1], t[2] = s[2];
        } else {
            t[0] = blendByte(g0, s[0], w);
            t[1] = blendByte(g1, s[1], w);
            t[2] = blendByte(g2, s[2], w);
        }
    }
}

template <int TB, int GB> void copyBackground(std::uint8_t* t, const std::uint8_t* g, int n) {
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

struct BlendRegion {
    Bitmap* target;
    int x, y; // target position of picture pixel (i0, j0)
    const Bitmap* background;
    int bgX, bgY; // background position of the same pixel
    int i0, j0, columns, rows;
};

template <int TB, int GB, int SB, int AB>
void blendArea(const BlendRegion& o, const Bitmap& color, const Bitmap& alpha, int opacity) {
    if (opacity == 0) {
        for (int j = 0; j < o.rows; ++j)
            copyBackground<TB, GB>(o.target->scanline(o.y + j) + o.x * TB,
                                   o.background->scanline(o.bgY + j) + o.bgX * GB, o.columns);
        return;
    }
    if constexpr (TB == 3 && GB == 3 && SB == 3 && AB == 1) {
        // Blocks are read before they are written, which equals pixel order unless target and background
        // are the same bitmap at different places; that rare case takes the plain loop below.
        if (o.target != o.background || (o.x == o.bgX && o.y == o.bgY)) {
            for (int j = 0; j < o.rows; ++j)
                simd::blendRow24(
                    o.target->scanline(o.y + j) + o.x * 3, o.background->scanline(o.bgY + j) + o.bgX * 3,
                    color.scanline(o.j0 + j) + o.i0 * 3, alpha.scanline(o.j0 + j) + o.i0, o.columns, opacity);
            return;
        }
    }
    const BlendWeights weights = weightTable(opacity);
    for (int j = 0; j < o.rows; ++j)
        blendRow<TB, GB, SB, AB>(
            o.target->scanline(o.y + j) + o.x * TB, o.background->scanline(o.bgY + j) + o.bgX * GB,
            color.scanline(o.j0 + j) + o.i0 * SB, alpha.scanline(o.j0 + j) + o.i0 * AB, o.columns, weights);
}

template <int TB, int GB, int SB>
void blendByAlpha(const BlendRegion& o, const Bitmap& color, const Bitmap& alpha, int opacity) {
    switch (alpha.bytesPerPixel()) {
    case 1:
        return blendArea<TB, GB, SB, 1>(o, color, alpha, opacity);
    case 3:
        return blendArea<TB, GB, SB, 3>(o, color, alpha, opacity);
    default:
        return blendArea<TB, GB, SB, 4>(o, color, alpha, opacity);
    }
}

template <int TB, int GB>
void blendByColor(const BlendRegion& o, const Bitmap& color, const Bitmap& alpha, int opacity) {
    if (color.bytesPerPixel() == 3)
        blendByAlpha<TB, GB, 3>(o, color, alpha, opacity);
    else
        blendByAlpha<TB, GB, 4>(o, color, alpha, opacity);
}

// Formats were checked by the caller: target and background 24/32, colour 24/32, alpha 8/24/32.
void blend(const BlendRegion& o, const Bitmap& color, const Bitmap& alpha, int opacity) {
    if (o.columns <= 0 || o.rows <= 0) return;
    const bool t3 = o.target->bytesPerPixel() == 3, g3 = o.background->bytesPerPixel() == 3;
    if (t3 && g3)
        blendByColor<3, 3>(o, color, alpha, opacity);
    else if (t3)
        blendByColor<3, 4>(o, color, alpha, opacity);
    else if (g3)
        blendByColor<4, 3>(o, color, alpha, opacity);
    else
        blendByColor<4, 4>(o, color, alpha, opacity);
}

bool colorOrBackground(const Bitmap* b) {
    return b && (b->format() == PixelFormat::Bgr24 || b->format() == PixelFormat::Bgra32);
}

bool fitsForBlending(const Bitmap* color, const Bitmap* alpha) {
    return colorOrBackground(color) && alpha && color->width() == alpha->width() &&
           color->height() == alpha->height();
}

} // namespace

// ---- AlphaPicture ----

AlphaPicture::AlphaPicture() = default;
AlphaPicture::~AlphaPicture() = default;
AlphaPicture::AlphaPicture(AlphaPicture&&) noexcept = default;
AlphaPicture& AlphaPicture::operator=(AlphaPicture&&) noexcept = default;

void AlphaPicture::loadFromPairBmp(const std::string& blackPath, const std::string& pathOnWhite) {
    workBitmap_.reset();
    color_.reset();
    alpha_.reset();
    loadFromPair(blackPath, pathOnWhite, false);
}

void AlphaPicture::loadFromPairJpeg(const std::string& blackPath, const std::string& pathOnWhite) {
    loadFromPair(blackPath, pathOnWhite, true);
}

void AlphaPicture::loadFromPair(const std::string& blackPath, const std::string& pathOnWhite, bool jpeg) {
    // The temporaries are locals, so they go on every path.
    Bitmap black, onWhite;
    auto load = [jpeg](Bitmap& b, const std::string& path) {
        try {
            if (jpeg)
                loadJpeg(b, path);
            else
                loadCorrectedBmp(b, path);
        } catch (...) {
            throw AlphaPictureError(kBitmapErrorLoad, path);
        }
    };
    load(black, blackPath);
    load(onWhite, pathOnWhite);
    if (black.width() != onWhite.width() || black.height() != onWhite.height())
        throw AlphaPictureError(kBitmapErrorSize);
    if (black.format() != PixelFormat::Bgr24 || onWhite.format() != PixelFormat::Bgr24)
        throw AlphaPictureError(kBitmapErrorPixelFormat);
    if (!color_) color_ = std::make_unique<Bitmap>();
    if (!alpha_) alpha_ = std::make_unique<Bitmap>(0, 0, PixelFormat::Indexed8);
    if (!extractColorAndAlpha(black, onWhite, *color_, *alpha_)) throw AlphaPictureError(kBitmapErrorFormat);
}

void AlphaPicture::drawOnBitmap(Bitmap* target, int x, int y, int opacity, const Bitmap* background, int bgX,
                                int bgY, const Rect& clip) {
    // Every bitmap here is device-independent already; there is no device format to switch from.
    if (!target || !background || !fitsForBlending(color_.get(), alpha_.get()) ||
        !colorOrBackground(target) || !colorOrBackground(background))
        return;
    opacity = std::clamp(opacity, 0, 255);

    // Visible region in the picture's coordinates: columns [t, t + g), rows [u, h). 64-bit so that
    // absurd positions cannot overflow.
    std::int64_t X = x, Y = y, BX = bgX, BY = bgY;
    std::int64_t t = 0, g = color_->width(), u = 0, h = color_->height();
    g = std::min({g, background->width() - BX, target->width() - X});
    h = std::min({h, background->height() - BY, target->height() - Y});
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

    const BlendRegion o{target,      int(X), int(Y + u), background, int(BX),
                        int(BY + u), int(t), int(u),     int(g),     int(h - u)};
    blend(o, *color_, *alpha_, opacity);
}

void AlphaPicture::drawOnCanvas(platform::Canvas& canvas, int x, int y, int opacity, bool releaseScratch) {
    if (fitsForBlending(color_.get(), alpha_.get())) {
        const int w = color_->width(), h = color_->height();
        if (!workBitmap_)
            workBitmap_ = std::make_unique<Bitmap>(w, h, PixelFormat::Bgr24);
        else
            prepare(*workBitmap_, w, h, PixelFormat::Bgr24);

        // Only the part of the picture that lies on the canvas's bitmap is captured and blended.
        Bitmap& screen = canvas.bitmap();
        const Rect hitArea =
            Rect::fromSize(x, y, w, h).intersect(Rect{0, 0, screen.width(), screen.height()});
        if (!hitArea.empty()) {
            const Bitmap* background = &screen;
            int gx = hitArea.left, gy = hitArea.top;
            if (!colorOrBackground(background)) {
                // A palette canvas: bring the area to 32 bits first, into a bitmap kept for the next draw.
                if (!captured_)
                    captured_ = std::make_unique<Bitmap>(w, h, PixelFormat::Bgra32);
                else
                    prepare(*captured_, w, h, PixelFormat::Bgra32);
                gx = hitArea.left - x, gy = hitArea.top - y;
                captured_->canvas().copyRect(Rect::fromSize(gx, gy, hitArea.width(), hitArea.height()),
                                             screen, hitArea);
                background = captured_.get();
            }
            const BlendRegion o{workBitmap_.get(), hitArea.left - x, hitArea.top - y, background,      gx, gy,
                                hitArea.left - x,  hitArea.top - y,  hitArea.width(), hitArea.height()};
            blend(o, *color_, *alpha_, std::clamp(opacity, 0, 255));
        }
    }
    if (workBitmap_) canvas.draw(x, y, *workBitmap_);
    if (releaseScratch) workBitmap_.reset();
}

void AlphaPicture::takeOver(AlphaPicture& other) {
    if (&other == this) return;
    color_ = std::move(other.color_);
    alpha_ = std::move(other.alpha_);
}

void AlphaPicture::scaleFrom(AlphaPicture& source, int width, int height, bool bleed) {
    if (&source == this) {
        // Scaling onto itself: set the pictures aside as the source first.
        AlphaPicture copy;
        copy.takeOver(*this);
        scaleFrom(copy, width, height, bleed);
        return;
    }
    const int w = std::max(width, 0), h = std::max(height, 0);
    if (source.color_ && source.alpha_) {
        // Pictures already of the wanted size are reused; a missing or odd-sized alpha is made anew, so
        // colour and alpha always come out together and of one size.
        const bool colorFits =
            color_ && color_->format() == PixelFormat::Bgr24 && color_->width() == w && color_->height() == h;
        if (!colorFits) color_ = newBitmap24(w, h);
        if (!colorFits || !alpha_ || alpha_->width() != w || alpha_->height() != h)
            alpha_ = newAlphaBitmap(w, h, 255);
    } else if (source.color_) {
        alpha_.reset();
        color_ = newBitmap24(w, h);
    } else {
        color_.reset();
        alpha_ = newAlphaBitmap(w, h, 255);
    }
    workBitmap_.reset();

    if (color_ && source.color_) {
        if (bleed && alpha_ && source.alpha_)
            bleedColorIntoTransparent(source.color_.get(), source.alpha_.get());
        StretchBitmap(color_.get(), source.color_.get());
    }
    if (alpha_ && source.alpha_) {
        const Bitmap& za = *source.alpha_;
        // Alpha is scaled as a grey 24-bit picture; its blue byte is the new alpha.
        Bitmap temporary(za.width(), za.height(), PixelFormat::Bgr24);
        const int bpp = za.bytesPerPixel();
        for (int j = 0; j < za.height(); ++j) {
            const std::uint8_t* s = za.scanline(j);
            std::uint8_t* d = temporary.scanline(j);
            for (int i = 0; i < za.width(); ++i, d += 3)
                d[0] = d[1] = d[2] = s[i * bpp];
        }
        Bitmap target24(w, h, PixelFormat::Bgr24);
        StretchBitmap(&target24, &temporary);
        alpha_ = newAlphaBitmap(w, h, 0);
        for (int j = 0; j < h; ++j) {
            const std::uint8_t* s = target24.scanline(j);
            std::uint8_t* d = alpha_->scanline(j);
            for (int i = 0; i < w; ++i)
                d[i] = s[3 * i];
        }
    }
}
