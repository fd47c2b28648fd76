#include "ScreenScale.hpp"

#include "Bitmap.hpp"

#include <cstdint>
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

void scaleBilinear(const Bitmap& src, Bitmap& dst, const Rect& target) {
    const Rect t = target.intersect(Rect::fromSize(0, 0, dst.width(), dst.height()));
    if (t.empty() || src.empty() || target.empty()) return;
    // Source positions in 16.16 fixed point of each target column and row, centres aligned and clamped
    // to the edge pixels; the weight is the fraction towards the next pixel.
    auto positions = [](int from, int to, int start, int count, std::vector<int>& index,
                        std::vector<int>& weight) {
        index.resize(std::size_t(count));
        weight.resize(std::size_t(count));
        for (int i = 0; i < count; ++i) {
            std::int64_t p =
                ((std::int64_t(start + i) * 2 + 1) * from * 65536) / (std::int64_t(to) * 2) - 32768;
            if (p < 0) p = 0;
            const std::int64_t last = std::int64_t(from - 1) * 65536;
            if (p > last) p = last;
            index[std::size_t(i)] = int(p >> 16);
            weight[std::size_t(i)] = int((p >> 8) & 0xFF);
        }
    };
    std::vector<int> xi, xw, yi, yw;
    positions(src.width(), target.width(), t.left - target.left, t.width(), xi, xw);
    positions(src.height(), target.height(), t.top - target.top, t.height(), yi, yw);
    const int lastX = src.width() - 1, lastY = src.height() - 1;
    for (int j = 0; j < t.height(); ++j) {
        const std::uint8_t* r0 = src.scanline(yi[std::size_t(j)]);
        const std::uint8_t* r1 = src.scanline(std::min(yi[std::size_t(j)] + 1, lastY));
        const int wy = yw[std::size_t(j)];
        std::uint8_t* d = dst.scanline(t.top + j) + std::size_t(t.left) * 4;
        for (int i = 0; i < t.width(); ++i, d += 4) {
            const int x0 = xi[std::size_t(i)] * 4, x1 = std::min(xi[std::size_t(i)] + 1, lastX) * 4;
            const int wx = xw[std::size_t(i)];
            for (int c = 0; c < 4; ++c) {
                const int top = r0[x0 + c] * (256 - wx) + r0[x1 + c] * wx;
                const int bottom = r1[x0 + c] * (256 - wx) + r1[x1 + c] * wx;
                d[c] = std::uint8_t((top * (256 - wy) + bottom * wy + 32768) >> 16);
            }
        }
    }
}

} // namespace platform
