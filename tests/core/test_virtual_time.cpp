// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The core pieces on the running event loop, in virtual time.
#include "CoreTestSupport.hpp"
#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/Speech.hpp"
#include "core/StatisticsFile.hpp"
#include "platform/loop/Clock.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"
#include "tests/support/TestDriver.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <regex>

using platform::testing::Driver;

namespace {

// A window that reports every key as user activity, like the game windows: 'n' starts a new game,
// Esc ends it and saves it. Other keys run the test's own action.
class GameForm : public platform::Form {
public:
    GameForm(StatisticsFile& stat, GameSettings& settings, std::vector<bool>& saved,
             std::function<void(int)> other)
        : Form("Gra", platform::Rect::fromSize(0, 0, 200, 100)), stat_(stat), settings_(settings),
          saved_(saved), other_(std::move(other)) {}

protected:
    void keyPressEvent(int code) override {
        stat_.activity();
        if (code == 'n')
            stat_.start(kGameMemory, settings_);
        else if (code == 27) {
            stat_.finish();
            saved_.push_back(stat_.save(1));
        } else if (other_)
            other_(code);
    }

private:
    StatisticsFile& stat_;
    GameSettings& settings_;
    std::vector<bool>& saved_;
    std::function<void(int)> other_;
};

class OnTheLoop : public ::testing::Test {
protected:
    void run(std::function<void(int)> other = {}) {
        driver = std::make_unique<Driver>([this, other] {
            StatisticsFile s(1);
            stat = &s;
            GameForm form(s, settings, saved, other);
            form.show();
            platform::app().run();
            stat = nullptr;
        });
    }
    std::uint64_t fileSize() const { return std::filesystem::file_size(roots.user() / "prgst1.stt"); }

    coretest::TempRoots roots;
    GameSettings settings{"Memory"};
    std::vector<bool> saved;
    StatisticsFile* stat = nullptr;
    std::unique_ptr<Driver> driver;
};

} // namespace

