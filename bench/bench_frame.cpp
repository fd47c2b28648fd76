// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A full redraw of a game window (background onto the composition canvas, composition onto the window's
// backing store, both 1024 x 768, 24-bit) against one memcpy of such a frame, in the same run.
#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Canvas.hpp"

#include <benchmark/benchmark.h>

#include <cstring>
#include <iomanip>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kW = 1024, kH = 768;

platform::Bitmap picture() {
    platform::Bitmap b(kW, kH);
    for (int y = 0; y < kH; ++y) {
        std::uint8_t* row = b.scanline(y);
        for (int x = 0; x < kW * 3; ++x)
            row[x] = std::uint8_t(x * 7 + y * 3);
    }
    return b;
}

void fullRedraw(benchmark::State& state) {
    platform::Bitmap background = picture(), composition(kW, kH), window(kW, kH);
    const platform::Rect all{0, 0, kW, kH};
    for (auto _ : state) {
        composition.canvas().copyRect(all, background.canvas(), all);
        window.canvas().copyRect(all, composition.canvas(), all);
        benchmark::DoNotOptimize(window.data());
        benchmark::ClobberMemory();
    }
}

void oneMemcpy(benchmark::State& state) {
    const platform::Bitmap source = picture();
    std::vector<std::uint8_t> target(source.byteSize());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.byteSize());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

// Keeps each benchmark's CPU time per iteration so the ratio comes from this run.
class Recorder : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.iterations > 0) seconds[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("frame/full_redraw", fullRedraw)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("frame/memcpy", oneMemcpy)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();
    const auto a = recorder.seconds.find("frame/full_redraw"), b = recorder.seconds.find("frame/memcpy");
    if (a != recorder.seconds.end() && b != recorder.seconds.end() && b->second > 0)
        std::cout << "ratio full_redraw_vs_memcpy " << std::fixed << std::setprecision(3)
                  << a->second / b->second << std::endl;
    return 0;
}
