// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A therapist's photo to a word's five pictures: an 8000 × 6000 camera JPEG and a 6000 × 4000 PNG, read
// from disk shrunk while decoding and made into the pictures, against one read of the same file, in the
// same run; and the five pictures written as files.
#include "pictures/PhotoWordPictures.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/system/Fs.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

std::string folder;

platform::Bitmap pattern(int w, int h) {
    platform::Bitmap b(w, h, platform::PixelFormat::Bgr24);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = b.scanline(y);
        for (int x = 0; x < w; ++x, row += 3) {
            row[0] = std::uint8_t(x * 255 / w);
            row[1] = std::uint8_t(y * 255 / h);
            row[2] = std::uint8_t((x ^ y) & 0xFF);
        }
    }
    return b;
}

void prepare() {
    char dir[] = "/tmp/wv-bench-photo-XXXXXX";
    folder = ::mkdtemp(dir) ? dir : "/tmp";
    platform::fs::setRoots(folder, folder);
    {
        const auto jpeg = platform::image::encodeJpeg(pattern(8000, 6000), 90);
        platform::fs::writeFileAtomic(folder + "/photo.jpg", jpeg);
    }
    platform::image::savePng(pattern(6000, 4000), folder + "/photo.png");
}

void readOnce(benchmark::State& state, const char* name) {
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::fs::readFile(folder + "/" + name));
}

void toPictures(benchmark::State& state, const char* name) {
    for (auto _ : state)
        benchmark::DoNotOptimize(wordPicturesFromPhoto(folder + "/" + name));
}

void BM_ReadJpegFile(benchmark::State& state) {
    readOnce(state, "photo.jpg");
}
void BM_JpegToPictures(benchmark::State& state) {
    toPictures(state, "photo.jpg");
}
void BM_ReadPngFile(benchmark::State& state) {
    readOnce(state, "photo.png");
}
void BM_PngToPictures(benchmark::State& state) {
    toPictures(state, "photo.png");
}
void BM_WritePictures(benchmark::State& state) {
    const WordPictures pictures = wordPicturesFromPhoto(folder + "/photo.jpg");
    for (auto _ : state)
        writeWordPictures(pictures, "Słowa", "zdjecie");
}

BENCHMARK(BM_ReadJpegFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegToPictures)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPngFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngToPictures)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePictures)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    prepare();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