TEST_F(OnTheLoop, aGameEnded130SecondsAfterTheLastActionIsNotRecorded) {
    run();
    driver->key('n');
    driver->wait(20'000);
    driver->key('x');
    driver->wait(130'000);
    driver->key(27);
    EXPECT_EQ(saved, (std::vector<bool>{false}));
    EXPECT_EQ(fileSize(), 20u);
    EXPECT_FALSE(stat->active());
}

TEST_F(OnTheLoop, theIdleLimitIsTwoMinutesToTheHalfSecond) {
    // Either side of 120 s by half a second: the limit is exact, not merely "between 110 and 130".
    for (const auto& [silenceMs, expectSaved] : {std::pair{119'500, true}, std::pair{120'500, false}}) {
        saved.clear();
        run();
        driver->key('n');
        driver->key('x');
        driver->wait(silenceMs);
        driver->key(27);
        EXPECT_EQ(saved, (std::vector<bool>{expectSaved})) << silenceMs;
        EXPECT_EQ(fileSize(), expectSaved ? 64u : 20u) << silenceMs;
        driver.reset();
        std::filesystem::remove(roots.user() / "prgst1.stt");
    }
}

TEST_F(OnTheLoop, aGameEnded110SecondsAfterTheLastActionIsRecorded) {
    run();
    driver->key('n');
    driver->wait(100'000);
    driver->key('x'); // just in time: the limit starts again
    driver->wait(110'000);
    driver->key(27);
    EXPECT_EQ(saved, (std::vector<bool>{true}));
    EXPECT_EQ(fileSize(), 64u);
    EXPECT_EQ(stat->timeSeconds(), 210);

    // The idle timer keeps running after the end: saving again later writes nothing.
    driver->wait(121'000);
    EXPECT_FALSE(stat->active());
    driver->key(27);
    EXPECT_EQ(saved, (std::vector<bool>{true, false}));
    EXPECT_EQ(fileSize(), 64u);
}

TEST_F(OnTheLoop, aGameOf61Point9SecondsIsStoredAs61) {
    run();
    driver->key('n');
    driver->wait(61'900);
    driver->key(27);
    ASSERT_EQ(saved, (std::vector<bool>{true}));
    EXPECT_EQ(stat->timeSeconds(), 61);
    EXPECT_EQ(stat->timeText(), "1 min 1 s");
    const auto bytes = coretest::TempRoots::read(roots.user() / "prgst1.stt");
    ASSERT_EQ(bytes.size(), 64u);
    EXPECT_EQ(bytes[20 + 26], 61);
    EXPECT_EQ(bytes[20 + 27], 0);
}

TEST_F(OnTheLoop, aFatalErrorShowsItsTextUnderTheProgramsErrorTitle) {
    run([](int code) {
        if (code == '1') FatalError(1).showError(nullptr);
        if (code == '9') FatalError(99, "Coś poszło nie tak").showError(nullptr);
        if (code == '7') FatalError(7).showError(nullptr);
    });
    driver->key('1');
    driver->key('9');
    driver->key('7');
    const std::string title = "message-box Wirowanki Cz.I Demo - Błąd | ";
    EXPECT_TRUE(driver->logged(title + "          Brak zasobów !\\n\\nProszę przeinstalować program."));
    EXPECT_TRUE(driver->logged(title + "Coś poszło nie tak"));
    EXPECT_TRUE(driver->logged(title));
}

namespace {

// A tiny valid PCM WAV: 16-bit mono, 22 050 Hz, 20 ms of silence.
std::string wav() {
    std::string d;
    const auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            d += char((v >> (8 * i)) & 0xFF);
    };
    const auto u16 = [&](std::uint16_t v) {
        d += char(v & 0xFF);
        d += char(v >> 8);
    };
    const std::uint32_t data = 441 * 2;
    d += "RIFF";
    u32(36 + data);
    d += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(22050);
    u32(44100);
    u16(2);
    u16(16);
    d += "data";
    u32(data);
    d += std::string(data, '\0');
    return d;
}

// Numbers of the praise sounds the log says were played, by letter ('g' or 'b').
std::map<int, int> played(const std::vector<std::string>& log, char letter) {
    std::map<int, int> counts;
    const std::regex line(std::string("sound Data\\\\Intf\\\\Smd\\\\") + letter + "([0-9][0-9])\\.pw");
    std::smatch m;
    for (const std::string& l : log)
        if (std::regex_match(l, m, line)) ++counts[std::stoi(m[1])];
    return counts;
}

} // namespace

TEST_F(OnTheLoop, praiseAndEncouragementStayWithinTheirNumbersAndPauseHalfASecond) {
    for (int i = 0; i < 10; ++i)
        for (char c : {'g', 'b'})
            coretest::TempRoots::write(
                roots.program() / "Data/Intf/Smd" / (c + ("0" + std::to_string(i)) + ".pw"), wav());
    std::vector<std::int64_t> durations;
    std::vector<bool> results;
    const auto many = [&](int kind) {
        for (int i = 0; i < 160; ++i) {
            const std::int64_t t0 = platform::monotonicMs();
            results.push_back(playPraise(kind));
            durations.push_back(platform::monotonicMs() - t0);
        }
    };
    run([&](int code) {
        if (code == '0') many(kPraise);
        if (code == '1') many(kEncouragement);
        if (code == '3') many(kShortPraise);
    });

    driver->key('0');
    auto counts = played(driver->takeLog(), 'g');
    EXPECT_EQ(counts.size(), 8u);
    EXPECT_EQ(counts.begin()->first, 0);
    EXPECT_EQ(counts.rbegin()->first, 7) << "never g08 or higher";

    driver->key('1');
    auto log = driver->takeLog();
    counts = played(log, 'b');
    EXPECT_EQ(counts.size(), 5u);
    EXPECT_EQ(counts.rbegin()->first, 4) << "never b05 or higher";
    EXPECT_TRUE(played(log, 'g').empty());

    driver->key('3');
    counts = played(driver->takeLog(), 'g');
    EXPECT_EQ(counts.size(), 5u);
    EXPECT_EQ(counts.rbegin()->first, 4);

    ASSERT_EQ(results.size(), 3 * 160u);
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_TRUE(results[i]);
        // The sound's 20 ms, then the 500 ms pause.
        EXPECT_GE(durations[i], 520) << i;
    }
}

TEST_F(OnTheLoop, aWordIsSpokenFromItsSoundFile) {
    coretest::TempRoots::write(roots.program() / "Data/Smd/szachy.pw", wav());
    std::vector<bool> results;
    run([&](int code) {
        if (code == 's') {
            results.push_back(playWord("szachy"));
            results.push_back(playWord("szopa"));
        }
    });
    driver->key('s');
    EXPECT_EQ(results, (std::vector<bool>{true, false}));
    EXPECT_TRUE(driver->logged("sound Data\\Smd\\szachy.pw"));
    EXPECT_FALSE(driver->logged("sound Data\\Smd\\szopa.pw"));
}
