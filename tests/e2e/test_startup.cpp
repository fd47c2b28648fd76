// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "../windows/program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/GameSettings.hpp"
#include "core/ScreenLayout.hpp"
#include "platform/system/SingleInstance.hpp"
#include "windows/MainMenu.hpp"
#include "windows/SplashWindow.hpp"

#include <chrono>
#include <cstdio>
#include <sys/wait.h>
#include <thread>

using namespace wvtest;
using platform::testing::Driver;

namespace {

const char* kErrorBoxTitle = "Wirowanki Cz.I Demo - Błąd";

std::size_t indexOf(const std::vector<std::string>& log, const std::string& line) {
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log[i] == line) return i;
    return std::string::npos;
}

} // namespace

TEST(StartUp, SplashFirstThenTheMainMenuOnTheTabFromTheConfigurationAndTheSplashGoesAfterTwoSeconds) {
    for (platform::Size screen : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        Installation inst(Installation::Data::Linked);
        inst.writeIni(
            "[DaneProgramu]\r\nZakladka=3\r\n[Uzupelnianie]\r\nGloski=1\r\nPoziom=2\r\nPozycja=4096\r\n");
        Outcome out;
        auto d = startProgram(out, screen);
        const auto& log = d->log();
        const std::size_t splash = indexOf(log, "form-shown Wirowanki Cz.I Demo Splash");
        const std::size_t menu = indexOf(log, "form-shown Wesołe Wirowanki Cz.I Demo");
        ASSERT_NE(splash, std::string::npos);
        ASSERT_NE(menu, std::string::npos);
        EXPECT_LT(splash, menu);
        EXPECT_EQ(wvtest::context().settings.tab, 3);
        EXPECT_EQ(platform::app().title(), "Wirowanki Cz.I Demo");
        EXPECT_EQ(wvtest::context().layout.mode(), screen.width == 800 ? kMode800 : kMode1024);
        ASSERT_NE(wvtest::mainMenu(), nullptr);
        EXPECT_EQ(static_cast<platform::Form*>(wvtest::mainMenu())->bounds(),
                  (platform::Rect{0, 0, screen.width, screen.height}));

        d->wait(1999);
        EXPECT_NE(wvtest::splash(), nullptr);
        EXPECT_FALSE(d->logged("form-hidden Wirowanki Cz.I Demo Splash"));
        d->wait(1);
        EXPECT_EQ(wvtest::splash(), nullptr);
        EXPECT_TRUE(d->logged("form-hidden Wirowanki Cz.I Demo Splash"));

        d->key(27);
        EXPECT_TRUE(d->finished());
        EXPECT_TRUE(out.returned);
        EXPECT_EQ(out.code, 0);
        EXPECT_TRUE(d->logged("form-hidden Wesołe Wirowanki Cz.I Demo"));
        // The statistics file went to the first child's folder with its 20-byte header.
        EXPECT_EQ(stdfs::file_size(inst.child() / "prgst1.stt"), 20u);
        // The run has let go of its windows and shared objects.
        EXPECT_EQ(wvtest::running(), nullptr);
    }
}

TEST(StartUp, ATabOfFiveInTheConfigurationStartsOnTheFirstTab) {
    Installation inst(Installation::Data::Linked);
    inst.writeIni("[DaneProgramu]\r\nZakladka=5\r\n");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    EXPECT_EQ(wvtest::context().settings.tab, 1);
}

TEST(StartUp, TheStartDirectoryIsRestoredAndTheProgramDirectoryIsCurrentMeanwhile) {
    Installation inst;
    const std::string before = platform::fs::currentDir();
    Outcome out;
    auto d = startProgram(out, {800, 600});
    EXPECT_EQ(stdfs::path(platform::fs::currentDir()), stdfs::canonical(inst.prog()));
    d->key(27);
    EXPECT_EQ(platform::fs::currentDir(), before);
}

TEST(StartUp, ExitButtonEndsTheProgramWithCodeZero) {
    for (platform::Size screen : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        Installation inst;
        Outcome out;
        auto d = startProgram(out, screen);
        d->wait(2500);
        // "wyjdz" stands at (W/2 + X0 - 55, H + Y0 - H/7).
        const int x = screen.width == 800 ? 400 - 55 : 512 - 55;
        const int y = screen.width == 800 ? 600 - 85 : 768 - 109;
        d->click(x + 20, y + 20);
        EXPECT_TRUE(d->finished());
        EXPECT_TRUE(out.returned);
        EXPECT_EQ(out.code, 0);
        EXPECT_EQ(d->error(), "");
    }
}

