// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Our blend and scaling against pixman's on the same pictures, in one run. The last lines are
// "ratio NAME VALUE" = our time / pixman's time for each pair.
//
// Blend: our drawOnBitmap (24-bit colour + 8-bit alpha over a 24-bit background, in place) against
// pixman OVER with exactly those formats (r8g8b8 source, a8 mask, r8g8b8 destination). For reference also
// against pixman's fastest OVER: premultiplied a8r8g8b8 over x8r8g8b8 (32-bit pixels, no mask).
// Opacity 128 is folded into pixman's mask / premultiplied source beforehand (outside the timing).
// Copy modes: our canvas's SRCCOPY, SRCPAINT (OR), SRCAND (AND) and nearest stretch (1280 x 960 onto
// 1024 x 768) against pixman SRC (plain and NEAREST-filtered) and, as pixman has no OR or AND, its ADD.
// Scaling: StretchBitmap against pixman SRC with a scale transform, PAD repeat, on r8g8b8 (our format) and,
// for reference, x8r8g8b8 (pixman's fast path); bilinear = PIXMAN_FILTER_BILINEAR, the area average =
// PIXMAN_FILTER_SEPARABLE_CONVOLUTION with box reconstruction and box sampling.

#include "pictures/AlphaPicture.hpp"
#include "pictures/StretchBitmap.hpp"
#include "platform/graphics/Canvas.hpp"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

using platform::Bitmap;
using platform::PixelFormat;

namespace {

constexpr int kW = 1024, kH = 768;

// Smooth, varied content: gradients with some texture, the kind of picture the program blends.
Bitmap makePicture(int w, int h, int seed) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = b.scanline(y);
        for (int x = 0; x < w; ++x) {
            p[3 * x] = std::uint8_t((x * 255) / w + seed);
            p[3 * x + 1] = std::uint8_t((y * 255) / h + 3 * seed);
            p[3 * x + 2] = std::uint8_t(((x ^ y) & 63) * 4 + seed);
        }
    }
    return b;
}

// A soft alpha: a wide band of every value between fully transparent and fully opaque areas.
Bitmap makeAlpha(int w, int h) {
    Bitmap a(w, h, PixelFormat::Indexed8);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = a.scanline(y);
        for (int x = 0; x < w; ++x) {
            const int v = (x + y) % 512 - 128;
            p[x] = std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
        }
    }
    return a;
}

struct Pictures {
    AlphaPicture logo;
    Bitmap background = makePicture(kW, kH, 40);
    Bitmap alpha = makeAlpha(kW, kH);
    Bitmap colour = makePicture(kW, kH, 7);
    Bitmap big = makePicture(1280, 960, 11);

    Pictures() {
        logo.setColor(std::make_unique<Bitmap>(colour));
        logo.setAlpha(std::make_unique<Bitmap>(alpha));
    }
};

Pictures& pictures() {
    static Pictures p;
    return p;
}

pixman_image_t* wrap(Bitmap& b, pixman_format_code_t f) {
    return pixman_image_create_bits(f, b.width(), b.height(), reinterpret_cast<std::uint32_t*>(b.data()),
                                    b.stride());
}

// ---- blend ----

void ourBlend(benchmark::State& state, int opacity) {
    Pictures& p = pictures();
    Bitmap target = p.background;
    const platform::Rect clip{0, 0, kW, kH};
    for (auto _ : state) {
        p.logo.drawOnBitmap(&target, 0, 0, opacity, &target, 0, 0, clip);
        benchmark::DoNotOptimize(target.data());
    }
}

void pixmanBlendSameFormats(benchmark::State& state, int opacity) {
    Pictures& p = pictures();
    Bitmap target = p.background;
    Bitmap colour = p.colour;
    Bitmap mask = p.alpha;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            mask.scanline(y)[x] = std::uint8_t(mask.scanline(y)[x] * opacity / 255);
    pixman_image_t* src = wrap(colour, PIXMAN_r8g8b8);
    pixman_image_t* msk = wrap(mask, PIXMAN_a8);
    pixman_image_t* dst = wrap(target, PIXMAN_r8g8b8);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src, msk, dst, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::DoNotOptimize(target.data());
    }
    pixman_image_unref(src);
    pixman_image_unref(msk);
    pixman_image_unref(dst);
}

void pixmanBlendPremultiplied(benchmark::State& state, int opacity) {
    Pictures& p = pictures();
    std::vector<std::uint32_t> src(std::size_t(kW) * kH), dst(std::size_t(kW) * kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const std::uint8_t* c = p.colour.scanline(y) + 3 * x;
            const std::uint8_t* g = p.background.scanline(y) + 3 * x;
            const unsigned a = p.alpha.scanline(y)[x] * unsigned(opacity) / 255;
            src[std::size_t(y) * kW + x] =
                a << 24 | (c[2] * a / 255) << 16 | (c[1] * a / 255) << 8 | (c[0] * a / 255);
            dst[std::size_t(y) * kW + x] = 0xFF000000u | unsigned(g[2]) << 16 | unsigned(g[1]) << 8 | g[0];
        }
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, src.data(), kW * 4);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_x8r8g8b8, kW, kH, dst.data(), kW * 4);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::DoNotOptimize(dst.data());
    }
    pixman_image_unref(s);
    pixman_image_unref(d);
}

