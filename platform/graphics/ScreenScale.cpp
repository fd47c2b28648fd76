// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/graphics/ScreenScale.hpp"

#include "platform/core/Bitmap.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace platform {

namespace {

// The two layouts the windows are drawn for, and the rule that picks one.
constexpr Size kSmall{800, 600};
constexpr Size kLarge{1024, 768};

Size layoutFor(Size output) {
    return output.width < kLarge.width || output.height < kLarge.height ? kSmall : kLarge;
}

int floorDiv(std::int64_t a, std::int64_t b) {
    return int(a >= 0 ? a / b : -((-a + b - 1) / b));
}

} // namespace

ScreenScale ScreenScale::none(Size output) {
    return {output, output, Rect::fromSize(0, 0, output.width, output.height)};
}

ScreenScale ScreenScale::fit(Size output) {
    const Size layout = layoutFor(output);
    const std::int64_t ow = output.width, oh = output.height;
    // Fills the height when the output is at least as wide as the layout's shape, else the width.
    const bool byHeight = ow * layout.height >= oh * layout.width;
    if (byHeight ? oh <= layout.height : ow <= layout.width) return none(output);
    ScreenScale s;
    s.output = output;
    if (byHeight) {
        s.screen = {int((ow * layout.height * 2 + oh) / (oh * 2)), layout.height};
        const int w = int(std::int64_t(s.screen.width) * oh / layout.height);
        s.target = Rect::fromSize((output.width - w) / 2, 0, w, output.height);
    } else {
        s.screen = {layout.width, int((oh * layout.width * 2 + ow) / (ow * 2))};
        const int h = int(std::int64_t(s.screen.height) * ow / layout.width);
        s.target = Rect::fromSize(0, (output.height - h) / 2, output.width, h);
    }
    return s;
}

Point ScreenScale::toScreen(Point p) const {
    if (target.empty()) return p;
    return {floorDiv(std::int64_t(p.x - target.left) * screen.width, target.width()),
            floorDiv(std::int64_t(p.y - target.top) * screen.height, target.height())};
}

void BilinearMap::prepare(Size source, const Rect& target) {
    source_ = source;
    target_ = target;
    // Source positions in 16.16 fixed point of each target column and row, centres aligned and clamped
    // to the edge pixels; the weight is the fraction towards the next pixel (the last pixel pairs with
    // itself).
    auto positions = [](int from, int to, std::vector<std::int32_t>& index,
                        std::vector<std::int32_t>& weight) {
        index.resize(std::size_t(std::max(to, 0)));
        weight.resize(std::size_t(std::max(to, 0)));
        const std::int64_t last = std::int64_t(from - 1) * 65536;
        for (int i = 0; i < to; ++i) {
            std::int64_t p = ((std::int64_t(i) * 2 + 1) * from * 65536) / (std::int64_t(to) * 2) - 32768;
            p = std::clamp<std::int64_t>(p, 0, std::max<std::int64_t>(last, 0));
            index[std::size_t(i)] = std::int32_t(p >> 16);
            weight[std::size_t(i)] = std::int32_t((p >> 8) & 0xFF);
        }
    };
    positions(source.width, target.width(), xi_, xw_);
    positions(source.height, target.height(), yi_, yw_);
}

Rect BilinearMap::outputOf(const Rect& r) const {
    if (r.empty() || source_.width <= 0 || source_.height <= 0) return {};
    const std::int64_t tw = target_.width(), th = target_.height();
    // A source pixel reaches the target pixels whose position lies less than one pixel from it.
    const Rect out{target_.left + int((std::int64_t(r.left) - 1) * tw / source_.width),
                   target_.top + int((std::int64_t(r.top) - 1) * th / source_.height),
                   target_.left + int(((std::int64_t(r.right) + 1) * tw + source_.width - 1) / source_.width),
                   target_.top +
                       int(((std::int64_t(r.bottom) + 1) * th + source_.height - 1) / source_.height)};
    return out.intersect(target_);
}

void BilinearMap::apply(const Bitmap& src, std::uint8_t* dst, std::ptrdiff_t pitch, Size dstSize,
                        const Rect& clip) const {
    const Rect t = clip.intersect(target_).intersect(Rect::fromSize(0, 0, dstSize.width, dstSize.height));
    if (t.empty() || src.width() != source_.width || src.height() != source_.height) return;
    // Two channels per 64-bit word, 32 bits apart: every intermediate stays below 2^25, so the sums are
    // those of the per-channel formula.
    auto spread = [](std::uint32_t p) -> std::pair<std::uint64_t, std::uint64_t> {
        return {(p & 0xFF) | (std::uint64_t(p & 0xFF0000) << 16),
                ((p >> 8) & 0xFF) | (std::uint64_t((p >> 24) & 0xFF) << 32)};
    };
    constexpr std::uint64_t kHalf = 0x0000800000008000ull, kLane = 0x000000FF000000FFull;
    const int lastX = source_.width - 1, lastY = source_.height - 1;
    for (int y = t.top; y < t.bottom; ++y) {
        const std::size_t j = std::size_t(y - target_.top);
        const auto* r0 = reinterpret_cast<const std::uint32_t*>(src.scanline(yi_[j]));
        const auto* r1 = reinterpret_cast<const std::uint32_t*>(src.scanline(std::min(yi_[j] + 1, lastY)));
        const std::uint64_t wy = std::uint64_t(yw_[j]), vy = 256 - wy;
        auto* d = reinterpret_cast<std::uint32_t*>(dst + std::ptrdiff_t(y) * pitch) + t.left;
        for (int x = t.left; x < t.right; ++x) {
            const std::size_t i = std::size_t(x - target_.left);
            const int x0 = xi_[i], x1 = std::min(x0 + 1, lastX);
            const std::uint64_t wx = std::uint64_t(xw_[i]), vx = 256 - wx;
            std::uint32_t a, b, c, e;
            std::memcpy(&a, r0 + x0, 4), std::memcpy(&b, r0 + x1, 4);
            std::memcpy(&c, r1 + x0, 4), std::memcpy(&e, r1 + x1, 4);
            const auto [a0, a1] = spread(a);
            const auto [b0, b1] = spread(b);
            const auto [c0, c1] = spread(c);
            const auto [e0, e1] = spread(e);
            const std::uint64_t lo =
                ((a0 * vx + b0 * wx) * vy + (c0 * vx + e0 * wx) * wy + kHalf) >> 16 & kLane;
            const std::uint64_t hi =
                ((a1 * vx + b1 * wx) * vy + (c1 * vx + e1 * wx) * wy + kHalf) >> 16 & kLane;
            const std::uint32_t out =
                std::uint32_t(lo) | std::uint32_t(lo >> 16) | std::uint32_t(hi) << 8 | std::uint32_t(hi >> 8);
            std::memcpy(d++, &out, 4);
        }
    }
}

void scaleBilinear(const Bitmap& src, Bitmap& dst, const Rect& target) {
    if (src.empty() || target.empty()) return;
    BilinearMap map;
    map.prepare({src.width(), src.height()}, target);
    map.apply(src, dst.scanline(0), dst.stride(), {dst.width(), dst.height()},
              Rect::fromSize(0, 0, dst.width(), dst.height()));
}

} // namespace platform
