// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Every test process gets a user directory of its own: the program, in process or started as a child,
// falls back to $XDG_DATA_HOME/wirowanki, and that must never be the real one in the developer's home.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

class PrivateUserDir : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/wv-xdg-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (!made) throw std::runtime_error("mkdtemp");
        dir_ = made;
        ::setenv("XDG_DATA_HOME", dir_.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

private:
    std::string dir_;
};

[[maybe_unused]] ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new PrivateUserDir);

} // namespace
