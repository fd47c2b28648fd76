// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio_test_util.hpp"

#include "platform/system/OpenUrl.hpp"
#include "platform/windows/Dialogs.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using namespace platform;

TEST(OpenUrl, HeadlessRunsLogTheAddressAndStartNothing) {
    const std::string mail =
        "mailto:biuro@example.org?subject=Wiadomosc z Wirowanki Cz.I Demo (Wersja 1.7 Demonstracyjna)";
    std::vector<bool> results;
    auto program = startProgram([&] {
        results.push_back(openUrl("https://example.org/wirowanki"));
        results.push_back(openUrl(mail));
        // Addresses an opener would misread are refused.
        results.push_back(openUrl(""));
        results.push_back(openUrl("--help"));
        results.push_back(openUrl("https://example.org/\nrm -rf ~"));
    });
    EXPECT_EQ(results, (std::vector<bool>{true, true, false, false, false}));
    EXPECT_EQ(logLines(*program, "open-url"),
              (std::vector<std::string>{"open-url https://example.org/wirowanki", "open-url " + mail}));
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

namespace {

// Puts a directory first on PATH for the scope.
class PathPrefix {
public:
    explicit PathPrefix(const std::string& dir, bool only = false) {
        const char* old = std::getenv("PATH");
        old_ = old ? old : "";
        ::setenv("PATH", only ? dir.c_str() : (dir + ":" + old_).c_str(), 1);
    }
    ~PathPrefix() { ::setenv("PATH", old_.c_str(), 1); }

private:
    std::string old_;
};

} // namespace

TEST(OpenUrl, TheDesktopOpenerGetsTheAddressAsOneArgumentAndIsReaped) {
    ScratchDir dir;
    const std::string out = dir.file("args");
    // The opener records its arguments, one per line; a shell in between would have split or expanded them.
    const std::string opener = dir.file("xdg-open");
    const std::string script =
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + out + "'; done\n";
    writeBytes(opener, std::vector<std::uint8_t>(script.begin(), script.end()));
    ::chmod(opener.c_str(), 0755);
    PathPrefix path(dir.path());

    const std::string mail = "mailto:biuro@example.org?subject=Wiadomosc z Wirowanki; echo $HOME `id`";
    ASSERT_TRUE(openUrl(mail));
    // The opener prints its one argument in one go; its end is the line's end.
    std::vector<std::uint8_t> args;
    for (int i = 0; i < 2000 && (args.empty() || args.back() != '\n'); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (std::filesystem::exists(out)) args = readBytes(out);
    }
    // Until the opener has ended (looked at without collecting it: that is the program's job).
    siginfo_t ended{};
    for (int i = 0; i < 2000 && ended.si_pid == 0; ++i) {
        ::waitid(P_ALL, 0, &ended, WEXITED | WNOHANG | WNOWAIT);
        if (ended.si_pid == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(std::string(args.begin(), args.end()), mail + "\n");

    // The finished opener is collected (here by the next attempt, which finds no opener at all): no child,
    // not even a zombie, remains.
    {
        PathPrefix nothing(dir.file("empty"), true);
        EXPECT_FALSE(openUrl("https://example.org/"));
    }
    int status = 0;
    errno = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(OpenUrl, WithoutAnOpenerNothingStarts) {
    ScratchDir empty;
    PathPrefix path(empty.path(), true);
    EXPECT_FALSE(openUrl("https://example.org/"));
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
}

TEST(OpenUrl, AnOpenerThatEndsWithAnErrorIsReportedOnceAndASuccessfulOneNot) {
    ScratchDir dir;
    const struct {
        const char* ending;
        int failures;
    } cases[] = {{"exit 0", 0}, {"exit 3", 1}, {"kill -9 $$", 1}};
    for (const auto& c : cases) {
        // Opener, done marker and the shell's end: the marker is written just before the opener ends.
        const std::string opener = dir.file("xdg-open"), done = dir.file("done");
        std::filesystem::remove(done);
        const std::string script = "#!/bin/sh\ntouch '" + done + "'\n" + c.ending + "\n";
        writeBytes(opener, std::vector<std::uint8_t>(script.begin(), script.end()));
        ::chmod(opener.c_str(), 0755);
        int failures = 0;
        {
            PathPrefix path(dir.path());
            ASSERT_TRUE(openUrl("https://example.org/", [&] { ++failures; }));
        }
        // Until the opener has ended (looked at without collecting it: that is the program's job).
        siginfo_t ended{};
        for (int i = 0; i < 2000 && ended.si_pid == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            ::waitid(P_ALL, 0, &ended, WEXITED | WNOHANG | WNOWAIT);
        }
        // The next attempt collects the finished opener (and finds no opener of its own).
        PathPrefix nothing(dir.file("empty"), true);
        EXPECT_FALSE(openUrl("https://example.org/"));
        EXPECT_FALSE(openUrl("https://example.org/"));
        EXPECT_EQ(failures, c.failures) << c.ending;
    }
}
