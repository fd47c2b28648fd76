// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// One 25 ms tick of the falling-pictures game (the motion steps, the window's repaint of the moved
// pictures and the composition of the screen on the headless backend) at each level in both layouts,
// against the 25 ms the tick has. Prints "ratio falling_WxH_levelN VALUE" = CPU time of one tick / 25 ms.
//
// The shipped ten words fill at most ten places, so level 3 runs the ten-target game at three steps per
// tick, as the game's own tests do.
#include "core/GameSettings.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "games/falling/FallingWindow.hpp"
#include "platform/backends/HeadlessBackend.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "words/Catalogue.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double kTickSeconds = 0.025;

class NoInput : public platform::InputSource {
public:
    bool next(platform::Command&) override { return false; }
};

// Black full-screen window under the game, as the main menu would be.
class Background : public platform::Form {
public:
    Background() : Form("Tlo") {
        const platform::Size s = platform::app().screenSize();
        setBounds(0, 0, s.width, s.height);
    }

protected:
    void paintEvent() override {
        canvas().setBrushColor(platform::kBlack);
        canvas().fillRect(clientRect());
    }
};

void tick(benchmark::State& state, int w, int h, int level) {
    platform::Options o;
    o.headless = true;
    o.window = platform::Size{w, h};
    platform::initialize(o, std::make_unique<platform::HeadlessBackend>(platform::Size{w, h},
                                                                        std::make_unique<NoInput>(),
                                                                        INT64_MAX, [](std::string_view) {}));
    auto& backend = static_cast<platform::HeadlessBackend&>(platform::app().backend());
    {
        ProgramContext context;
        context.layout.init(w, h);
        Catalogue catalogue;
        context.catalogue = &catalogue;
        StatisticsFile stat(1);
        context.statistics = &stat;
        Background background;
        background.show();
        ProgramWindows windows(context);
        windows.create<ResultsWindow>(context);
        context.settings.falling.level = std::int16_t(std::min(level, 2));
        context.settings.falling.sounds = level == 1 ? kSoundSz : kSoundSz | kSoundS;
        context.settings.falling.positions = kPositionNaglos;
        FallingWindow& game = *windows.createGame<FallingWindow>(kGameFalling, windows);
        game.show();
        context.settings.falling.level = std::int16_t(level);
        // Let the pictures come down into the window first.
        for (int k = 0; k < 200; ++k) {
            backend.clock().advance(25);
            platform::app().processMessages();
        }
        if (!game.game()) state.SkipWithError("no game started");
        for (auto _ : state) {
            backend.clock().advance(25);
            platform::app().processMessages();
        }
        state.counters["pictures"] = game.game() ? game.game()->pictureCount() : 0;
        game.hide();
    }
    platform::shutdown();
}

class Recorder : public benchmark::ConsoleReporter {
public:
    Recorder() : benchmark::ConsoleReporter(OO_Tabular) {}
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
    // Data and Resource are linked beside the program; statistics would go to a directory of our own.
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    std::string user = (std::filesystem::temp_directory_path() / "wv-bench-XXXXXX").string();
    if (!::mkdtemp(user.data())) return 1;
    platform::fs::setRoots(exe.string(), user);

    std::vector<std::string> names;
    for (auto [w, h] : {std::pair{800, 600}, std::pair{1024, 768}})
        for (int level = 1; level <= 3; ++level) {
            const std::string name =
                "falling_" + std::to_string(w) + "x" + std::to_string(h) + "_level" + std::to_string(level);
            names.push_back(name);
            benchmark::RegisterBenchmark(name.c_str(), tick, w, h, level)->Unit(benchmark::kMicrosecond);
        }
    benchmark::Initialize(&argc, argv);
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();
    for (const std::string& n : names)
        if (auto it = recorder.seconds.find(n); it != recorder.seconds.end())
            std::cout << "ratio " << n << " " << std::fixed << std::setprecision(4)
                      << it->second / kTickSeconds << std::endl;
    std::error_code ec;
    std::filesystem::remove_all(user, ec);
    return 0;
}