TEST(StartUp, AScreenBelow800x600EndsWithTheResolutionMessageAfterTheSplash) {
    Installation inst;
    const std::string before = platform::fs::currentDir();
    Outcome out;
    auto d = startProgram(out, {799, 600});
    EXPECT_TRUE(d->finished());
    EXPECT_EQ(out.code, 1) << "a scripted run tells the error in its exit code";
    const auto& log = d->log();
    const std::size_t splash = indexOf(log, "form-shown Wirowanki Cz.I Demo Splash");
    const std::size_t box =
        indexOf(log, std::string("message-box ") + kErrorBoxTitle +
                         " | Proszę zmienić rozdzielczość ekranu na 800 x 600 lub wyższą.");
    ASSERT_NE(splash, std::string::npos);
    ASSERT_NE(box, std::string::npos);
    EXPECT_LT(splash, box);
    EXPECT_FALSE(d->logged("form-shown Wesołe Wirowanki Cz.I Demo"));
    EXPECT_FALSE(stdfs::exists(inst.user() / "prgst1.stt"));
    EXPECT_EQ(platform::fs::currentDir(), before);
}

TEST(StartUp, AMissingButtonPictureIsReportedAsMissingResourcesAndTheProgramEndsCleanly) {
    Installation inst(Installation::Data::Linked);
    inst.unlink("Resource");
    stdfs::remove(inst.prog() / "Resource" / "start_D.bmp");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    EXPECT_TRUE(d->finished());
    EXPECT_TRUE(out.returned);
    EXPECT_EQ(out.code, 1) << "a scripted run tells the error in its exit code";
    EXPECT_EQ(d->error(), "");
    EXPECT_TRUE(d->logged(std::string("message-box ") + kErrorBoxTitle +
                          " |           Brak zasobów !\\n\\nProszę przeinstalować program."));
    EXPECT_FALSE(d->logged("form-shown Wesołe Wirowanki Cz.I Demo"));
    EXPECT_TRUE(d->logged("form-hidden Wirowanki Cz.I Demo Splash"));
    EXPECT_EQ(wvtest::running(), nullptr);
}

TEST(StartUp, AStatisticsFileThatCannotBeCreatedIsReported) {
    Installation inst;
    // A directory where the file should go: it can neither be created nor opened.
    stdfs::create_directories(inst.child() / "prgst1.stt");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    EXPECT_TRUE(d->finished());
    EXPECT_EQ(out.code, 1) << "a scripted run tells the error in its exit code";
    EXPECT_TRUE(d->logged(std::string("message-box ") + kErrorBoxTitle +
                          " | Plik statystyk nie został poprawnie stworzony."));
    EXPECT_FALSE(d->logged("form-shown Wesołe Wirowanki Cz.I Demo"));
}

TEST(StartUp, UpperCaseZAndDoubleZStartTheProgramNormally) {
    for (const char* arg : {"Z", "zz"}) {
        Installation inst;
        Outcome out;
        auto d = startProgram(out, {800, 600}, {arg});
        EXPECT_TRUE(d->logged("form-shown Wesołe Wirowanki Cz.I Demo")) << arg;
        EXPECT_FALSE(stdfs::exists(inst.user() / "Raport zasobów.txt"));
        d->key(27);
        EXPECT_EQ(out.code, 0);
    }
}

TEST(SingleInstance, ASecondCopyWithoutAnAnsweringFirstOneSaysSoAndEnds) {
    Installation inst;
    platform::SingleInstance first("Wirowanki Cz.I Demo MUTEX");
    ASSERT_TRUE(first.acquire());
    Outcome out;
    auto d = startProgram(out, {800, 600});
    EXPECT_TRUE(d->finished());
    EXPECT_EQ(out.code, 0);
    EXPECT_TRUE(
        d->logged("message-box Wirowanki Cz.I Demo | Aplikacja jest aktualnie uruchomiona.\\n\\nZamknij "
                  "proces aplikajcji lub uruchom ponownie komputer."));
    EXPECT_FALSE(d->logged("form-shown Wirowanki Cz.I Demo Splash"));
}

TEST(SingleInstance, ASecondCopyBringsTheRunningOneToTheFrontAndEnds) {
    const stdfs::path program = stdfs::read_symlink("/proc/self/exe").parent_path() / "wirowanki";
    if (!stdfs::exists(program)) GTEST_SKIP() << "program not built beside the tests";
    Installation inst;
    Outcome out;
    auto d = startProgram(out, {800, 600});
    ASSERT_TRUE(d->logged("form-shown Wesołe Wirowanki Cz.I Demo"));

    const stdfs::path output = inst.base() / "second.out";
    const stdfs::path script = inst.base() / "second.txt";
    std::ofstream(script) << "wait 100\n";
    const std::string cmd = program.string() + " --headless --window 800x600 --script " + script.string() +
                            " > " + output.string();
    int status = -1;
    std::thread second([&] { status = std::system(cmd.c_str()); });
    // The first copy answers from its loop; keep it turning until it has been asked.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!d->logged("raise-main-window") && std::chrono::steady_clock::now() < until) {
        d->wait(250);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    second.join();
    EXPECT_TRUE(d->logged("raise-main-window"));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // The second copy showed nothing at all.
    EXPECT_EQ(readFile(output), "");
    EXPECT_FALSE(d->finished());
    d->key(27);
    EXPECT_EQ(out.code, 0);
}
