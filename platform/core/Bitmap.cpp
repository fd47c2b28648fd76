// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/Bitmap.hpp"

#include "platform/core/Error.hpp"
#include "platform/graphics/Canvas.hpp"

#include <atomic>
#include <cstring>
#include <limits>

namespace platform {

namespace {

// Largest picture the program ever needs is a full screen; this only guards against absurd sizes.
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;

bool isGrey(const Palette& p) {
    for (int i = 0; i < 256; ++i)
        if (p[i].red != i || p[i].green != i || p[i].blue != i) return false;
    return true;
}

std::atomic<std::size_t> bytesInUse{0};

} // namespace

std::size_t bitmapBytesInUse() {
    return bytesInUse.load(std::memory_order_relaxed);
}

template <class T> T* CountedAllocator<T>::allocate(std::size_t n) {
    T* p = std::allocator<T>().allocate(n);
    bytesInUse.fetch_add(n * sizeof(T), std::memory_order_relaxed);
    return p;
}

template <class T> void CountedAllocator<T>::deallocate(T* p, std::size_t n) noexcept {
    bytesInUse.fetch_sub(n * sizeof(T), std::memory_order_relaxed);
    std::allocator<T>().deallocate(p, n);
}

template struct CountedAllocator<std::uint8_t>;

int Bitmap::strideFor(int width, PixelFormat format) {
    return ((width * int(format) + 31) / 32) * 4;
}

Palette Bitmap::greyPalette() {
    Palette p{};
    for (int i = 0; i < 256; ++i)
        p[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
    return p;
}

Bitmap::Bitmap() = default;

Bitmap::Bitmap(int width, int height, PixelFormat format) : format_(format) {
    if (format == PixelFormat::Indexed8) palette_ = greyPalette();
    resize(width, height);
}

Bitmap::Bitmap(const Bitmap& other)
    : width_(other.width_), height_(other.height_), format_(other.format_), stride_(other.stride_),
      pixels_(other.pixels_), palette_(other.palette_) {}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(other.width_), height_(other.height_), format_(other.format_), stride_(other.stride_),
      pixels_(std::move(other.pixels_)), palette_(other.palette_) {
    // A canvas belongs to its bitmap object (listeners are set by that object's owner); it never moves.
    other.width_ = other.height_ = other.stride_ = 0;
    other.pixels_.clear();
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        format_ = other.format_;
        stride_ = other.stride_;
        pixels_ = other.pixels_;
        palette_ = other.palette_;
    }
    return *this;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        format_ = other.format_;
        stride_ = other.stride_;
        pixels_ = std::move(other.pixels_);
        palette_ = other.palette_;
        // Our own canvas stays ours (its listener belongs to this bitmap's owner); only pixels move.
        other.width_ = other.height_ = other.stride_ = 0;
        other.pixels_.clear();
    }
    return *this;
}

Bitmap::~Bitmap() = default;

void Bitmap::resize(int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (std::int64_t(width) * std::int64_t(height) > kMaxPixels)
        throw ImageError("bitmap size " + std::to_string(width) + "x" + std::to_string(height) +
                         " is too large");
    if (width == width_ && height == height_ && !pixels_.empty()) return;
    const int newStride = strideFor(width, format_);
    decltype(pixels_) fresh(std::size_t(newStride) * std::size_t(height), 0);
    const int rows = std::min(height, height_);
    const int bytes = std::min(newStride, stride_);
    for (int y = 0; y < rows; ++y)
        std::memcpy(fresh.data() + std::size_t(y) * newStride, pixels_.data() + std::size_t(y) * stride_,
                    bytes);
    pixels_ = std::move(fresh);
    width_ = width;
    height_ = height;
    stride_ = newStride;
}

void Bitmap::clear() {
    width_ = height_ = stride_ = 0;
    decltype(pixels_)().swap(pixels_); // gives the memory back, not only the size
}

void Bitmap::fill(std::uint8_t value) {
    std::memset(pixels_.data(), value, pixels_.size());
}

void Bitmap::setFormat(PixelFormat format) {
    if (format == format_) return;
    if (format == PixelFormat::Indexed8 && format_ != PixelFormat::Indexed8) {
        bool hasPalette = false;
        for (const auto& e : palette_)
            if (e.red || e.green || e.blue) hasPalette = true;
        if (!hasPalette) palette_ = greyPalette();
    }
    Bitmap out;
    out.format_ = format;
    out.palette_ = palette_;
    out.resize(width_, height_);
    const bool grey = isGrey(palette_);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* s = scanline(y);
        std::uint8_t* d = out.scanline(y);
        for (int x = 0; x < width_; ++x) {
            std::uint8_t b, g, r, a = 255;
            if (format_ == PixelFormat::Indexed8) {
                const PaletteEntry& e = palette_[s[x]];
                b = e.blue, g = e.green, r = e.red;
            } else {
                const std::uint8_t* p = s + x * bytesPerPixel();
                b = p[0], g = p[1], r = p[2];
                if (format_ == PixelFormat::Bgra32) a = p[3];
            }
            switch (format) {
            case PixelFormat::Indexed8:
                d[x] = (grey && b == g && g == r) ? b : nearestPaletteIndex(palette_, b, g, r);
                break;
            case PixelFormat::Bgr24:
                d[x * 3] = b, d[x * 3 + 1] = g, d[x * 3 + 2] = r;
                break;
            case PixelFormat::Bgra32:
                d[x * 4] = b, d[x * 4 + 1] = g, d[x * 4 + 2] = r, d[x * 4 + 3] = a;
                break;
            }
        }
    }
    pixels_ = std::move(out.pixels_);
    stride_ = out.stride_;
    format_ = format;
}

Color Bitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
    const std::uint8_t* row = scanline(y);
    if (format_ == PixelFormat::Indexed8) {
        const PaletteEntry& e = palette_[row[x]];
        return rgb(e.red, e.green, e.blue);
    }
    const std::uint8_t* p = row + x * bytesPerPixel();
    return rgb(p[2], p[1], p[0]);
}

void Bitmap::setPixel(int x, int y, Color color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* row = scanline(y);
    if (format_ == PixelFormat::Indexed8) {
        row[x] = nearestPaletteIndex(palette_, blueOf(color), greenOf(color), redOf(color));
        return;
    }
    std::uint8_t* p = row + x * bytesPerPixel();
    p[0] = blueOf(color), p[1] = greenOf(color), p[2] = redOf(color);
    if (format_ == PixelFormat::Bgra32) p[3] = 255;
}

Canvas& Bitmap::canvas() {
    if (!canvas_) canvas_ = std::make_unique<Canvas>(*this);
    return *canvas_;
}

std::uint8_t nearestPaletteIndex(const Palette& palette, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    int best = 0;
    int bestDist = std::numeric_limits<int>::max();
    for (int i = 0; i < 256; ++i) {
        const int db = int(palette[i].blue) - b, dg = int(palette[i].green) - g, dr = int(palette[i].red) - r;
        const int dist = db * db + dg * dg + dr * dr;
        if (dist < bestDist) {
            bestDist = dist;
            best = i;
            if (dist == 0) break;
        }
    }
    return std::uint8_t(best);
}

} // namespace platform
