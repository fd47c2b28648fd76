// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/audio/Wav.hpp"

#include "tests/support/TempDir.hpp"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A private temporary directory for one test, removed afterwards.
using ScratchDir = wvtest::TempDir;

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A sound of ms milliseconds in the given format (a quiet ramp, not silence, so nothing special-cases it).
inline std::vector<std::uint8_t> soundFile(const platform::wav::Format& f, int ms) {
    std::vector<std::uint8_t> samples(std::size_t(std::int64_t(f.sampleRate) * ms / 1000) *
                                      std::size_t(f.frameBytes()));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::uint8_t(i & 0x0F);
    return platform::wav::build(f, samples);
}

inline std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16) |
           (std::uint32_t(b[at + 3]) << 24);
}

#include <csignal>
#include <sys/resource.h>

// Makes writes beyond `bytes` fail for the scope (as a full disk would), for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit now = old_;
        now.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &now);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"
#include "tests/support/TestDriver.hpp"

#include <functional>
#include <memory>
#include <string_view>

// A headless program with one window; atStart runs on the loop's thread just before the loop starts. Between
// the driver's verbs the program waits, so the test may call into it.
inline std::unique_ptr<platform::testing::Driver> startProgram(std::function<void()> atStart = {}) {
    return std::make_unique<platform::testing::Driver>([atStart] {
        platform::Form main("Main", platform::Rect::fromSize(0, 0, 200, 100));
        main.show();
        if (atStart) atStart();
        platform::app().run();
    });
}

// The log lines that begin with prefix, in order.
inline std::vector<std::string> logLines(const platform::testing::Driver& d, std::string_view prefix) {
    std::vector<std::string> out;
    for (const auto& line : d.log())
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}
