// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/loop/Clock.hpp"
#include "platform/system/Fs.hpp"
#include "tests/support/TempDir.hpp"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace coretest {

// A program directory and a user directory of their own, removed again afterwards.
class TempRoots {
public:
    TempRoots() {
        std::filesystem::create_directories(program());
        std::filesystem::create_directories(user());
        platform::fs::setRoots(program().string(), user().string());
    }
    ~TempRoots() { platform::fs::setRoots("", ""); }
    TempRoots(const TempRoots&) = delete;
    TempRoots& operator=(const TempRoots&) = delete;

    std::filesystem::path program() const { return dir_.dir() / "prog"; }
    std::filesystem::path user() const { return dir_.dir() / "user"; }

    static void write(const std::filesystem::path& file, const std::string& bytes) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << bytes;
    }
    static void write(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
        write(file, std::string(bytes.begin(), bytes.end()));
    }
    static std::vector<std::uint8_t> read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    wvtest::TempDir dir_{"core"};
};

// A clock the test sets by hand; installed for the lifetime of the object.
class ManualClock : public platform::ClockSource {
public:
    ManualClock() { platform::setClockSource(this); }
    ~ManualClock() override { platform::setClockSource(nullptr); }

    void setUtc(const platform::SystemTime& t) { ticks_ = platform::toTicks(t); }
    void advanceMs(std::int64_t ms) {
        ticks_ += ms * 10'000;
        monotonic_ += ms;
    }
    void setLocalSeconds(std::int64_t s) { local_ = s; }

    std::int64_t monotonicMs() override { return monotonic_; }
    std::int64_t utcTicks() override { return ticks_; }
    std::int64_t localSeconds() override { return local_; }

private:
    std::int64_t ticks_ = 0;
    std::int64_t monotonic_ = 0;
    std::int64_t local_ = 0;
};

inline platform::SystemTime utc(int y, int mo, int d, int h, int mi, int s, int ms) {
    platform::SystemTime t;
    t.year = std::uint16_t(y);
    t.month = std::uint16_t(mo);
    t.day = std::uint16_t(d);
    t.hour = std::uint16_t(h);
    t.minute = std::uint16_t(mi);
    t.second = std::uint16_t(s);
    t.milliseconds = std::uint16_t(ms);
    return t;
}

// Runs body in a child process (as the unprivileged user 65534 when asNobody and the test runs as root,
// so permissions apply) and returns what it reported: empty when every check in it held, else the first
// failure. Limits and privileges given up there never reach the test process.
inline std::string inChild(bool asNobody, const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    const pid_t pid = ::fork();
    if (pid < 0) return "fork failed";
    if (pid == 0) {
        ::close(fds[0]);
        std::string out;
        if (asNobody && ::geteuid() == 0 &&
            (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0))
            out = "cannot drop privileges";
        if (out.empty()) {
            try {
                out = body();
            } catch (const std::exception& e) {
                out = std::string("exception: ") + e.what();
            }
        }
        [[maybe_unused]] const auto w = ::write(fds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string got;
    char buf[512];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        got.append(buf, std::size_t(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status)) return "child died: " + got;
    return got;
}

} // namespace coretest
