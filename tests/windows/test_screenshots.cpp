// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/GameSettings.hpp"
#include "core/StatisticsFile.hpp"
#include "windows/MessageWindow.hpp"
#include "windows/ResultsWindow.hpp"

// Pictures of every screen for a person to look at: set WV_SCREENSHOT_DIR to where they should go.
using namespace wvtest;

namespace {

std::string shotDir() {
    const char* d = std::getenv("WV_SCREENSHOT_DIR");
    return d ? d : "";
}

} // namespace

TEST(Screenshots, SplashMenuOnEveryTabMessageAndResultsInBothModes) {
    const std::string dir = shotDir();
    if (dir.empty()) GTEST_SKIP() << "WV_SCREENSHOT_DIR not set";
    stdfs::create_directories(dir);
    for (platform::Size s : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        const std::string m = std::to_string(s.width);
        const bool small = s.width == 800;
        const int stripX = small ? 551 + 60 : 705 + 60, stripY = small ? 74 : 95;
        const int bands[5] = {small ? 50 : 70, small ? 150 : 200, small ? 235 : 300, small ? 310 : 400,
                              small ? 400 : 500};
        Installation inst;
        Outcome out;
        auto d = startProgram(out, s);
        d->screenshot(dir + "/splash-" + m + ".png");
        d->wait(2000);
        for (int t = 0; t < 5; ++t) {
            d->click(stripX, stripY + bands[t]);
            d->screenshot(dir + "/menu-" + m + "-tab" + std::to_string(t + 1) + ".png");
        }
        d->click(stripX, stripY + bands[1]);
        wvtest::context().settings.memory.level = 3;
        d->click(small ? 455 : 567, small ? 535 : 679);
        d->screenshot(dir + "/message-" + m + ".png");
        d->click((s.width - 420) / 2 + 215, (s.height - 250) / 2 + 180);
        // The results window over the menu, with a finished game's figures.
        wvtest::context().statistics->start(kGameMemory, wvtest::context().settings.memory);
        wvtest::context().statistics->addCorrect();
        wvtest::context().statistics->addCorrect();
        wvtest::context().statistics->addWrong();
        wvtest::context().statistics->finish();
        wvtest::resultsWindow()->show();
        d->wait(10);
        d->screenshot(dir + "/results-" + m + ".png");
        EXPECT_TRUE(stdfs::exists(dir + "/results-" + m + ".png"));
    }
}