// ---- scaling ----

void ourStretch(benchmark::State& state, int dw, int dh) {
    Pictures& p = pictures();
    Bitmap target(dw, dh);
    for (auto _ : state) {
        StretchBitmap(&target, &p.big);
        benchmark::DoNotOptimize(target.data());
    }
}

void pixmanStretch(benchmark::State& state, int dw, int dh, bool box, pixman_format_code_t format) {
    Pictures& p = pictures();
    const int bpp = format == PIXMAN_r8g8b8 ? 3 : 4;
    const int sstride = ((1280 * bpp + 3) / 4) * 4, dstride = ((dw * bpp + 3) / 4) * 4;
    std::vector<std::uint32_t> srcBits(std::size_t(sstride / 4) * 960),
        dstBits(std::size_t(dstride / 4) * dh);
    auto* sb = reinterpret_cast<std::uint8_t*>(srcBits.data());
    for (int y = 0; y < 960; ++y)
        for (int x = 0; x < 1280; ++x)
            for (int k = 0; k < 3; ++k)
                sb[std::size_t(y) * sstride + x * bpp + k] = p.big.scanline(y)[3 * x + k];
    pixman_image_t* src = pixman_image_create_bits(format, 1280, 960, srcBits.data(), sstride);
    pixman_image_t* dst = pixman_image_create_bits(format, dw, dh, dstBits.data(), dstride);
    const double sx = 1280.0 / dw, sy = 960.0 / dh;
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(sx), pixman_double_to_fixed(sy));
    pixman_image_set_transform(src, &t);
    pixman_image_set_repeat(src, PIXMAN_REPEAT_PAD);
    if (box) {
        int n = 0;
        pixman_fixed_t* params = pixman_filter_create_separable_convolution(
            &n, pixman_double_to_fixed(sx), pixman_double_to_fixed(sy), PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX,
            PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 4, 4);
        pixman_image_set_filter(src, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
        free(params);
    } else {
        pixman_image_set_filter(src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    }
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, dw, dh);
        benchmark::DoNotOptimize(dstBits.data());
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
}

// ---- canvas copy modes ----

// Our canvas draws a 1024 x 768 24-bit picture under a copy mode, plain or stretched from 1280 x 960.
void ourCopy(benchmark::State& state, platform::CopyMode mode, bool stretch) {
    Pictures& p = pictures();
    Bitmap target = p.background;
    const Bitmap& src = stretch ? p.big : p.colour;
    platform::Canvas& c = target.canvas();
    c.setCopyMode(mode);
    for (auto _ : state) {
        c.stretchDraw(platform::Rect{0, 0, kW, kH}, src);
        benchmark::DoNotOptimize(target.data());
    }
}

