// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One fixture for the four game windows: each played on the headless backend with the shipped data set,
// with the program's windows and context as start-up makes them, shown modally over a background window.
#include "core/GameSettings.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/backends/HeadlessBackend.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"
#include "tests/support/RunningProgram.hpp"
#include "tests/support/TempDir.hpp"
#include "tests/support/TestDriver.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "words/Catalogue.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gametest {

// A user directory of its own (the statistics file lands there); the program directory is the source
// tree with the shipped Data and Resource, unless a test gives its own.
class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::filesystem::create_directories(userDir());
        platform::fs::setRoots(WV_SOURCE_DIR, userDir().string());
    }
    ~TemporaryDirectory() { platform::fs::setRoots("", ""); }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    std::filesystem::path base() const { return dir_.dir(); }
    // Where a screenshot for looking at goes: only when asked (WV_SCREENSHOT_DIR names a directory), and
    // then there; otherwise nowhere (empty).
    static std::string screenshot(const std::string& name) {
        const char* catalogue = std::getenv("WV_SCREENSHOT_DIR");
        if (!catalogue || !*catalogue) return {};
        std::filesystem::create_directories(catalogue);
        return (std::filesystem::path(catalogue) / name).string();
    }
    std::filesystem::path userDir() const { return base() / "user"; }

private:
    wvtest::TempDir dir_{"memory"};
};

// One 44-byte record of the statistics file.
struct ParsedRecord {
    std::int32_t gameId, timeSeconds, hints, correct, wrong;
    std::int16_t level, sounds, position, result;
};

inline std::int32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::int32_t(std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 |
                        std::uint32_t(b[at + 2]) << 16 | std::uint32_t(b[at + 3]) << 24);
}
inline std::int16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::int16_t(b[at] | b[at + 1] << 8);
}

// A black full-screen window below the game, as the main menu would be.
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

// A game window shown modally over a background, on the shipped data, with the program-wide objects as
// start-up makes them. prepare fills the game's settings record and filters the catalogue, as the main
// menu does before it opens the window.
template <class WindowCase> class GameInWindow : public ::testing::Test {
protected:
    void TearDown() override { d.reset(); }

    enum class Filter { None, BySettings, WithContrast };
    // The game's settings as the main menu leaves them, and the catalogue filtered as the menu filters it
    // for that game (the completion game adds the contrast sounds; the falling game filters itself).
    void launchGame(platform::Size screen, int number, int level, std::uint16_t sounds,
                    std::uint16_t positions, Filter filter) {
        launchWindow(screen, number, [=](Catalogue& wordCatalogue) {
            GameSettings& s = *wvtest::context().settings.game(number);
            s.level = std::int16_t(level);
            s.sounds = sounds;
            s.positions = positions;
            GameSettings wordFilter = s;
            if (filter == Filter::WithContrast) wordFilter.addContrast();
            if (filter != Filter::None) wordCatalogue.filter(wordFilter);
        });
    }

    // The game's window under game number gameNumber, with the results window, as start-up makes them.
    void launchWindow(platform::Size screen, int gameNumber, std::function<void(Catalogue&)> prepare) {
        d = std::make_unique<platform::testing::Driver>(
            [this, gameNumber, prepare] {
                const platform::Size s = platform::app().screenSize();
                ProgramContext context;
                context.layout.init(s.width, s.height);
                Catalogue wordCatalogue;
                context.catalogue = &wordCatalogue;
                StatisticsFile stat(1);
                context.statistics = &stat;
                Background background;
                background.show();
                {
                    ProgramWindows windows(context);
                    wvtest::running() = &windows;
                    window = windows.createGame<WindowCase>(gameNumber, windows);
                    results = windows.create<ResultsWindow>(context);
                    prepare(wordCatalogue);
                    windowResult = window->showModal();
                    platform::app().run();
                    wvtest::running() = nullptr;
                    results = nullptr;
                    window = nullptr;
                }
            },
            platform::testing::DriverOptions{.screen = screen, .args = {}});
    }

    // A game button by name, clicked where it stands even while hidden (when it must ignore the click).
    void clickButton(std::string_view name) {
        for (const platform::Control* c : window->controls())
            if (c->name == name) {
                const platform::Rect b = c->bounds();
                d->click(window->left() + b.left + b.width() / 2, window->top() + b.top + b.height() / 2);
                return;
            }
        ADD_FAILURE() << "no button " << name;
    }
    void clickHelp() { clickButton("pomoc"); }
    void clickStop() { clickButton("stop"); }
    void clickNext() { clickButton("nast"); }
    void clickPrevious() { clickButton("pop"); }
    void clickResultsStart() { d->click("graj"); }
    void clickResultsStop() { d->click("koniec"); }

    std::vector<std::uint8_t> statsFile() {
        std::ifstream in(catalogue.userDir() / "prgst1.stt", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The records after the file's 20-byte header.
    std::vector<ParsedRecord> records() {
        const auto b = statsFile();
        std::vector<ParsedRecord> result;
        for (std::size_t at = 20; at + 44 <= b.size(); at += 44)
            result.push_back({le32(b, at), le32(b, at + 26), le32(b, at + 32), le32(b, at + 36),
                              le32(b, at + 40), le16(b, at + 20), le16(b, at + 22), le16(b, at + 24),
                              le16(b, at + 30)});
        return result;
    }

    void screenshot(const std::string& name) {
        if (const std::string path = TemporaryDirectory::screenshot(name); !path.empty()) d->screenshot(path);
    }

    TemporaryDirectory catalogue;
    std::unique_ptr<platform::testing::Driver> d;
    WindowCase* window = nullptr;
    ResultsWindow* results = nullptr;
    int windowResult = -1;
};

} // namespace gametest
