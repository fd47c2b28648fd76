// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Every test process gets a user directory of its own: the program, in process or started as a child,
// falls back to $XDG_DATA_HOME/wirowanki, and that must never be the real one in the developer's home.
#include "tests/support/TempDir.hpp"

#include <gtest/gtest.h>
#include <memory>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

class PrivateUserDir : public ::testing::Environment {
public:
    void SetUp() override {
        dir_ = std::make_unique<wvtest::TempDir>("xdg");
        ::setenv("XDG_DATA_HOME", dir_->path().c_str(), 1);
    }
    void TearDown() override { dir_.reset(); }

private:
    std::unique_ptr<wvtest::TempDir> dir_;
};

[[maybe_unused]] ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new PrivateUserDir);

} // namespace
