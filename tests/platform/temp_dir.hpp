// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/system/Fs.hpp"
#include "tests/support/TempDir.hpp"

#include <filesystem>
#include <string>

// A fresh directory with "prog" and "user" roots set for the platform layer; removed afterwards.
class TempRoots {
public:
    TempRoots() {
        std::filesystem::create_directories(prog());
        std::filesystem::create_directories(user());
        platform::fs::setRoots(prog(), user());
    }
    ~TempRoots() { platform::fs::setRoots("", ""); }
    TempRoots(const TempRoots&) = delete;
    TempRoots& operator=(const TempRoots&) = delete;

    std::string base() const { return dir_.path(); }
    std::string prog() const { return dir_.path() + "/prog"; }
    std::string user() const { return dir_.path() + "/user"; }

    static void write(const std::string& path, const std::string& bytes) {
        wvtest::TempDir::write(path, bytes);
    }
    static std::string read(const std::string& path) { return wvtest::TempDir::read(path); }

private:
    wvtest::TempDir dir_;
};
