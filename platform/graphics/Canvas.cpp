// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/graphics/Canvas.hpp"

#include "platform/core/Bitmap.hpp"
#include "platform/core/RowOps.hpp"
#include "platform/graphics/Text.hpp"

#include <cstring>
#include <vector>

namespace platform {

namespace {

struct Bgr {
    std::uint8_t b, g, r;
};

inline Bgr readPixel(const Bitmap& bmp, const std::uint8_t* row, int x) {
    switch (bmp.format()) {
    case PixelFormat::Indexed8: {
        const PaletteEntry& e = bmp.palette()[row[x]];
        return {e.blue, e.green, e.red};
    }
    case PixelFormat::Bgr24:
        return {row[x * 3], row[x * 3 + 1], row[x * 3 + 2]};
    case PixelFormat::Bgra32:
        return {row[x * 4], row[x * 4 + 1], row[x * 4 + 2]};
    }
    return {0, 0, 0};
}

inline std::uint8_t combine(CopyMode mode, std::uint8_t dst, std::uint8_t src) {
    switch (mode) {
    case CopyMode::SrcPaint:
        return dst | src;
    case CopyMode::SrcAnd:
        return dst & src;
    default:
        return src;
    }
}

inline void writePixel(Bitmap& bmp, std::uint8_t* row, int x, Bgr c, CopyMode mode) {
    switch (bmp.format()) {
    case PixelFormat::Indexed8: {
        const std::uint8_t idx = nearestPaletteIndex(bmp.palette(), c.b, c.g, c.r);
        row[x] = combine(mode, row[x], idx);
        break;
    }
    case PixelFormat::Bgr24: {
        std::uint8_t* p = row + x * 3;
        p[0] = combine(mode, p[0], c.b), p[1] = combine(mode, p[1], c.g), p[2] = combine(mode, p[2], c.r);
        break;
    }
    case PixelFormat::Bgra32: {
        std::uint8_t* p = row + x * 4;
        p[0] = combine(mode, p[0], c.b), p[1] = combine(mode, p[1], c.g), p[2] = combine(mode, p[2], c.r);
        p[3] = 255;
        break;
    }
    }
}

// Scratch copy for overlapping self-copies; kept between calls so repeated small copies do not allocate.
Bitmap& scratch() {
    static Bitmap s;
    return s;
}

// Copies an unscaled block: dst (dx, dy) gets src (sx, sy), w x h pixels, all already clipped. The two never
// overlap: copies within one bitmap go through a scratch copy first.
void blitRows(Bitmap& dst, int dx, int dy, const Bitmap& src, int sx, int sy, int w, int h, CopyMode mode) {
    if (w <= 0 || h <= 0) return;
    const bool sameFormat = dst.format() == src.format();
    const bool indexedMix = dst.format() == PixelFormat::Indexed8 && src.format() == PixelFormat::Indexed8 &&
                            dst.palette() != src.palette();
    if (sameFormat && !indexedMix) {
        const int bpp = dst.bytesPerPixel();
        const std::size_t n = std::size_t(w) * bpp;
        if (mode == CopyMode::SrcCopy && dx == 0 && sx == 0 && w == dst.width() &&
            dst.stride() == src.stride()) {
            // Whole rows of equal layout: one copy of the block, padding included.
            rows::copyBytes(dst.scanline(dy), src.scanline(sy), std::size_t(h) * dst.stride());
            return;
        }
        for (int j = 0; j < h; ++j) {
            std::uint8_t* d = dst.scanline(dy + j) + dx * bpp;
            const std::uint8_t* s = src.scanline(sy + j) + sx * bpp;
            switch (mode) {
            case CopyMode::SrcPaint:
                rows::orBytes(d, s, n);
                break;
            case CopyMode::SrcAnd:
                rows::andBytes(d, s, n);
                break;
            default:
                rows::copyBytes(d, s, n);
                break;
            }
        }
        return;
    }
    for (int j = 0; j < h; ++j) {
        std::uint8_t* d = dst.scanline(dy + j);
        const std::uint8_t* s = src.scanline(sy + j);
        for (int i = 0; i < w; ++i)
            writePixel(dst, d, dx + i, readPixel(src, s, sx + i), mode);
    }
}

} // namespace

Canvas::Canvas(Bitmap& target) : target_(&target) {}

void Canvas::setClipRect(const Rect& clip) {
    clip_ = clip;
    clipSet_ = true;
}

void Canvas::resetClip() {
    clipSet_ = false;
}

Rect Canvas::clipRect() const {
    const Rect whole{0, 0, target_->width(), target_->height()};
    return clipSet_ ? whole.intersect(clip_) : whole;
}

void Canvas::changed(const Rect& r) {
    if (listener_ && !r.empty()) listener_(r);
}

void Canvas::draw(int x, int y, const Bitmap& src) {
    copyRect(Rect::fromSize(x, y, src.width(), src.height()), src, Rect{0, 0, src.width(), src.height()});
}

void Canvas::stretchDraw(const Rect& dst, const Bitmap& src) {
    copyRect(dst, src, Rect{0, 0, src.width(), src.height()});
}

void Canvas::copyRect(const Rect& dst, const Canvas& src, const Rect& srcRect) {
    copyRect(dst, src.bitmap(), srcRect);
}

// The nearest stretch between 24- or 32-bit bitmaps of one format: the source columns are mapped once,
// each row is gathered pixel by pixel, and a row that maps onto the same source row as the one before it
// is copied from that one. False when the formats differ.
static bool stretchSameFormat(Bitmap& target, const Rect& dst, const Rect& visible, const Bitmap& src,
                              const Rect& sr, const Rect& bounds, CopyMode mode) {
    // Palette targets map every colour to its first matching entry; they keep the general path.
    if (target.format() != src.format() || target.format() == PixelFormat::Indexed8) return false;
    const int bpp = target.bytesPerPixel();
    const std::int64_t dw = dst.width(), dh = dst.height(), sw = sr.width(), sh = sr.height();
    // Kept between calls so repeated stretches do not allocate.
    thread_local std::vector<std::int32_t> from;
    thread_local std::vector<std::uint8_t> row;
    thread_local rows::Gather gather;
    // Only destination columns whose source column exists are drawn; they form one run.
    int x0 = visible.right, x1 = visible.left;
    from.clear();
    for (int x = visible.left; x < visible.right; ++x) {
        const int sx = sr.left + int((std::int64_t(x - dst.left) * sw) / dw);
        if (sx < bounds.left || sx >= bounds.right) continue;
        if (x < x0) x0 = x;
        x1 = x + 1;
        from.push_back(sx * bpp);
    }
    if (x0 >= x1) return true;
    const int n = x1 - x0;
    if (mode != CopyMode::SrcCopy) row.resize(std::size_t(n) * bpp);
    gather.prepare(from.data(), n, bpp, std::size_t(src.width()) * bpp);
    int lastSy = -1, lastY = -1;
    for (int y = visible.top; y < visible.bottom; ++y) {
        const int sy = sr.top + int((std::int64_t(y - dst.top) * sh) / dh);
        if (sy < bounds.top || sy >= bounds.bottom) continue;
        std::uint8_t* d = target.scanline(y) + std::size_t(x0) * bpp;
        if (mode == CopyMode::SrcCopy) {
            if (sy == lastSy) {
                std::memcpy(d, target.scanline(lastY) + std::size_t(x0) * bpp, std::size_t(n) * bpp);
                continue;
            }
            gather.apply(d, src.scanline(sy));
            lastSy = sy, lastY = y;
        } else {
            gather.apply(row.data(), src.scanline(sy));
            if (mode == CopyMode::SrcPaint)
                rows::orBytes(d, row.data(), row.size());
            else
                rows::andBytes(d, row.data(), row.size());
        }
        // A stretched 32-bit pixel comes out opaque, as writePixel makes it.
        if (bpp == 4)
            for (int i = 0; i < n; ++i)
                d[4 * i + 3] = 255;
    }
    return true;
}

// Copies sr of src (only pixels inside bounds exist) onto dst, limited to visible; returns what changed.
static Rect blockCopy(Bitmap& target, const Rect& dst, const Rect& visible, const Bitmap& src, const Rect& sr,
                      const Rect& bounds, CopyMode mode) {
    if (dst.width() == sr.width() && dst.height() == sr.height()) {
        const Rect s = sr.intersect(bounds);
        const Rect d = s.offset(dst.left - sr.left, dst.top - sr.top).intersect(visible);
        if (d.empty()) return {};
        blitRows(target, d.left, d.top, src, d.left - dst.left + sr.left, d.top - dst.top + sr.top, d.width(),
                 d.height(), mode);
        return d;
    }
    // Nearest-pixel stretch: each destination pixel takes the source pixel its position maps onto.
    const std::int64_t dw = dst.width(), dh = dst.height(), sw = sr.width(), sh = sr.height();
    if (stretchSameFormat(target, dst, visible, src, sr, bounds, mode)) return visible;
    for (int y = visible.top; y < visible.bottom; ++y) {
        const int sy = sr.top + int((std::int64_t(y - dst.top) * sh) / dh);
        if (sy < bounds.top || sy >= bounds.bottom) continue;
        const std::uint8_t* srow = src.scanline(sy);
        std::uint8_t* drow = target.scanline(y);
        for (int x = visible.left; x < visible.right; ++x) {
            const int sx = sr.left + int((std::int64_t(x - dst.left) * sw) / dw);
            if (sx < bounds.left || sx >= bounds.right) continue;
            writePixel(target, drow, x, readPixel(src, srow, sx), mode);
        }
    }
    return visible;
}

void Canvas::copyRect(const Rect& dst, const Bitmap& srcIn, const Rect& srcRect) {
    if (dst.empty() || srcRect.empty() || srcIn.empty() || target_->empty()) return;
    const Rect visible = dst.intersect(clipRect());
    if (visible.empty()) return;

    const Bitmap* src = &srcIn;
    Rect sr = srcRect;
    Rect bounds{0, 0, srcIn.width(), srcIn.height()};
    if (src == target_) {
        // Reading and writing the same pixels: set the source block aside first.
        const Rect inside = srcRect.intersect(bounds);
        if (inside.empty()) return;
        Bitmap& tmp = scratch();
        if (tmp.format() != srcIn.format() || tmp.width() < inside.width() || tmp.height() < inside.height())
            tmp = Bitmap(std::max(tmp.width(), inside.width()), std::max(tmp.height(), inside.height()),
                         srcIn.format());
        tmp.palette() = srcIn.palette();
        blitRows(tmp, 0, 0, srcIn, inside.left, inside.top, inside.width(), inside.height(),
                 CopyMode::SrcCopy);
        src = &tmp;
        sr = srcRect.offset(-inside.left, -inside.top);
        bounds = {0, 0, inside.width(), inside.height()};
    }
    changed(blockCopy(*target_, dst, visible, *src, sr, bounds, copyMode_));
}

void Canvas::fillRect(const Rect& rect) {
    const Rect r = rect.intersect(clipRect());
    if (r.empty()) return;
    const Bgr c{blueOf(brush_), greenOf(brush_), redOf(brush_)};
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* row = target_->scanline(y);
        for (int x = r.left; x < r.right; ++x)
            writePixel(*target_, row, x, c, CopyMode::SrcCopy);
    }
    changed(r);
}

void Canvas::frameRect(const Rect& rect) {
    if (rect.empty()) return;
    fillRect({rect.left, rect.top, rect.right, rect.top + 1});
    fillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom});
    fillRect({rect.left, rect.top, rect.left + 1, rect.bottom});
    fillRect({rect.right - 1, rect.top, rect.right, rect.bottom});
}

Color Canvas::pixel(int x, int y) const {
    return target_->pixel(x, y);
}

void Canvas::setPixel(int x, int y, Color color) {
    if (!clipRect().contains(x, y)) return;
    target_->setPixel(x, y, color);
    changed({x, y, x + 1, y + 1});
}

// Text goes through the font layer; the canvas only clips and marks what changed.

void Canvas::textOut(int x, int y, std::string_view utf8) {
    changed(text::draw(*target_, clipRect(), x, y, utf8, font_));
}

Size Canvas::textExtent(std::string_view utf8) const {
    return text::measure(font_, utf8);
}

void Canvas::textRect(const Rect& rect, std::string_view utf8, TextAlign align, bool wordWrap) {
    changed(text::drawInRect(*target_, clipRect(), rect, utf8, font_, align, wordWrap));
}

} // namespace platform
