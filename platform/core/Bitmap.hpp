// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Types.hpp"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

class Canvas;

// Bytes held by the pixels of every bitmap alive, so the picture loaders can refuse a data set that
// would not fit in memory instead of letting the system run out.
std::size_t bitmapBytesInUse();

template <class T> struct CountedAllocator {
    using value_type = T;
    CountedAllocator() = default;
    template <class U> CountedAllocator(const CountedAllocator<U>&) noexcept {}
    T* allocate(std::size_t n);
    void deallocate(T* p, std::size_t n) noexcept;
    template <class U> bool operator==(const CountedAllocator<U>&) const noexcept { return true; }
};

enum class PixelFormat : std::uint8_t {
    Indexed8 = 8, // one byte per pixel, 256-entry palette
    Bgr24 = 24,   // blue, green, red
    Bgra32 = 32,  // blue, green, red, alpha (alpha is carried, never blended by the canvas)
};

struct PaletteEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

using Palette = std::array<PaletteEntry, 256>;

// A device-independent picture: rows top-down, each row padded to a multiple of 4 bytes.
// Copying copies the pixels; each bitmap has its own canvas, created when first asked for.
class Bitmap {
public:
    Bitmap();
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Bgr24);
    Bitmap(const Bitmap& other);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(const Bitmap& other);
    Bitmap& operator=(Bitmap&& other) noexcept;
    ~Bitmap();

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return {width_, height_}; }
    PixelFormat format() const { return format_; }
    int bitsPerPixel() const { return int(format_); }
    int bytesPerPixel() const { return int(format_) / 8; }
    int stride() const { return stride_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }

    std::uint8_t* scanline(int y) { return pixels_.data() + std::size_t(y) * std::size_t(stride_); }
    const std::uint8_t* scanline(int y) const {
        return pixels_.data() + std::size_t(y) * std::size_t(stride_);
    }
    std::uint8_t* data() { return pixels_.data(); }
    const std::uint8_t* data() const { return pixels_.data(); }
    std::size_t byteSize() const { return pixels_.size(); }

    Palette& palette() { return palette_; }
    const Palette& palette() const { return palette_; }

    // New size; the overlapping top-left part keeps its pixels, new pixels are zero.
    void resize(int width, int height);
    // Converts the pixels. 8-bit targets get the nearest palette entry of the current palette
    // (a grey palette when the bitmap had none); 8-bit sources expand through their palette.
    void setFormat(PixelFormat format);
    // Drops pixels and size.
    void clear();
    // Every byte of every row (padding included) set to value.
    void fill(std::uint8_t value);

    // Colour of a pixel; out-of-range coordinates read black.
    Color pixel(int x, int y) const;
    // Out-of-range coordinates are ignored.
    void setPixel(int x, int y, Color color);

    Canvas& canvas();

    static int strideFor(int width, PixelFormat format);
    static Palette greyPalette();

private:
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Bgr24;
    int stride_ = 0;
    std::vector<std::uint8_t, CountedAllocator<std::uint8_t>> pixels_;
    Palette palette_{};
    std::unique_ptr<Canvas> canvas_;
};

// Nearest palette index for a colour (sum of squared channel differences, first on ties).
std::uint8_t nearestPaletteIndex(const Palette& palette, std::uint8_t b, std::uint8_t g, std::uint8_t r);

} // namespace platform