// pixman has no OR or AND; its nearest equivalent is the saturated bytewise ADD (the same read, one
// vector operation and write per byte). Plain copies and nearest stretches are SRC.
void pixmanCopy(benchmark::State& state, pixman_op_t op, bool stretch, pixman_format_code_t format) {
    Pictures& p = pictures();
    const int bpp = format == PIXMAN_r8g8b8 ? 3 : 4;
    const int sw = stretch ? 1280 : kW, sh = stretch ? 960 : kH;
    const Bitmap& pic = stretch ? p.big : p.colour;
    const int sstride = ((sw * bpp + 3) / 4) * 4, dstride = ((kW * bpp + 3) / 4) * 4;
    std::vector<std::uint32_t> srcBits(std::size_t(sstride / 4) * sh), dstBits(std::size_t(dstride / 4) * kH);
    auto* sb = reinterpret_cast<std::uint8_t*>(srcBits.data());
    auto* db = reinterpret_cast<std::uint8_t*>(dstBits.data());
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x)
            for (int k = 0; k < 3; ++k)
                sb[std::size_t(y) * sstride + x * bpp + k] = pic.scanline(y)[3 * x + k];
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            for (int k = 0; k < 3; ++k)
                db[std::size_t(y) * dstride + x * bpp + k] = p.background.scanline(y)[3 * x + k];
    pixman_image_t* src = pixman_image_create_bits(format, sw, sh, srcBits.data(), sstride);
    pixman_image_t* dst = pixman_image_create_bits(format, kW, kH, dstBits.data(), dstride);
    if (stretch) {
        pixman_transform_t t;
        pixman_transform_init_scale(&t, pixman_double_to_fixed(double(sw) / kW),
                                    pixman_double_to_fixed(double(sh) / kH));
        pixman_image_set_transform(src, &t);
        pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
    }
    for (auto _ : state) {
        pixman_image_composite32(op, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::DoNotOptimize(dstBits.data());
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
}

// Remembers every run's CPU time per iteration so the ratios come from this very run (CPU time, as the
// machine may be shared).
class Recorder : public benchmark::ConsoleReporter {
public:
    Recorder() : benchmark::ConsoleReporter(OO_Tabular) {} // no colour codes: the ratio lines stay plain
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.iterations > 0 && r.run_type == Run::RT_Iteration)
                seconds[r.benchmark_name()] = r.cpu_accumulated_time / double(r.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    pictures();
    benchmark::RegisterBenchmark("blend255/ours", ourBlend, 255)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("blend255/pixman_r8g8b8_a8", pixmanBlendSameFormats, 255)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("blend255/pixman_premul_8888", pixmanBlendPremultiplied, 255)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("blend128/ours", ourBlend, 128)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("blend128/pixman_r8g8b8_a8", pixmanBlendSameFormats, 128)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("blend128/pixman_premul_8888", pixmanBlendPremultiplied, 128)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("bilinear/ours", ourStretch, kW, kH)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("bilinear/pixman_r8g8b8", pixmanStretch, kW, kH, false, PIXMAN_r8g8b8)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("bilinear/pixman_x8r8g8b8", pixmanStretch, kW, kH, false, PIXMAN_x8r8g8b8)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("box/ours", ourStretch, 400, 300)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("box/pixman_r8g8b8", pixmanStretch, 400, 300, true, PIXMAN_r8g8b8)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("box/pixman_x8r8g8b8", pixmanStretch, 400, 300, true, PIXMAN_x8r8g8b8)
        ->Unit(benchmark::kMicrosecond);

    using platform::CopyMode;
    const auto us = [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMicrosecond); };
    us(benchmark::RegisterBenchmark("copy/ours", ourCopy, CopyMode::SrcCopy, false));
    us(benchmark::RegisterBenchmark("copy/pixman_r8g8b8", pixmanCopy, PIXMAN_OP_SRC, false, PIXMAN_r8g8b8));
    us(benchmark::RegisterBenchmark("copy/pixman_x8r8g8b8", pixmanCopy, PIXMAN_OP_SRC, false,
                                    PIXMAN_x8r8g8b8));
    us(benchmark::RegisterBenchmark("srcpaint/ours", ourCopy, CopyMode::SrcPaint, false));
    us(benchmark::RegisterBenchmark("srcand/ours", ourCopy, CopyMode::SrcAnd, false));
    us(benchmark::RegisterBenchmark("add/pixman_r8g8b8", pixmanCopy, PIXMAN_OP_ADD, false, PIXMAN_r8g8b8));
    us(benchmark::RegisterBenchmark("add/pixman_a8r8g8b8", pixmanCopy, PIXMAN_OP_ADD, false,
                                    PIXMAN_a8r8g8b8));
    us(benchmark::RegisterBenchmark("nearest/ours", ourCopy, CopyMode::SrcCopy, true));
    us(benchmark::RegisterBenchmark("nearest/pixman_r8g8b8", pixmanCopy, PIXMAN_OP_SRC, true, PIXMAN_r8g8b8));
    us(benchmark::RegisterBenchmark("nearest/pixman_x8r8g8b8", pixmanCopy, PIXMAN_OP_SRC, true,
                                    PIXMAN_x8r8g8b8));

    benchmark::Initialize(&argc, argv);
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();

    const auto ratio = [&](const char* name, const std::string& ours, const std::string& theirs) {
        const auto a = recorder.seconds.find(ours), b = recorder.seconds.find(theirs);
        if (a != recorder.seconds.end() && b != recorder.seconds.end() && b->second > 0)
            std::cout << "ratio " << name << " " << std::fixed << std::setprecision(3)
                      << a->second / b->second << std::endl;
    };
    ratio("blend255", "blend255/ours", "blend255/pixman_r8g8b8_a8");
    ratio("blend128", "blend128/ours", "blend128/pixman_r8g8b8_a8");
    ratio("bilinear", "bilinear/ours", "bilinear/pixman_r8g8b8");
    ratio("box", "box/ours", "box/pixman_r8g8b8");
    ratio("blend255_vs_premul_x8r8g8b8", "blend255/ours", "blend255/pixman_premul_8888");
    ratio("blend128_vs_premul_x8r8g8b8", "blend128/ours", "blend128/pixman_premul_8888");
    ratio("bilinear_vs_x8r8g8b8", "bilinear/ours", "bilinear/pixman_x8r8g8b8");
    ratio("box_vs_x8r8g8b8", "box/ours", "box/pixman_x8r8g8b8");
    ratio("copy", "copy/ours", "copy/pixman_r8g8b8");
    ratio("srcpaint", "srcpaint/ours", "add/pixman_r8g8b8");
    ratio("srcand", "srcand/ours", "add/pixman_r8g8b8");
    ratio("nearest", "nearest/ours", "nearest/pixman_r8g8b8");
    ratio("copy_vs_x8r8g8b8", "copy/ours", "copy/pixman_x8r8g8b8");
    ratio("srcpaint_vs_add_8888", "srcpaint/ours", "add/pixman_a8r8g8b8");
    ratio("srcand_vs_add_8888", "srcand/ours", "add/pixman_a8r8g8b8");
    ratio("nearest_vs_x8r8g8b8", "nearest/ours", "nearest/pixman_x8r8g8b8");
    return 0;
}
