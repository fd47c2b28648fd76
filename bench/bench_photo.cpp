// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A therapist's photo to a word's five pictures: an 8000 × 6000 camera JPEG and a 6000 × 4000 PNG, read
// from disk shrunk while decoding and made into the pictures, against one read of the same file, in the
// same run; and the five pictures written as one folder. Wall-clock time: reading is part of the job.
#include "pictures/PhotoWordPictures.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/system/Fs.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <map>
#include <string>

namespace {

std::string folder;

// Gradients with sensor-like noise, so the files are as large as a camera's.
platform::Bitmap photoLike(int w, int h) {
    platform::Bitmap b(w, h, platform::PixelFormat::Bgr24);
    std::uint32_t seed = 2463534242u;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = b.scanline(y);
        for (int x = 0; x < w; ++x, row += 3) {
            seed ^= seed << 13, seed ^= seed >> 17, seed ^= seed << 5;
            const int noise = int(seed & 31) - 16;
            row[0] = std::uint8_t(std::clamp(x * 200 / w + 20 + noise, 0, 255));
            row[1] = std::uint8_t(std::clamp(y * 200 / h + 20 + noise, 0, 255));
            row[2] = std::uint8_t(std::clamp((x + y) * 100 / (w + h) + 80 + noise, 0, 255));
        }
    }
    return b;
}

void prepare() {
    char dir[] = "/tmp/wv-bench-photo-XXXXXX";
    folder = ::mkdtemp(dir) ? dir : "/tmp";
    platform::fs::setRoots(folder, folder);
    platform::fs::writeFileAtomic(folder + "/photo.jpg",
                                  platform::image::encodeJpeg(photoLike(8000, 6000), 90));
    platform::image::savePng(photoLike(6000, 4000), folder + "/photo.png");
}

void readOnce(benchmark::State& state, const std::string& name) {
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::fs::readFile(folder + "/" + name));
}

void toPictures(benchmark::State& state, const std::string& name) {
    for (auto _ : state)
        benchmark::DoNotOptimize(wordPicturesFromPhoto(folder + "/" + name));
}

void writeFiles(benchmark::State& state) {
    const WordPictures pictures = wordPicturesFromPhoto(folder + "/photo.jpg");
    for (auto _ : state)
        writeWordPictures(pictures, "Słowa", "zdjecie");
}

class Recorder : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.iterations > 0) seconds[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    prepare();
    for (const char* kind : {"jpg", "png"}) {
        const std::string file = std::string("photo.") + kind;
        benchmark::RegisterBenchmark(("photo/read_" + std::string(kind) + "_once").c_str(),
                                     [file](benchmark::State& s) { readOnce(s, file); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("photo/" + std::string(kind) + "_to_pictures").c_str(),
                                     [file](benchmark::State& s) { toPictures(s, file); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("photo/write_five_files", writeFiles)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();
    for (const char* kind : {"jpg", "png"}) {
        const auto a = recorder.seconds.find("photo/" + std::string(kind) + "_to_pictures/real_time");
        const auto b = recorder.seconds.find("photo/read_" + std::string(kind) + "_once/real_time");
        if (a != recorder.seconds.end() && b != recorder.seconds.end() && b->second > 0)
            std::cout << "ratio " << kind << "_to_pictures_vs_read_once " << std::fixed
                      << std::setprecision(1) << a->second / b->second << "\nmilliseconds " << kind
                      << "_to_pictures " << std::setprecision(1) << a->second << std::endl;
    }
    platform::fs::setRoots("", "");
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
