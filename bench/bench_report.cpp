// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The progress report of a statistics file of 100 000 games (read, figures, page and CSV written atomically)
// against reading the same file once, in the same run; and the overview of three children with such a file
// each (their three pages and CSVs, then the overview). Wall-clock time: writing is part of the job.
#include "platform/system/Fs.hpp"
#include "report/Report.hpp"
#include "report/StatisticsReader.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kGameCount = 100'000;

std::string catalogue;

void u16(std::string& s, int v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void u32(std::string& s, int v) {
    u16(s, v & 0xFFFF);
    u16(s, (v >> 16) & 0xFFFF);
}

// Two and a half years of play: about a hundred games a day, every game, sound and position mixed.
void prepare() {
    char pattern[] = "/tmp/wv-bench-report-XXXXXX";
    catalogue = ::mkdtemp(pattern) ? pattern : "/tmp";
    platform::fs::setRoots(catalogue, catalogue);
    std::string file;
    u32(file, 1);
    for (int v : {2024, 1, 1, 1, 8, 0, 0, 0})
        u16(file, v);
    const std::int64_t start = report::daysSinceEpoch(2024, 1, 1);
    for (int i = 0; i < kGameCount; ++i) {
        int r, m, d;
        report::dateFromDays(start + i / 110, r, m, d);
        u32(file, 1 + i % 4);
        for (int v : {r, m, 0, d, 8 + i % 110 / 10, i % 60, i % 59, 0})
            u16(file, v);
        u16(file, 1 + i % 3), u16(file, 1 << (i % 4)), u16(file, 0x1000 << (i % 3));
        u32(file, 60 + i % 300), u16(file, i % 7 != 0), u32(file, i % 4), u32(file, 3 + i % 8),
            u32(file, i % 5);
    }
    std::ofstream(catalogue + "/prgst1.stt", std::ios::binary) << file;
    for (const char* child : {"1", "2", "3"}) {
        std::filesystem::create_directories(catalogue + "/Dzieci/" + child);
        std::ofstream(catalogue + "/Dzieci/" + child + "/prgst1.stt", std::ios::binary) << file;
    }
}

void readOnce(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::fs::readFile(catalogue + "/prgst1.stt"));
}

void fullReport(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(report::saveReport(catalogue + "/raport.html"));
}

void overview(benchmark::State& state) {
    const std::vector<report::ChildEntry> children{
        {"Ala", "Dzieci\\1"}, {"Ola", "Dzieci\\2"}, {"Kuba", "Dzieci\\3"}};
    for (auto _ : state)
        benchmark::DoNotOptimize(report::saveOverview(catalogue + "/przeglad.html", children));
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
    benchmark::RegisterBenchmark("report/read_file_once", readOnce)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("report/report_100k", fullReport)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("report/overview_3x100k", overview)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();
    const auto a = recorder.seconds.find("report/report_100k/real_time");
    const auto b = recorder.seconds.find("report/read_file_once/real_time");
    if (a != recorder.seconds.end() && b != recorder.seconds.end() && b->second > 0)
        std::cout << "ratio report_100k_vs_read_once " << std::fixed << std::setprecision(1)
                  << a->second / b->second << "\nmilliseconds report_100k " << std::setprecision(1)
                  << a->second << std::endl;
    platform::fs::setRoots("", "");
    std::error_code ec;
    std::filesystem::remove_all(catalogue, ec);
    return 0;
}
